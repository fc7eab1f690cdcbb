#include "TADOQuery.h"

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

void TADOQuery::Open() {
    if (FActive)
        return;
    if (!FConnection)
        throw EDatabaseError(QStringLiteral("%1: missing connection").arg(ClassName()));
    FConnection->Open();

    const QSqlDatabase Db = FConnection->Database();
    QSqlQuery Query(Db);
    Query.setForwardOnly(true);
    const auto Failed = [&](const QSqlQuery& AQuery) {
        return EDatabaseError(QStringLiteral("Query failed on %1: %2")
                                  .arg(FConnection->Provider(), AQuery.lastError().text()));
    };
    if (Db.driverName() == QLatin1String("QSQLITE")) {
        // Compile first and refuse anything that would write, before it runs:
        // the file is opened read-only, and this also stops statements that
        // write elsewhere (VACUUM INTO a new file).
        if (!Query.prepare(FSQLText))
            throw Failed(Query);
        if (SqliteStatementWrites(Query))
            throw EDatabaseError(QStringLiteral("The connection is read-only; the statement "
                                                "would write: %1")
                                     .arg(FSQLText.simplified().left(200)));
        if (!Query.exec())
            throw Failed(Query);
    } else if (!Query.exec(FSQLText)) {
        throw Failed(Query);
    }
    if (!Query.isSelect())
        throw EDatabaseError(QStringLiteral("The statement returned no result set"));

    const QSqlRecord Record = Query.record();
    QStringList Names;
    Names.reserve(Record.count());
    for (int I = 0; I < Record.count(); ++I)
        Names << Record.fieldName(I);
    QList<QVariantList> Rows;
    while (Query.next()) {
        QVariantList Row;
        Row.reserve(Names.size());
        for (int I = 0; I < Names.size(); ++I)
            Row << Query.value(I);
        Rows << std::move(Row);
    }
    if (Query.lastError().isValid())
        throw EDatabaseError(QStringLiteral("Reading the result failed on %1: %2")
                                 .arg(FConnection->Provider(), Query.lastError().text()));

    FFieldNames = std::move(Names);
    FRows = std::move(Rows);
    FActive = true;
    First();
}

void TADOQuery::Close() {
    FActive = false;
    FFieldNames.clear();
    FRows.clear();
    FRecNo = 0;
    FEof = true;
    FBof = true;
}

void TADOQuery::First() {
    CheckActive();
    FRecNo = 0;
    FBof = true;
    FEof = FRows.isEmpty();
}

void TADOQuery::Next() {
    CheckActive();
    FBof = false;
    if (FRecNo + 1 < FRows.size())
        ++FRecNo;
    else
        FEof = true;
}

void TADOQuery::Prior() {
    CheckActive();
    FEof = false;
    if (FRecNo > 0)
        --FRecNo;
    else
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
