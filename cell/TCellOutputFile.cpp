#include "TCellOutputFile.h"

#include "TPendingOutputs.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString TCellOutputFile::SystemReason(int ACode, const QString& AFolder) {
    const QString System = QString::fromLocal8Bit(std::strerror(ACode));
    QString Cause;
    switch (ACode) {
    case ENOSPC:
    case EDQUOT:
        Cause = QStringLiteral("磁盘已满");
        break;
    case EACCES:
    case EPERM:
        Cause = QStringLiteral("没有写入的权限");
        break;
    case EROFS:
        Cause = QStringLiteral("文件系统是只读的");
        break;
    case ENAMETOOLONG:
        Cause = QStringLiteral("文件名太长");
        break;
    case ENOENT:
        // A folder that is there but takes no new files (/proc) answers so.
        Cause = !AFolder.isEmpty() && QFileInfo(AFolder).isDir()
                    ? QStringLiteral("这个文件夹不能新建文件（是系统的特殊文件夹）")
                    : QStringLiteral("文件夹不存在");
        break;
    case EIO:
        Cause = QStringLiteral("磁盘读写出错");
        break;
    default:
        Cause = QStringLiteral("系统错误");
        break;
    }
    return QStringLiteral("%1（%2）").arg(Cause, System);
}

namespace {

QString LastSystemReason() {
    return TCellOutputFile::SystemReason(errno);
}

// The longest name a file may have here (bytes), less what the temporary
// file adds to it: ".XXXXXX.part".
constexpr int NameMax = NAME_MAX;
constexpr int TemporarySuffix = 12;

// The mode bits count on their own: a privileged user could still write the
// file, but its owner marked it read-only.
bool IsReadOnly(const QFileInfo& AInfo) {
    const QFile::Permissions AnyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return !AInfo.isWritable() || !(AInfo.permissions() & AnyWrite);
}

// Moves ASource onto ATarget unless something has that name; errno is
// EEXIST when it has.
bool MoveWithoutReplacing(const QByteArray& ASource, const QByteArray& ATarget) {
    if (::renameat2(AT_FDCWD, ASource.constData(), AT_FDCWD, ATarget.constData(),
                    RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without that flag: a new hard link refuses a taken name too.
    if (::link(ASource.constData(), ATarget.constData()) != 0)
        return false;
    ::unlink(ASource.constData());
    return true;
}

} // namespace

// A link in a folder others can write to may have been planted to make
// this program replace a file it may write and its planter may not. Only a
// link of the running user's own is followed.
bool TCellOutputFile::IsForeignLink(const QString& APath) {
    struct stat Info {};
    return ::lstat(QFile::encodeName(APath).constData(), &Info) == 0 && S_ISLNK(Info.st_mode) &&
           Info.st_uid != ::geteuid();
}

TCellOutputFile::TCellOutputFile(QString AFileName, TMode AMode)
    : FFileName(std::move(AFileName))
    , FMode(AMode) {}

TCellOutputFile::~TCellOutputFile() {
    FTemporary.reset();
    ReleaseSlot();
}

void TCellOutputFile::ReleaseSlot() {
    TPendingOutputs::Remove(FPendingSlot);
    FPendingSlot = -1;
}

bool TCellOutputFile::ResolveTarget() {
    if (FFileName.trimmed().isEmpty()) {
        FError = QStringLiteral("没有指定输出文件名");
        return false;
    }
    const QFileInfo Given(FFileName);
    FTarget = Given.absoluteFilePath();
    const int NameBytes = int(QFile::encodeName(Given.fileName()).size());
    if (NameBytes + TemporarySuffix > NameMax) {
        FError = QStringLiteral("文件名太长（%1 字节，连同临时文件的后缀超过 %2 字节的上限）：%3")
                     .arg(NameBytes)
                     .arg(NameMax)
                     .arg(Given.fileName());
        return false;
    }
    if (QFile::encodeName(FTarget).size() + TemporarySuffix >= PATH_MAX) {
        FError = QStringLiteral("路径太长（超过 %1 字节的上限）：%2").arg(PATH_MAX).arg(FFileName);
        return false;
    }
    if (Given.isSymLink() && IsForeignLink(FTarget)) {
        FError = QStringLiteral(
                     "%1 是属于其他用户的链接，为安全起见不经它写入（请删除该链接或换一个文件夹）")
                     .arg(FFileName);
        return false;
    }
    if (Given.isSymLink()) {
        FTarget = Given.canonicalFilePath();
        if (FTarget.isEmpty()) {
            FError = QStringLiteral("%1 是指向不存在的文件的链接，不能写入").arg(FFileName);
            return false;
        }
    }
    const QFileInfo Target(FTarget);
    if (Target.exists() && !Target.isFile()) {
        FError = QStringLiteral("%1 不是普通文件（文件夹、设备或管道），不能写入").arg(FFileName);
        return false;
    }
    if (Target.exists() && IsReadOnly(Target)) {
        FError = QStringLiteral("文件 %1 是只读文件，不能覆盖").arg(FFileName);
        return false;
    }
    return true;
}

bool TCellOutputFile::Open() {
    FError.clear();
    FTemporary.reset();
    ReleaseSlot();
    if (!ResolveTarget())
        return false;
    const QFileInfo Target(FTarget);
    FTemporary = std::make_unique<QTemporaryFile>(
        Target.absoluteDir().filePath(Target.fileName() + QStringLiteral(".XXXXXX.part")));
    if (!FTemporary->open()) {
        const int Code = errno;
        FError = QStringLiteral("无法在 %1 创建文件：%2")
                     .arg(QDir::toNativeSeparators(Target.absolutePath()),
                          SystemReason(Code, Target.absolutePath()));
        FTemporary.reset();
        return false;
    }
    FPendingSlot = TPendingOutputs::Add(QFile::encodeName(FTemporary->fileName()));
    return true;
}

QString TCellOutputFile::TemporaryName() const {
    return FTemporary ? FTemporary->fileName() : QString();
}

bool TCellOutputFile::Write(const QByteArray& AData) {
    if (!FTemporary)
        return false;
    FSynced = false;
    // A short write or a failed flush is a full disk or a failing device;
    // neither is reported by QFileDevice otherwise.
    errno = 0;
    if (FTemporary->write(AData) != AData.size() || !FTemporary->flush()) {
        const int Code = errno;
        FError = QStringLiteral("写入 %1 失败：%2")
                     .arg(FFileName, Code != 0 ? TCellOutputFile::SystemReason(Code)
                                               : FTemporary->errorString());
        return false;
    }
    return true;
}

bool TCellOutputFile::Sync() {
    if (!FTemporary)
        return false;
    if (FSynced)
        return true;
    if (!FTemporary->flush() || ::fsync(FTemporary->handle()) != 0) {
        FError = QStringLiteral("写入 %1 失败：%2").arg(FFileName, LastSystemReason());
        return false;
    }
    FSynced = true;
    return true;
}

TCellOutputFile::TCommit TCellOutputFile::Commit() {
    if (!FTemporary)
        return MoveFailed;
    if (!Sync())
        return SyncFailed;
    // The temporary file was private to its owner; the output is not. A
    // replaced file keeps its own permissions.
    const QFileInfo Old(FTarget);
    const QFileDevice::Permissions Mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ReadGroup | QFileDevice::ReadOther;
    // The *User flags describe the current user, not the file's mode bits.
    const QFileDevice::Permissions UserFlags =
        QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    FTemporary->setPermissions(FMode == Replace && Old.exists() ? Old.permissions() & ~UserFlags
                                                                : Mode);
    const QByteArray From = QFile::encodeName(FTemporary->fileName());
    const QByteArray To = QFile::encodeName(FTarget);
    const bool Moved = FMode == Replace ? ::rename(From.constData(), To.constData()) == 0
                                        : MoveWithoutReplacing(From, To);
    if (!Moved) {
        const bool Taken = errno == EEXIST;
        FError = Taken ? QStringLiteral("文件 %1 已存在").arg(FFileName)
                       : QStringLiteral("无法保存为 %1：%2").arg(FFileName, LastSystemReason());
        return Taken ? NameTaken : MoveFailed;
    }
    FTemporary->setAutoRemove(false);
    FTemporary.reset();
    ReleaseSlot();
    return Committed;
}
