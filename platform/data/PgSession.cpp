#include "PgSession.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>
#include <libpq-fe.h>
#include <memory>

namespace {

// Qt's PostgreSQL driver links the system's libpq, the library linked
// here, so its session handle can be used directly.
PGconn* Session(const QSqlDatabase& ADb) {
    const QSqlDriver* Driver = ADb.driver();
    const QVariant Handle = Driver ? Driver->handle() : QVariant();
    // Qt names the type by the struct behind libpq's typedef.
    const QByteArrayView Type = Handle.isValid() ? Handle.typeName() : "";
    if (Type != QByteArrayView("pg_conn*") && Type != QByteArrayView("PGconn*"))
        return nullptr;
    return *static_cast<PGconn* const*>(Handle.constData());
}

using TPgResult = std::unique_ptr<PGresult, decltype(&PQclear)>;

QString ErrorField(const PGresult* AResult, int AField) {
    const char* Value = PQresultErrorField(AResult, AField);
    return Value ? QString::fromUtf8(Value) : QString();
}

} // namespace

TPgParseVerdict PgParse(const QSqlDatabase& ADb, const QString& ASql) {
    TPgParseVerdict Verdict;
    PGconn* Conn = Session(ADb);
    if (!Conn || PQstatus(Conn) != CONNECTION_OK) {
        Verdict.Error = QStringLiteral("与数据库服务器的连接已断开");
        return Verdict;
    }
    // Qt's driver sets the session's client encoding to UTF-8 and sends
    // statements as UTF-8: the server parses here the bytes it would run.
    const QByteArray Text = ASql.toUtf8();
    const TPgResult Result(PQprepare(Conn, "", Text.constData(), 0, nullptr), &PQclear);
    if (Result && PQresultStatus(Result.get()) == PGRES_COMMAND_OK) {
        Verdict.Parsed = true;
        return Verdict;
    }
    Verdict.Error =
        QString::fromUtf8(Result ? PQresultErrorMessage(Result.get()) : PQerrorMessage(Conn))
            .trimmed();
    // Told by the error's code and the server routine that raised it, not by
    // its wording, which follows the server's language.
    Verdict.Several = Result && ErrorField(Result.get(), PG_DIAG_SQLSTATE) == "42601" &&
                      ErrorField(Result.get(), PG_DIAG_SOURCE_FUNCTION) == "exec_parse_message";
    return Verdict;
}

bool PgSessionLost(const QSqlDatabase& ADb) {
    PGconn* Conn = Session(ADb);
    return Conn && PQstatus(Conn) == CONNECTION_BAD;
}

bool PgSessionIsSuperuser(const QSqlDatabase& ADb) {
    PGconn* Conn = Session(ADb);
    const char* Value = Conn ? PQparameterStatus(Conn, "is_superuser") : nullptr;
    return Value && QByteArrayView(Value) == "on";
}
