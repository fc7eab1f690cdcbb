#include "TADOQuery.h"

#include "DatabaseFailureText.h"
#include "PgSession.h"
#include "PgSingleStatement.h"
#include "SqliteStatement.h"
#include "TADOConnection.h"
#include "platform/Exception.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

TADOQuery::TADOQuery(TComponent* AOwner)
    : TComponent(AOwner) {}

TADOQuery::~TADOQuery() {
    SetConnection(nullptr);
}

void TADOQuery::SetSQLText(const QString& ASQLText) {
    Close();
    FSQLText = ASQLText;
}

void TADOQuery::SetConnection(TADOConnection* AConnection) {
    if (AConnection == FConnection)
        return;
    Close();
    if (FConnection)
        FConnection->RemoveFreeNotification(this);
    FConnection = AConnection;
    if (FConnection)
        FConnection->FreeNotification(this);
}

void TADOQuery::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation == TOperation::opRemove && AComponent == FConnection && FConnection) {
        Close();
        FConnection = nullptr;
    }
}

namespace {

const char* const SessionLostText =
    "与数据库服务器的连接已断开（服务器重启、会话被管理员结束或网络中断）";

// The database's reason for a failure, cause first: read from the
// driver's text, or what is known when it gives none (Qt's driver says
// nothing once it has seen the session end).
EDatabaseError QueryFailed(const TADOConnection& AConnection, const QSqlError& AError) {
    const QString Text = AError.text().trimmed();
    if (!Text.isEmpty())
        return EDatabaseError(QueryFailureText(AConnection.Provider(), Text));
    return EDatabaseError(AConnection.SessionLost()
                              ? QString::fromUtf8(SessionLostText)
                              : QStringLiteral("数据库查询失败，数据库驱动没有给出原因（%1）")
                                    .arg(AConnection.Provider()));
}

EDatabaseError QueryFailed(const TADOConnection& AConnection, const QSqlQuery& AQuery) {
    return QueryFailed(AConnection, AQuery.lastError());
}

QString StatementExcerpt(const QString& ASql) {
    return ASql.simplified().left(200);
}

EDatabaseError SeveralStatements(const QString& ASql) {
    return EDatabaseError(
        QStringLiteral("只读连接一次只执行一条语句，这段文本含有多条语句，未执行：%1")
            .arg(StatementExcerpt(ASql)));
}

// Compiles first and refuses anything that would write, before it runs: the
// file is opened read-only, and this also stops statements that write
// elsewhere (VACUUM INTO a new file). What would change the connection for
// later statements is refused while it compiles (the connection's
// authorizer, TADOConnection). Qt's driver refuses a second statement in
// the text.
void RunOnSqlite(const TADOConnection& AConnection, QSqlQuery& AQuery, const QString& ASql) {
    if (!AQuery.prepare(ASql))
        throw QueryFailed(AConnection, AQuery);
    if (SqliteStatementWrites(AQuery))
        throw EDatabaseError(QStringLiteral("连接是只读的，这条语句会写数据库，未执行：%1")
                                 .arg(StatementExcerpt(ASql)));
    if (!AQuery.exec())
        throw QueryFailed(AConnection, AQuery);
}

void RunControl(const TADOConnection& AConnection, const QSqlDatabase& ADb, const char* ASql) {
    QSqlQuery Control(ADb);
    if (!Control.exec(QString::fromLatin1(ASql)))
        throw QueryFailed(AConnection, Control);
}

// Ends a statement's transaction, and lets go of the session-level advisory
// locks it may have taken, which a rollback keeps.
const char* const EndStatement = "ROLLBACK; SELECT pg_advisory_unlock_all()";

} // namespace

// A PostgreSQL session's read-only default can be switched off by a
// statement (set_config), so each statement runs alone in a transaction of
// its own that is read-only from the start and always rolled back: the
// server refuses every write in it, and a setting changed in it ends with
// it. A text of several statements could end that transaction and go on
// outside it, so it is refused before anything runs: first by reading it
// here, then by the server itself, which parses it as a prepared statement
// (and refuses more than one) before it runs.
void TADOQuery::OpenOnPostgreSql(const QSqlDatabase& ADb) {
    if (!IsPgSingleStatement(FSQLText))
        throw SeveralStatements(FSQLText);
    RunControl(*FConnection, ADb, "START TRANSACTION READ ONLY");
    try {
        const TPgParseVerdict Verdict = PgParse(ADb, FSQLText);
        if (Verdict.Several)
            throw SeveralStatements(FSQLText);
        if (!Verdict.Parsed)
            throw EDatabaseError(QueryFailureText(FConnection->Provider(), Verdict.Error));
        QSqlQuery Query(ADb);
        Query.setForwardOnly(true);
        if (!Query.exec(FSQLText))
            throw QueryFailed(*FConnection, Query);
        ReadResult(Query);
    } catch (...) {
        if (ADb.isOpen())
            QSqlQuery(ADb).exec(QString::fromLatin1(EndStatement));
        throw;
    }
    // Ends the transaction even when the statement ended it already (the
    // server then only warns); a session left in an unknown state is an error.
    RunControl(*FConnection, ADb, EndStatement);
}

