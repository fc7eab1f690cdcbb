#include "DatabaseFailureText.h"

#include <QRegularExpression>
#include <utility>

namespace {

// The driver's words and the cause they tell, tried in order: a more
// particular pattern stands before a more general one ("database "x" does
// not exist" before "does not exist").
const std::pair<const char*, const char*> Causes[] = {
    // The database file (SQLite).
    {"file is not a database", "数据库文件已损坏，或不是 SQLite 数据库文件"},
    {"database disk image is malformed", "数据库文件已损坏"},
    {"database is locked", "数据库文件正被其他程序锁定"},
    {"disk I/O error", "读取数据库文件时磁盘出错"},
    {"unable to open database file", "无法打开数据库文件（文件或它所在的文件夹不可读）"},
    {"not authorized", "只读连接不执行这条语句（它会改变连接的设置）"},
    // The server and the login (PostgreSQL, SQL Server through ODBC).
    {"password authentication failed|Login failed", "数据库的用户名或密码不对"},
    {"no password supplied", "连接串没有给出密码（Password=）"},
    {"role \"[^\"]*\" does not exist", "数据库服务器上没有这个用户"},
    {"database \"[^\"]*\" does not exist|Cannot open database",
     "数据库服务器上没有这个数据库，或该用户无权打开它"},
    {"no pg_hba\\.conf entry", "数据库服务器不允许这个用户从本机连接"},
    {"not currently accepting connections", "这个数据库现在不接受连接"},
    {"too many connections|remaining connection slots", "数据库服务器的连接数已满"},
    {"starting up|shutting down|in recovery mode", "数据库服务器正在启动或关闭"},
    {"could not translate host name|Name or service not known|Unknown host",
     "找不到数据库服务器（主机名无法解析）"},
    {"Connection refused", "数据库服务器没有接受连接（服务器没有运行，或主机、端口不对）"},
    {"statement timeout|Query timeout", "查询超时，被数据库服务器取消"},
    {"timeout expired|timed out", "连接数据库服务器超时"},
    {"terminating connection|server closed the connection|no connection to the server|"
     "could not receive data from server|could not send data to server|Communication link "
     "failure",
     "与数据库服务器的连接已断开"},
    {"Can't open lib|Data source name not found", "找不到连接串所指的 ODBC 驱动或数据源"},
    // The statement.
    {"no such table|relation \"[^\"]*\" does not exist|Invalid object name",
     "数据库中缺少报表要读的表或视图"},
    {"no such column|column \"?[^\" ]*\"? does not exist|Invalid column name",
     "数据库的表中缺少报表要读的列"},
    {"permission denied|permission was denied", "数据库用户没有读取这些数据的权限"},
    {"syntax error", "查询语句有语法错误"},
    {"out of memory", "数据库内存不足"},
};

// "（" ADriverText "）", or nothing when the driver said nothing.
QString InBrackets(const QString& AText) {
    const QString Text = AText.simplified();
    return Text.isEmpty() ? QString() : QStringLiteral("（") + Text + QStringLiteral("）");
}

} // namespace

QString DatabaseCause(const QString& ADriverText) {
    for (const auto& [Pattern, Cause] : Causes) {
        const QRegularExpression Words(QString::fromUtf8(Pattern),
                                       QRegularExpression::CaseInsensitiveOption);
        if (Words.match(ADriverText).hasMatch())
            return QString::fromUtf8(Cause);
    }
    return QString();
}

QString ConnectFailureText(const QString& ACause, const QString& ATarget,
                           const QString& ADriverText) {
    QString Cause = ACause.isEmpty() ? DatabaseCause(ADriverText) : ACause;
    if (Cause.isEmpty())
        Cause = QStringLiteral("无法连接数据库");
    return Cause + QStringLiteral("：") + ATarget + InBrackets(ADriverText);
}

QString QueryFailureText(const QString& AProvider, const QString& ADriverText) {
    QString Cause = DatabaseCause(ADriverText);
    if (Cause.isEmpty())
        Cause = QStringLiteral("数据库查询失败");
    const QString Provider = AProvider.isEmpty() ? QStringLiteral("数据库") : AProvider;
    return Cause + InBrackets(Provider + QStringLiteral("：") + ADriverText.simplified());
}
