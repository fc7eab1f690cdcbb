#pragma once

#include "TSqlDialect.h"
#include "platform/TComponent.h"

#include <QSqlDatabase>
#include <QString>

class QThread;

// How a connection string reaches Qt SQL: the driver, what the driver gets
// as database name, and the other settings. Description names provider and
// target for error messages and never carries the password.
struct PLATFORM_EXPORT TConnectionTarget {
    QString Driver;
    QString DatabaseName;
    QString HostName;
    int Port = -1;
    QString UserName;
    QString Password;
    QString ConnectOptions;
    QString Description;
};

// An ADO-style database connection over QSqlDatabase, configured by a
// connection string whose Provider= value picks the driver:
//   Provider=SQLite;Data Source=<file>            QSQLITE, always read-only
//   Provider=PostgreSQL;Host=..;Port=..;Database=..;User ID=..;Password=..
//                                                 QPSQL, read-only sessions
//   SQL Server, Oracle and Access OLE DB providers QODBC with Driver= or DSN=
// The plug-in only reads, so every kind is opened in its driver's read-only
// mode where the driver has one.
//
// Each object opens its own QSqlDatabase under a unique Qt connection name on
// the thread that opens it, and only that thread may run queries on it. A
// worker thread takes a Clone(), which is configured alike but unopened.
// There is no login dialog: LoginPrompt is kept for the host's registry, and
// credentials come from the connection string.
class PLATFORM_EXPORT TADOConnection : public TComponent {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TADOConnection(TComponent* AOwner = nullptr);
    ~TADOConnection() override;

    QString ConnectionString() const { return FConnectionString; }
    // Closes an open connection first: the new string names another target.
    void SetConnectionString(const QString& AConnectionString);
    bool LoginPrompt() const { return FLoginPrompt; }
    void SetLoginPrompt(bool ALoginPrompt) { FLoginPrompt = ALoginPrompt; }
    // The Provider= value of the connection string, as written there.
    QString Provider() const;
    // The SQL dialect of the database the provider names, chosen when the
    // connection string is set.
    const TSqlDialect& Dialect() const { return *FDialect; }

    bool Connected() const { return FConnected; }
    void SetConnected(bool AConnected);
    // Raises EDatabaseError naming provider, target and the driver's message.
    void Open();
    void Close();

    // Whether the connection was open and its session has ended under it:
    // the server restarted, an administrator ended the session, or the
    // network broke. Close and Open then begin a new session.
    bool SessionLost() const;
    // Whether the open session runs as a superuser (PostgreSQL), whom no
    // grant limits: a reporting account should not be one. False when not
    // connected and for other kinds of database.
    bool SuperuserSession() const;

    // A new, unopened connection of the same class with the same settings.
    TADOConnection* Clone(TComponent* AOwner = nullptr) const;

    // Works out driver and settings; raises EDatabaseError for a string it
    // cannot map (unknown provider without ODBC driver, no SQLite file name).
    TConnectionTarget Target() const;

    // The Qt connection name, unique per object.
    QString ConnectionName() const { return FConnectionName; }
    // The open database; raises EDatabaseError when not connected or when
    // asked from a thread other than the one that opened it.
    QSqlDatabase Database() const;

private:
    QString FConnectionString;
    QString FConnectionName;
    const TSqlDialect* FDialect = &TSqlDialect::ForKind(TSqlKind::Other);
    bool FLoginPrompt = true;
    bool FConnected = false;
    QThread* FOpenThread = nullptr;
};
