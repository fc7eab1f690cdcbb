#include "TBatchOutputFolder.h"

#include "cell/TCellOutputFile.h"
#include "report/tables/ReportFileNames.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QThread>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Where runs of earlier versions held the folder; an empty regular file of
// the running user's there is such a run's.
const QString EarlierLockName = QStringLiteral(".varnholt-batch.lock");

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

QString UserName(uid_t AUid) {
    struct passwd Entry {};
    struct passwd* Found = nullptr;
    char Buffer[1024];
    if (::getpwuid_r(AUid, &Entry, Buffer, sizeof Buffer, &Found) == 0 && Found != nullptr)
        return QString::fromLocal8Bit(Found->pw_name);
    return QStringLiteral("用户号 %1").arg(AUid);
}

QString SystemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

TBatchOutputFolder::TBatchOutputFolder(QString APath)
    : FPath(std::move(APath)) {}

TBatchOutputFolder::~TBatchOutputFolder() {
    if (FFolderFd >= 0)
        ::close(FFolderFd);
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

QString TBatchOutputFolder::LinkProblem(const QString& APath) {
    struct stat Info {};
    if (::lstat(QFile::encodeName(APath).constData(), &Info) != 0 || !S_ISLNK(Info.st_mode) ||
        Info.st_uid == ::geteuid() || Info.st_uid == 0)
        return QString();
    return QStringLiteral("%1 是属于其他用户（%2）的链接，为安全起见不经它写入"
                          "（请删除该链接或换一个文件夹）")
        .arg(APath, UserName(Info.st_uid));
}

bool TBatchOutputFolder::Prepare(int AWaitMs) {
    FError = PathProblem(FPath);
    if (FError.isEmpty())
        FError = LinkProblem(FPath);
    if (!FError.isEmpty())
        return false;
    if (!QDir().mkpath(FPath) || !QFileInfo(FPath).isDir()) {
        FError = QStringLiteral("无法建立输出文件夹 %1").arg(FPath);
        return false;
    }
    if (!OpenFolder() || !CheckWritable() || !Lock(AWaitMs))
        return false;
    RemoveLeftovers();
    return true;
}

// The folder is held open for the lock. A link planted after the check
// above, between it and the folder's making, is caught here: the name
// must still be the folder that was opened.
bool TBatchOutputFolder::OpenFolder() {
    const QByteArray Name = QFile::encodeName(FPath);
    FFolderFd = ::open(Name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (FFolderFd < 0) {
        FError = QStringLiteral("无法打开输出文件夹 %1：%2").arg(FPath, SystemReason());
        return false;
    }
    struct stat Opened {
    }, Named{};
    FError = LinkProblem(FPath);
    if (FError.isEmpty() &&
        (::fstat(FFolderFd, &Opened) != 0 || ::stat(Name.constData(), &Named) != 0 ||
         Opened.st_ino != Named.st_ino || Opened.st_dev != Named.st_dev))
        FError = QStringLiteral("输出文件夹 %1 在打开时被换掉了，为安全起见不写入").arg(FPath);
    return FError.isEmpty();
}

// Permission bits do not tell everything (a read-only mount, or root): a
// file made and removed there does.
bool TBatchOutputFolder::CheckWritable() {
    QTemporaryFile Probe(QDir(FPath).filePath(QStringLiteral(".varnholt-batch-XXXXXX")));
    if (Probe.open())
        return true;
    const int Code = errno;
    FError = QStringLiteral("输出文件夹 %1 不可写：%2")
                 .arg(FPath, TCellOutputFile::SystemReason(Code, FPath));
    return false;
}

bool TBatchOutputFolder::Lock(int AWaitMs) {
    for (int Waited = 0;; Waited += 100) {
        if (::flock(FFolderFd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK || Waited >= AWaitMs)
            break;
        QThread::msleep(100);
    }
    FError = errno == EWOULDBLOCK
                 ? QStringLiteral("输出文件夹 %1 正被另一次运行使用（等了 %2 秒），"
                                  "请稍后再试或换一个文件夹")
                       .arg(FPath)
                       .arg(AWaitMs / 1000)
                 : QStringLiteral("无法锁定输出文件夹 %1：%2").arg(FPath, SystemReason());
    ::close(FFolderFd);
    FFolderFd = -1;
    return false;
}

// With the folder held, no run of this program writes here; a temporary
// file of our naming that no process holds open is what an interrupted run
// left, and so is an earlier version's empty lock file of our own.
void TBatchOutputFolder::RemoveLeftovers() {
    const QDir Folder(FPath);
    for (const QString& Name : Folder.entryList(QDir::Files | QDir::Hidden)) {
        if (IsTemporaryReportFileName(Name) && !IsOpenAnywhere(Folder.filePath(Name)) &&
            QFile::remove(Folder.filePath(Name)))
            FRemoved << Name;
    }
    struct stat Info {};
    const QByteArray EarlierLock = QFile::encodeName(Folder.filePath(EarlierLockName));
    if (::lstat(EarlierLock.constData(), &Info) == 0 && S_ISREG(Info.st_mode) &&
        Info.st_size == 0 && Info.st_uid == ::geteuid())
        ::unlink(EarlierLock.constData());
}
