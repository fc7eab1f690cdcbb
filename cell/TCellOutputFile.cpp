#include "TCellOutputFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString SystemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

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

TCellOutputFile::TCellOutputFile(QString AFileName, TMode AMode)
    : FFileName(std::move(AFileName))
    , FMode(AMode) {}

TCellOutputFile::~TCellOutputFile() = default;

bool TCellOutputFile::ResolveTarget() {
    if (FFileName.trimmed().isEmpty()) {
        FError = QStringLiteral("没有指定输出文件名");
        return false;
    }
    const QFileInfo Given(FFileName);
    FTarget = Given.absoluteFilePath();
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
    if (!ResolveTarget())
        return false;
    const QFileInfo Target(FTarget);
    FTemporary = std::make_unique<QTemporaryFile>(
        Target.absoluteDir().filePath(Target.fileName() + QStringLiteral(".XXXXXX.part")));
    if (!FTemporary->open()) {
        FError =
            QStringLiteral("无法在 %1 创建文件：%2")
                .arg(QDir::toNativeSeparators(Target.absolutePath()), FTemporary->errorString());
        FTemporary.reset();
        return false;
    }
    return true;
}

QString TCellOutputFile::TemporaryName() const {
    return FTemporary ? FTemporary->fileName() : QString();
}

bool TCellOutputFile::Write(const QByteArray& AData) {
    if (!FTemporary)
        return false;
    // A short write or a failed flush is a full disk or a failing device;
    // neither is reported by QFileDevice otherwise.
    if (FTemporary->write(AData) != AData.size() || !FTemporary->flush()) {
        FError = QStringLiteral("写入 %1 失败：%2").arg(FFileName, FTemporary->errorString());
        return false;
    }
    return true;
}

TCellOutputFile::TCommit TCellOutputFile::Commit() {
    if (!FTemporary)
        return MoveFailed;
    if (!FTemporary->flush() || ::fsync(FTemporary->handle()) != 0) {
        FError = QStringLiteral("写入 %1 失败：%2").arg(FFileName, SystemReason());
        return SyncFailed;
    }
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
                       : QStringLiteral("无法保存为 %1：%2").arg(FFileName, SystemReason());
        return Taken ? NameTaken : MoveFailed;
    }
    FTemporary->setAutoRemove(false);
    FTemporary.reset();
    return Committed;
}
