#include "TBatchOutputFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QThread>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString LockName = QStringLiteral(".varnholt-batch.lock");

// The names this program writes: tables, the audit, and the temporary
// files they are written to first.
const QRegularExpression TableName(
    QStringLiteral("^\\d{4}年国库集中支付改革.*(范围划分建议表\\.(xlsx|pdf)|审核结果\\.txt)$"));
const QRegularExpression LeftoverName(
    QStringLiteral("^\\d{4}年国库集中支付改革.*\\.(xlsx|pdf|txt)\\.[A-Za-z0-9]{6}\\.part$"));

// Whether any process has the file open: a file being written by a run in
// progress (of this program or of the report window) is not a leftover.
bool IsOpenAnywhere(const QString& APath) {
    const QString Target = QFileInfo(APath).canonicalFilePath();
    QDirIterator Processes(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (Processes.hasNext()) {
        QDirIterator Files(Processes.next() + QStringLiteral("/fd"), QDir::Files | QDir::System);
        while (Files.hasNext()) {
            if (QFileInfo(Files.next()).symLinkTarget() == Target)
                return true;
        }
    }
    return false;
}

} // namespace

TBatchOutputFolder::TBatchOutputFolder(QString APath)
    : FPath(std::move(APath)) {}

TBatchOutputFolder::~TBatchOutputFolder() {
    if (FLockFd >= 0)
        ::close(FLockFd);
}

QString TBatchOutputFolder::PathProblem(const QString& APath) {
    const QByteArray Whole = QFile::encodeName(QDir(APath).absolutePath());
    if (Whole.size() >= PATH_MAX)
        return QStringLiteral("输出文件夹的路径太长（%1 字节，上限 %2 字节）")
            .arg(Whole.size())
            .arg(PATH_MAX - 1);
    for (const QString& Part : QDir(APath).absolutePath().split(QLatin1Char('/'))) {
        const int Bytes = int(QFile::encodeName(Part).size());
        if (Bytes > NAME_MAX)
            return QStringLiteral("输出文件夹路径中的“%1…”太长（%2 字节，上限 %3 字节）")
                .arg(Part.left(20))
                .arg(Bytes)
                .arg(NAME_MAX);
    }
    return QString();
}

bool TBatchOutputFolder::Prepare(int AWaitMs) {
    FError = PathProblem(FPath);
    if (!FError.isEmpty())
        return false;
    if (!QDir().mkpath(FPath) || !QFileInfo(FPath).isDir()) {
        FError = QStringLiteral("无法建立输出文件夹 %1").arg(FPath);
        return false;
    }
    if (!CheckWritable() || !Lock(AWaitMs))
        return false;
    RemoveLeftovers();
    return true;
}

// Permission bits do not tell everything (a read-only mount, or root): a
// file made and removed there does.
bool TBatchOutputFolder::CheckWritable() {
    QTemporaryFile Probe(QDir(FPath).filePath(QStringLiteral(".varnholt-batch-XXXXXX")));
    if (Probe.open())
        return true;
    FError = QStringLiteral("输出文件夹 %1 不可写：%2").arg(FPath, Probe.errorString());
    return false;
}

bool TBatchOutputFolder::Lock(int AWaitMs) {
    const QByteArray Name = QFile::encodeName(QDir(FPath).filePath(LockName));
    FLockFd = ::open(Name.constData(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (FLockFd < 0) {
        FError = QStringLiteral("无法在输出文件夹 %1 建立锁文件：%2")
                     .arg(FPath, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    for (int Waited = 0;; Waited += 100) {
        if (::flock(FLockFd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK || Waited >= AWaitMs)
            break;
        QThread::msleep(100);
    }
    FError =
        QStringLiteral("输出文件夹 %1 正被另一次运行使用（等了 %2 秒），请稍后再试或换一个文件夹")
            .arg(FPath)
            .arg(AWaitMs / 1000);
    ::close(FLockFd);
    FLockFd = -1;
    return false;
}

// With the folder held, no run of this program writes here; a temporary
// file of our naming that no process holds open is what an interrupted run
// left.
void TBatchOutputFolder::RemoveLeftovers() {
    const QDir Folder(FPath);
    for (const QString& Name : Folder.entryList(QDir::Files | QDir::Hidden)) {
        if (LeftoverName.match(Name).hasMatch() && !IsOpenAnywhere(Folder.filePath(Name)) &&
            QFile::remove(Folder.filePath(Name)))
            FRemoved << Name;
    }
}

QStringList TBatchOutputFolder::OtherTables(const QStringList& AWritten) const {
    QStringList Others;
    for (const QString& Name : QDir(FPath).entryList(QDir::Files, QDir::Name)) {
        if (TableName.match(Name).hasMatch() && !AWritten.contains(Name))
            Others << Name;
    }
    return Others;
}