// A statement that cannot change anything can run again: when the server
// has ended the session under it (a restart, an administrator), it runs
// once more on a new session.
void TADOQuery::RunOnPostgreSql() {
    try {
        OpenOnPostgreSql(FConnection->Database());
        return;
    } catch (const EDatabaseError&) {
        if (!FConnection->SessionLost())
            throw;
    }
    FConnection->Close();
    try {
        FConnection->Open();
    } catch (const EDatabaseError& Error) {
        throw EDatabaseError(QStringLiteral("%1，重新连接失败：%2")
                                 .arg(QString::fromUtf8(SessionLostText), Error.Message()));
    }
    OpenOnPostgreSql(FConnection->Database());
}

void TADOQuery::Open() {
    if (FActive)
        return;
    if (!FConnection)
        throw EDatabaseError(QStringLiteral("查询没有指定数据库连接（%1）").arg(ClassName()));
    FConnection->Open();

    // No handle on the database is held here: a new session may replace it.
    if (FConnection->Database().driverName() == QLatin1String("QPSQL")) {
        RunOnPostgreSql();
    } else {
        const QSqlDatabase Db = FConnection->Database();
        QSqlQuery Query(Db);
        Query.setForwardOnly(true);
        if (Db.driverName() == QLatin1String("QSQLITE"))
            RunOnSqlite(*FConnection, Query, FSQLText);
        else if (!Query.exec(FSQLText))
            throw QueryFailed(*FConnection, Query);
        ReadResult(Query);
    }
    FActive = true;
    First();
}

void TADOQuery::ReadResult(QSqlQuery& AQuery) {
    if (!AQuery.isSelect())
        throw EDatabaseError(QStringLiteral("语句没有返回结果（这里只执行读取数据的查询）"));
    const QSqlRecord Record = AQuery.record();
    QStringList Names;
    Names.reserve(Record.count());
    for (int I = 0; I < Record.count(); ++I)
        Names << Record.fieldName(I);
    QList<QVariantList> Rows;
    while (AQuery.next()) {
        QVariantList Row;
        Row.reserve(Names.size());
        for (int I = 0; I < Names.size(); ++I)
            Row << AQuery.value(I);
        Rows << std::move(Row);
    }
    if (AQuery.lastError().isValid())
        throw QueryFailed(*FConnection, AQuery);
    FFieldNames = std::move(Names);
    FRows = std::move(Rows);
    FLetGo = 0;
}

void TADOQuery::Close() {
    FActive = false;
    FFieldNames.clear();
    FRows.clear();
    FRecNo = 0;
    FLetGo = 0;
    FEof = true;
    FBof = true;
}

void TADOQuery::First() {
    CheckActive();
    CheckKept(0);
    FRecNo = 0;
    FBof = true;
    FEof = FRows.isEmpty();
}

void TADOQuery::Next() {
    CheckActive();
    FBof = false;
    if (FRecNo + 1 < FRows.size()) {
        if (FForwardOnly) {
            FRows[FRecNo] = QVariantList();
            FLetGo = FRecNo + 1;
        }
        ++FRecNo;
    } else
        FEof = true;
}

void TADOQuery::Prior() {
    CheckActive();
    FEof = false;
    if (FRecNo > 0) {
        CheckKept(FRecNo - 1);
        --FRecNo;
    } else
        FBof = true;
    if (FRows.isEmpty())
        FEof = true;
}

void TADOQuery::Last() {
    CheckActive();
    FRecNo = FRows.isEmpty() ? 0 : static_cast<int>(FRows.size()) - 1;
    FEof = true;
    FBof = FRows.isEmpty();
}

void TADOQuery::SetRecNo(int ARecNo) {
    CheckActive();
    if (ARecNo < 1 || ARecNo > FRows.size())
        throw EDatabaseError(QStringLiteral("查询结果没有第 %1 行").arg(ARecNo));
    CheckKept(ARecNo - 1);
    FRecNo = ARecNo - 1;
    FBof = false;
    FEof = false;
}

void TADOQuery::CheckKept(int ARow) const {
    if (ARow < FLetGo)
        throw EDatabaseError(
            QStringLiteral("查询结果的第 %1 行已经读过并释放（只向前读）").arg(ARow + 1));
}

int TADOQuery::FieldIndex(const QString& AName) const {
    for (int I = 0; I < FFieldNames.size(); ++I) {
        if (FFieldNames[I].compare(AName, Qt::CaseInsensitive) == 0)
            return I;
    }
    return -1;
}

TField TADOQuery::FieldByName(const QString& AName) const {
    CheckActive();
    const int Index = FieldIndex(AName);
    if (Index < 0)
        throw EDatabaseError(QStringLiteral("查询结果中没有字段 %1").arg(AName));
    return Fields(Index);
}

TField TADOQuery::Fields(int AIndex) const {
    CheckActive();
    if (AIndex < 0 || AIndex >= FFieldNames.size())
        throw EDatabaseError(QStringLiteral("查询结果没有第 %1 个字段").arg(AIndex + 1));
    const QVariant Value = FRows.isEmpty() ? QVariant() : FRows[FRecNo].value(AIndex);
    return TField(FFieldNames[AIndex], Value);
}

void TADOQuery::CheckActive() const {
    if (!FActive)
        throw EDatabaseError(QStringLiteral("查询没有打开，不能读取它的结果"));
}
