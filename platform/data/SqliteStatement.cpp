#include "SqliteStatement.h"

#include <QSqlQuery>
#include <QSqlResult>
#include <QVariant>
#include <sqlite3.h>

// Qt's SQLite driver uses the system's libsqlite3, the library linked here,
// so its statement handle can be asked directly.
bool SqliteStatementWrites(const QSqlQuery& AQuery) {
    const QSqlResult* Result = AQuery.result();
    const QVariant Handle = Result ? Result->handle() : QVariant();
    if (!Handle.isValid() || Handle.typeName() != QByteArrayView("sqlite3_stmt*"))
        return true;
    auto* Statement = *static_cast<sqlite3_stmt* const*>(Handle.constData());
    return Statement && !sqlite3_stmt_readonly(Statement);
}
