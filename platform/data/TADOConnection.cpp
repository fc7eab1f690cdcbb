#include "TADOConnection.h"

#include "DatabaseFailureText.h"
#include "PgSession.h"
#include "SqliteStatement.h"
#include "TConnectionString.h"
#include "platform/Exception.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUrl>
#include <atomic>

namespace {

std::atomic<quint64> ConnectionCounter{0};

// ODBC values holding ';' or braces must be wrapped in braces.
QString OdbcValue(const QString& AValue) {
    if (AValue.contains(QLatin1Char(';')) || AValue.contains(QLatin1Char('{')) ||
        AValue.contains(QLatin1Char('}')) || AValue.startsWith(QLatin1Char(' ')))
        return QLatin1Char('{') + AValue + QLatin1Char('}');
    return AValue;
}

// The ADO keys that the mapping below translates; every other key of the
// string is handed to the ODBC driver as it stands.
bool IsAdoKey(const QString& AKey) {
    static const char* const Keys[] = {"Provider", "Data Source", "Initial Catalog",
                                       "Database", "User ID",     "UID",
                                       "Password", "PWD",         "Driver",
                                       "DSN",      "Server",      "Persist Security Info"};
    for (const char* Key : Keys) {
        if (AKey.compare(QLatin1String(Key), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

TConnectionTarget SqliteTarget(const QString& AProvider, const TConnectionString& AParts) {
    const QString File = AParts.FirstValue({"Data Source", "Database"});
    if (File.isEmpty())
        throw EDatabaseError(
            QStringLiteral("连接串没有给出数据库文件（Data Source=）：Provider=%1").arg(AProvider));
    TConnectionTarget Target;
    Target.Driver = QStringLiteral("QSQLITE");
    Target.DatabaseName = QFileInfo(File).absoluteFilePath();
    // The plug-in never writes: the file is opened read-only, and without
    // SQLite's create flag a missing file is an error instead of a new,
    // empty database. It is named by a URI (SqliteReadOnlyUri).
    Target.ConnectOptions = QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI");
    Target.Description = Target.DatabaseName;
    return Target;
}

TConnectionTarget PostgreSqlTarget(const QString& AProvider, const TConnectionString& AParts) {
    TConnectionTarget Target;
    Target.Driver = QStringLiteral("QPSQL");
    Target.HostName = AParts.FirstValue({"Host", "Server", "Data Source"});
    const QString Port = AParts.Value(QStringLiteral("Port"));
    if (!Port.isEmpty()) {
        bool Ok = false;
        Target.Port = Port.toInt(&Ok);
        if (!Ok)
            throw EDatabaseError(
                QStringLiteral("连接串中的端口“%2”不是数字：Provider=%1").arg(AProvider, Port));
    }
    Target.DatabaseName = AParts.FirstValue({"Database", "Initial Catalog"});
    Target.UserName = AParts.FirstValue({"User ID", "UID", "User", "Username"});
    Target.Password = AParts.FirstValue({"Password", "PWD"});
    // Each query also runs in a read-only transaction of its own (TADOQuery);
    // standard strings make the text's literals end where the plug-in's
    // statement check sees them end.
    Target.ConnectOptions =
        QStringLiteral("connect_timeout=10;options='-c default_transaction_read_only=on "
                       "-c standard_conforming_strings=on'");
    Target.Description =
        QStringLiteral("%1 服务器 %2%3 上的数据库 %4（用户 %5）")
            .arg(AProvider,
                 Target.HostName.isEmpty() ? QStringLiteral("localhost") : Target.HostName,
                 Target.Port < 0 ? QString() : QLatin1Char(':') + QString::number(Target.Port),
                 Target.DatabaseName, Target.UserName);
    return Target;
}

TConnectionTarget OdbcTarget(const QString& AProvider, TSqlKind AKind,
                             const TConnectionString& AParts) {
    const QString Driver = AParts.Value(QStringLiteral("Driver"));
    const QString Dsn = AParts.Value(QStringLiteral("DSN"));
    if (Driver.isEmpty() && Dsn.isEmpty())
        throw EDatabaseError(
            QStringLiteral("连接串没有给出 ODBC 驱动（Driver=）或数据源（DSN=）：Provider=%1 "
                           "的数据库要经 ODBC 连接")
                .arg(AProvider));

    TConnectionTarget Target;
    Target.Driver = QStringLiteral("QODBC");
    Target.UserName = AParts.FirstValue({"User ID", "UID"});
    Target.Password = AParts.FirstValue({"Password", "PWD"});
    Target.ConnectOptions = QStringLiteral("SQL_ATTR_ACCESS_MODE=SQL_MODE_READ_ONLY");
    const QString Source = AParts.FirstValue({"Data Source", "Server"});
    const QString Catalog = AParts.FirstValue({"Initial Catalog", "Database"});

    if (Driver.isEmpty()) {
        // Qt's ODBC driver turns a plain name into "DSN=<name>".
        Target.DatabaseName = Dsn;
        Target.Description =
            QStringLiteral("ODBC 数据源 %2（%1，用户 %3）").arg(AProvider, Dsn, Target.UserName);
        return Target;
    }

    QStringList Odbc;
    Odbc << QStringLiteral("DRIVER={%1}").arg(Driver);
    if (AKind == TSqlKind::SqlServer) {
        if (!Source.isEmpty())
            Odbc << QStringLiteral("SERVER=") + OdbcValue(Source);
        if (!Catalog.isEmpty())
            Odbc << QStringLiteral("DATABASE=") + OdbcValue(Catalog);
    } else if (!Source.isEmpty()) {
        // Oracle's net service name and Access's database file both go to DBQ.
        Odbc << QStringLiteral("DBQ=") + OdbcValue(Source);
    }
    for (const auto& Pair : AParts.Pairs()) {
        if (!IsAdoKey(Pair.first))
            Odbc << Pair.first + QLatin1Char('=') + OdbcValue(Pair.second);
    }
    Target.DatabaseName = Odbc.join(QLatin1Char(';'));
    Target.Description =
        QStringLiteral("经 ODBC 驱动 %2 连接的 %3%4（%1，用户 %5）")
            .arg(AProvider, Driver, Source,
                 Catalog.isEmpty() ? QString() : QLatin1Char('/') + Catalog, Target.UserName);
    return Target;
}

// A reader of a database in WAL mode needs the -shm and -wal files beside
// it: SQLite creates them for a read-only connection too, leaves them behind,
// and cannot read at all from a read-only folder (a read-only share). When
// no -wal file is there, no writer has the database open and its file is
// complete, so it is opened immutable: no locks, no files, nothing written.
// With a -wal file a writer may be at work, and SQLite's normal read-only
// locking sees its committed changes. A connection that starts immutable
// does not see a writer that comes later; the databases the plug-in reads
// this way are published copies that nobody writes while a window is open.
QString SqliteReadOnlyUri(const QString& AFile) {
    QString Uri =
        QUrl::fromLocalFile(AFile).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro");
    QFile File(AFile);
    const QByteArray Header = File.open(QIODevice::ReadOnly) ? File.read(20) : QByteArray();
    // Bytes 18 and 19 of the header are 2 for a database in WAL mode.
    const bool Wal = Header.size() == 20 && Header.startsWith("SQLite format 3") &&
                     (Header[18] == 2 || Header[19] == 2);
    if (Wal && !QFileInfo::exists(AFile + QStringLiteral("-wal")))
        Uri += QStringLiteral("&immutable=1");
    return Uri;
}

QString OtherThreadText(const QString& AConnectionName) {
    return QStringLiteral("数据库连接 %1 是在另一个线程上打开的，工作线程要用它自己的连接副本")
        .arg(AConnectionName);
}

} // namespace

TADOConnection::TADOConnection(TComponent* AOwner)
    : TComponent(AOwner)
    , FConnectionName(QStringLiteral("varnholt-ado-%1").arg(++ConnectionCounter)) {}

TADOConnection::~TADOConnection() {
    Close();
}

void TADOConnection::SetConnectionString(const QString& AConnectionString) {
    if (AConnectionString == FConnectionString)
        return;
    Close();
    FConnectionString = AConnectionString;
    FDialect = &TSqlDialect::ForProvider(Provider());
}

QString TADOConnection::Provider() const {
    return TConnectionString(FConnectionString).Value(QStringLiteral("Provider"));
}

void TADOConnection::SetConnected(bool AConnected) {
    if (AConnected)
        Open();
    else
        Close();
}

TConnectionTarget TADOConnection::Target() const {
    const TConnectionString Parts(FConnectionString);
    const QString ProviderName = Parts.Value(QStringLiteral("Provider"));
    // The driver follows the dialect, so the provider's markers and their
    // precedence live in one place.
    switch (Dialect().Kind()) {
    case TSqlKind::SQLite:
        return SqliteTarget(ProviderName, Parts);
    case TSqlKind::PostgreSQL:
        return PostgreSqlTarget(ProviderName, Parts);
    default:
        return OdbcTarget(ProviderName, Dialect().Kind(), Parts);
    }
}

void TADOConnection::Open() {
    if (FConnected) {
        if (FOpenThread != QThread::currentThread())
            throw EDatabaseError(OtherThreadText(FConnectionName));
        return;
    }
    const TConnectionTarget Settings = Target();
    // The cause said in Chinese, or read from the driver's own words.
    const auto Fail = [&](const QString& ACause, const QString& ADriverText = QString()) {
        return EDatabaseError(TConnectionString::WithoutPasswords(
            ConnectFailureText(ACause, Settings.Description, ADriverText)));
    };
    if (Settings.Driver == QLatin1String("QSQLITE")) {
        const QFileInfo File(Settings.DatabaseName);
        if (!File.exists())
            throw Fail(QStringLiteral("数据库文件不存在"));
        if (!File.isFile())
            throw Fail(QStringLiteral("数据库文件的位置上不是文件（是文件夹或设备）"));
    }
    if (!QSqlDatabase::isDriverAvailable(Settings.Driver))
        throw Fail(QStringLiteral("没有安装 Qt 的数据库驱动 %1").arg(Settings.Driver));

    QString Error;
    bool ReadOnlyGuardFailed = false;
    {
        QSqlDatabase Db = QSqlDatabase::addDatabase(Settings.Driver, FConnectionName);
        const bool Sqlite = Settings.Driver == QLatin1String("QSQLITE");
        Db.setDatabaseName(Sqlite ? SqliteReadOnlyUri(Settings.DatabaseName)
                                  : Settings.DatabaseName);
        if (!Settings.HostName.isEmpty())
            Db.setHostName(Settings.HostName);
        if (Settings.Port >= 0)
            Db.setPort(Settings.Port);
        if (!Settings.UserName.isEmpty())
            Db.setUserName(Settings.UserName);
        if (!Settings.Password.isEmpty())
            Db.setPassword(Settings.Password);
        Db.setConnectOptions(Settings.ConnectOptions);
        if (!Db.open())
            Error = Db.lastError().text();
        else if (Sqlite && !SqliteRefuseConnectionChanges(Db))
            ReadOnlyGuardFailed = true;
    }
    if (ReadOnlyGuardFailed) {
        QSqlDatabase::removeDatabase(FConnectionName);
        throw Fail(QStringLiteral("无法为 SQLite 连接设置只读保护（不许改连接设置的检查）"));
    }
    if (!Error.isNull()) {
        QSqlDatabase::removeDatabase(FConnectionName);
        throw Fail(Error.isEmpty() ? QStringLiteral("无法连接数据库，驱动没有给出原因") : QString(),
                   Error);
    }
    FConnected = true;
    FOpenThread = QThread::currentThread();
}

void TADOConnection::Close() {
    if (!FConnected)
        return;
    FConnected = false;
    FOpenThread = nullptr;
    {
        QSqlDatabase Db = QSqlDatabase::database(FConnectionName, false);
        Db.close();
    }
    QSqlDatabase::removeDatabase(FConnectionName);
}

bool TADOConnection::SessionLost() const {
    if (!FConnected || FOpenThread != QThread::currentThread())
        return false;
    // Qt's driver marks itself closed once it has seen the session end.
    const QSqlDatabase Db = QSqlDatabase::database(FConnectionName, false);
    return !Db.isOpen() || PgSessionLost(Db);
}

bool TADOConnection::SuperuserSession() const {
    if (!FConnected || FOpenThread != QThread::currentThread())
        return false;
    return PgSessionIsSuperuser(QSqlDatabase::database(FConnectionName, false));
}

TADOConnection* TADOConnection::Clone(TComponent* AOwner) const {
    QObject* Created = metaObject()->newInstance(Q_ARG(TComponent*, AOwner));
    auto* Copy = qobject_cast<TADOConnection*>(Created);
    if (!Copy) {
        delete Created;
        Copy = new TADOConnection(AOwner);
    }
    Copy->SetLoginPrompt(FLoginPrompt);
    Copy->SetConnectionString(FConnectionString);
    return Copy;
}

QSqlDatabase TADOConnection::Database() const {
    if (!FConnected)
        throw EDatabaseError(QStringLiteral("数据库连接 %1 没有打开").arg(FConnectionName));
    if (FOpenThread != QThread::currentThread())
        throw EDatabaseError(OtherThreadText(FConnectionName));
    return QSqlDatabase::database(FConnectionName, false);
}
