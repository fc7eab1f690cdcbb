#include "SqliteStatement.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlResult>
#include <QVariant>
#include <sqlite3.h>

namespace {

// SQLite's authorizer: asked for each action of a statement being compiled.
int RefuseConnectionChanges(void*, int AAction, const char*, const char* AValue, const char*,
                            const char*) {
    switch (AAction) {
    case SQLITE_PRAGMA:
        return AValue ? SQLITE_DENY : SQLITE_OK;
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
    case SQLITE_TRANSACTION:
    case SQLITE_SAVEPOINT:
        return SQLITE_DENY;
    default:
        return SQLITE_OK;
    }
}

} // namespace

// Qt's SQLite driver uses the system's libsqlite3, the library linked here,
// so its handles can be used directly.
bool SqliteStatementWrites(const QSqlQuery& AQuery) {
    const QSqlResult* Result = AQuery.result();
    const QVariant Handle = Result ? Result->handle() : QVariant();
    if (!Handle.isValid() || Handle.typeName() != QByteArrayView("sqlite3_stmt*"))
        return true;
    auto* Statement = *static_cast<sqlite3_stmt* const*>(Handle.constData());
    return Statement && !sqlite3_stmt_readonly(Statement);
}

bool SqliteRefuseConnectionChanges(const QSqlDatabase& ADb) {
    const QSqlDriver* Driver = ADb.driver();
    const QVariant Handle = Driver ? Driver->handle() : QVariant();
    if (!Handle.isValid() || Handle.typeName() != QByteArrayView("sqlite3*"))
        return false;
    auto* Connection = *static_cast<sqlite3* const*>(Handle.constData());
    return Connection &&
           sqlite3_set_authorizer(Connection, RefuseConnectionChanges, nullptr) == SQLITE_OK;
}
