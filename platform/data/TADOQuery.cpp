#include "TADOQuery.h"

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

EDatabaseError QueryFailed(const TADOConnection& AConnection, const QSqlQuery& AQuery) {
    return EDatabaseError(QStringLiteral("Query failed on %1: %2")
                              .arg(AConnection.Provider(), AQuery.lastError().text()));
}

QString StatementExcerpt(const QString& ASql) {
    return ASql.simplified().left(200);
}

// Compiles first and refuses anything that would write, before it runs: the
// file is opened read-only, and this also stops statements that write
// elsewhere (VACUUM INTO a new file). Qt's driver refuses a second
// statement in the text.
void RunOnSqlite(const TADOConnection& AConnection, QSqlQuery& AQuery, const QString& ASql) {
    if (!AQuery.prepare(ASql))
        throw QueryFailed(AConnection, AQuery);
    if (SqliteStatementWrites(AQuery))
        throw EDatabaseError(QStringLiteral("The connection is read-only; the statement "
                                            "would write: %1")
                                 .arg(StatementExcerpt(ASql)));
    if (!AQuery.exec())
        throw QueryFailed(AConnection, AQuery);
}

void RunControl(const TADOConnection& AConnection, const QSqlDatabase& ADb, const char* ASql) {
    QSqlQuery Control(ADb);
    if (!Control.exec(QString::fromLatin1(ASql)))
        throw QueryFailed(AConnection, Control);
}

} // namespace

// A PostgreSQL session's read-only default can be switched off by a
// statement (set_config), so each statement runs alone in a transaction of
// its own that is read-only from the start and always rolled back: the
// server refuses every write in it, and a setting changed in it ends with
// it. A text of several statements could end that transaction and go on
// outside it, so it is refused before anything runs.
void TADOQuery::OpenOnPostgreSql(const QSqlDatabase& ADb) {
    if (!IsPgSingleStatement(FSQLText))
        throw EDatabaseError(
            QStringLiteral("只读连接一次只执行一条语句，这段文本含有多条语句，未执行：%1")
                .arg(StatementExcerpt(FSQLText)));
    RunControl(*FConnection, ADb, "START TRANSACTION READ ONLY");
    try {
        QSqlQuery Query(ADb);
        Query.setForwardOnly(true);
        if (!Query.exec(FSQLText))
            throw QueryFailed(*FConnection, Query);
        ReadResult(Query);
    } catch (...) {
        QSqlQuery(ADb).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
    // Ends the transaction even when the statement ended it already (the
    // server then only warns); a session left in an unknown state is an error.
    RunControl(*FConnection, ADb, "ROLLBACK");
}

void TADOQuery::Open() {
    if (FActive)
        return;
    if (!FConnection)
        throw EDatabaseError(QStringLiteral("%1: missing connection").arg(ClassName()));
    FConnection->Open();

    const QSqlDatabase Db = FConnection->Database();
    if (Db.driverName() == QLatin1String("QPSQL")) {
        OpenOnPostgreSql(Db);
    } else {
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
        throw EDatabaseError(QStringLiteral("The statement returned no result set"));
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
        throw EDatabaseError(QStringLiteral("Reading the result failed on %1: %2")
                                 .arg(FConnection->Provider(), AQuery.lastError().text()));
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
        throw EDatabaseError(QStringLiteral("%1: there is no row %2").arg(ClassName()).arg(ARecNo));
    CheckKept(ARecNo - 1);
    FRecNo = ARecNo - 1;
    FBof = false;
    FEof = false;
}

void TADOQuery::CheckKept(int ARow) const {
    if (ARow < FLetGo)
        throw EDatabaseError(
            QStringLiteral("%1: row %2 was let go (forward only)").arg(ClassName()).arg(ARow + 1));
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
        throw EDatabaseError(QStringLiteral("%1: Field '%2' not found").arg(ClassName(), AName));
    return Fields(Index);
}

TField TADOQuery::Fields(int AIndex) const {
    CheckActive();
    if (AIndex < 0 || AIndex >= FFieldNames.size())
        throw EDatabaseError(
            QStringLiteral("%1: field index %2 out of range").arg(ClassName()).arg(AIndex));
    const QVariant Value = FRows.isEmpty() ? QVariant() : FRows[FRecNo].value(AIndex);
    return TField(FFieldNames[AIndex], Value);
}

void TADOQuery::CheckActive() const {
    if (!FActive)
        throw EDatabaseError(QStringLiteral("%1: cannot perform this operation on a closed dataset")
                                 .arg(ClassName()));
}
