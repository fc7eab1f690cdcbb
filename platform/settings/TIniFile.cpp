#include "TIniFile.h"

#include "DiskFullReason.h"
#include "TIniDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMutex>
#include <QMutexLocker>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

namespace {

// One lock for every INI file of the process: settings are written rarely,
// and a single lock cannot be bypassed by two spellings of one path. The
// lock file beside the INI file covers other processes.
Q_GLOBAL_STATIC(QMutex, IniWriteLock)

// Long enough for any other writer to finish; a lock left by a process that
// died is taken over at once (QLockFile sees that its owner is gone).
constexpr int LockWaitMs = 10000;

QString SystemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

EInOutError ReadError(const QString& AFileName, const QString& AReason) {
    return EInOutError(QStringLiteral("无法读取文件%1：%2").arg(AFileName, AReason));
}

// The bytes of a regular file, or nothing when it does not exist. Opened
// without blocking and checked before reading, so a FIFO or a device under
// the name is refused instead of hanging or reading without end.
std::optional<QByteArray> ReadRegularFile(const QString& AFileName) {
    const int Handle =
        ::open(QFile::encodeName(AFileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (Handle < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throw ReadError(AFileName, SystemReason());
    }
    QFile File;
    File.open(Handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat Status {};
    if (::fstat(Handle, &Status) != 0)
        throw ReadError(AFileName, SystemReason());
    if (!S_ISREG(Status.st_mode))
        throw ReadError(AFileName, QStringLiteral("不是普通文件"));
    const QByteArray Data = File.read(TIniFile::MaxFileBytes + 1);
    if (File.error() != QFileDevice::NoError)
        throw ReadError(AFileName, File.errorString());
    if (Data.size() > TIniFile::MaxFileBytes)
        throw ReadError(AFileName, QStringLiteral("文件超过 16 MB，不是设置文件"));
    return Data;
}

TIniDocument ReadDocument(const QString& AFileName) {
    const std::optional<QByteArray> Data = ReadRegularFile(AFileName);
    return Data ? TIniDocument::Parse(*Data) : TIniDocument();
}

QString Folder(const QString& AFileName) {
    return QFileInfo(AFileName).absolutePath();
}

QString LockFailure(const QLockFile& ALock, const QString& AFileName, int AErrno) {
    switch (ALock.error()) {
    case QLockFile::LockFailedError:
        return QStringLiteral("另一个程序正在写入");
    case QLockFile::PermissionError:
        return QStringLiteral("不能在其文件夹中创建锁文件");
    default: {
        const QString DiskFull = DiskFullReason(AErrno, Folder(AFileName), 1);
        return DiskFull.isEmpty() ? QStringLiteral("锁文件出错") : DiskFull;
    }
    }
}

// The mode bits count on their own: a privileged user could still write the
// file, but its owner marked it read-only.
bool IsReadOnly(const QFileInfo& AInfo) {
    const QFile::Permissions AnyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return !AInfo.isWritable() || !(AInfo.permissions() & AnyWrite);
}

// A failed write, read right after the failure: a full disk says so, any
// other cause passes on what Qt says.
EInOutError WriteError(const QString& AFileName, qint64 ABytes, const QString& AQtReason) {
    const int Errno = errno;
    const QString DiskFull = DiskFullReason(Errno, Folder(AFileName), ABytes);
    return EInOutError(QStringLiteral("无法写入文件%1：%2")
                           .arg(AFileName, DiskFull.isEmpty() ? AQtReason : DiskFull));
}

// Every byte must reach the file before the new file replaces the old one:
// QSaveFile commits even when its last flush failed (a full disk), which
// would replace the settings with a truncated file.
void SaveDocument(const QString& AFileName, const TIniDocument& ADocument) {
    const QFileInfo Info(AFileName);
    if (Info.exists() && !Info.isFile())
        throw EInOutError(QStringLiteral("%1不是普通文件，不能写入").arg(AFileName));
    if (Info.exists() && IsReadOnly(Info))
        throw EInOutError(QStringLiteral("文件%1是只读文件，不能写入").arg(AFileName));
    QSaveFile File(AFileName);
    const QByteArray Data = ADocument.ToBytes();
    errno = 0;
    const bool Written = File.open(QIODevice::WriteOnly) && File.write(Data) == Data.size() &&
                         File.flush() && File.error() == QFileDevice::NoError;
    if (!Written) {
        const EInOutError Error = WriteError(AFileName, Data.size(), File.errorString());
        File.cancelWriting();
        throw Error;
    }
    if (!File.commit())
        throw WriteError(AFileName, Data.size(), File.errorString());
}

} // namespace

TIniFile::TIniFile(QString AFileName)
    : FFileName(std::move(AFileName)) {}

TIniFile::~TIniFile() = default;

void TIniFile::CreateIfMissing() const {
    if (QFileInfo::exists(FFileName))
        return;
    QFile File(FFileName);
    // NewOnly: a file that another writer has just made is left alone.
    if (!File.open(QIODevice::WriteOnly | QIODevice::NewOnly) && !QFileInfo::exists(FFileName))
        throw EInOutError(QStringLiteral("无法创建文件%1：%2").arg(FFileName, File.errorString()));
}

bool TIniFile::SectionExists(const QString& ASection) {
    return Document().HasSection(ASection);
}

void TIniFile::AddSection(const QString& ASection) {
    Modify([&](TIniDocument& ADocument) {
        if (ADocument.HasSection(ASection))
            return false;
        ADocument.AddSection(ASection);
        return true;
    });
}

QStringList TIniFile::ReadSections() {
    return Document().SectionNames();
}

QStringList TIniFile::ReadSection(const QString& ASection) {
    return Document().KeyNames(ASection);
}

QString TIniFile::ReadString(const QString& ASection, const QString& AIdent,
                             const QString& ADefault) {
    return Document().Value(ASection, AIdent).value_or(ADefault);
}

void TIniFile::WriteString(const QString& ASection, const QString& AIdent, const QString& AValue) {
    Modify([&](TIniDocument& ADocument) {
        ADocument.SetValue(ASection, AIdent, AValue);
        return true;
    });
}

const TIniDocument& TIniFile::Document() {
    if (!FDocument)
        FDocument = std::make_unique<TIniDocument>(ReadDocument(FFileName));
    return *FDocument;
}

// The file is read afresh under both locks, so a value that another thread
// or process wrote a moment ago is edited, not overwritten.
void TIniFile::Modify(const std::function<bool(TIniDocument&)>& AEdit) {
    QMutexLocker Lock(IniWriteLock());
    QLockFile FileLock(FFileName + QStringLiteral(".lock"));
    errno = 0;
    if (!FileLock.tryLock(LockWaitMs))
        throw EInOutError(QStringLiteral("无法锁定文件%1：%2")
                              .arg(FFileName, LockFailure(FileLock, FFileName, errno)));
    auto Fresh = std::make_unique<TIniDocument>(ReadDocument(FFileName));
    if (AEdit(*Fresh))
        SaveDocument(FFileName, *Fresh);
    FDocument = std::move(Fresh);
}
