#pragma once

#include "TField.h"
#include "platform/TComponent.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class QSqlDatabase;
class QSqlQuery;
class TADOConnection;

// A query on a TADOConnection. Open runs the statement and reads its whole
// result into memory (a client-side cursor), so the record count and moving
// about work the same on every driver and nothing stays open on the
// connection afterwards. The statement must return rows.
class PLATFORM_EXPORT TADOQuery : public TComponent {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TADOQuery(TComponent* AOwner = nullptr);
    ~TADOQuery() override;

    QString SQLText() const { return FSQLText; }
    // Replaces the whole statement; closes the query.
    void SetSQLText(const QString& ASQLText);
    TADOConnection* Connection() const { return FConnection; }
    void SetConnection(TADOConnection* AConnection);

    // Opens the connection when needed, runs the statement, reads every row
    // and stands on the first. Raises EDatabaseError with the driver's
    // message (a description when the driver gives none), or when the
    // statement returns no result set. No statement can change the
    // database: on SQLite one that would write is refused before it runs,
    // and one that would change the connection (a PRAGMA setting, ATTACH,
    // BEGIN) as it compiles; on PostgreSQL each runs alone in a read-only
    // transaction that is rolled back, session-level advisory locks are let
    // go after it, and a text of several statements is refused. On
    // PostgreSQL a statement whose session the server ended runs once more
    // on a new session.
    void Open();
    void Close();
    bool Active() const { return FActive; }

    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const { return FEof; }
    bool Bof() const { return FBof; }
    bool IsEmpty() const { return FRows.isEmpty(); }
    int RecordCount() const { return static_cast<int>(FRows.size()); }
    // 1-based number of the current row; 0 when there is none.
    int RecNo() const { return FRows.isEmpty() ? 0 : FRecNo + 1; }
    // Stands on row ARecNo (1-based); raises EDatabaseError for a row that
    // does not exist.
    void SetRecNo(int ARecNo);
    // For rows read once from first to last: each row is let go as Next
    // leaves it, so a long result is not held whole next to what is made of
    // it. Going back to a row let go raises EDatabaseError.
    void SetForwardOnly(bool AForwardOnly) { FForwardOnly = AForwardOnly; }
    bool ForwardOnly() const { return FForwardOnly; }

    int FieldCount() const { return static_cast<int>(FFieldNames.size()); }
    const QStringList& FieldNames() const { return FFieldNames; }
    // Position of the field named AName without regard to letter case, or -1.
    int FieldIndex(const QString& AName) const;
    // The current row's field; raises EDatabaseError for an unknown field or
    // a closed query. With no rows every field reads as Null.
    TField FieldByName(const QString& AName) const;
    TField Fields(int AIndex) const;

    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    void CheckActive() const;
    // Raises EDatabaseError when the row (0-based) was let go.
    void CheckKept(int ARow) const;
    void OpenOnPostgreSql(const QSqlDatabase& ADb);
    // OpenOnPostgreSql, once more on a new session when the server ended
    // the one the statement ran on.
    void RunOnPostgreSql();
    // Takes the rows of a statement that has run; the query keeps them only
    // when all were read.
    void ReadResult(QSqlQuery& AQuery);

    QString FSQLText;
    TADOConnection* FConnection = nullptr;
    QStringList FFieldNames;
    QList<QVariantList> FRows;
    int FRecNo = 0;
    int FLetGo = 0; // rows before this one were let go (forward only)
    bool FForwardOnly = false;
    bool FActive = false;
    bool FEof = true;
    bool FBof = true;
};
