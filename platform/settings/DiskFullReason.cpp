#include "DiskFullReason.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <sys/statvfs.h>

namespace {

// Bytes an unprivileged writer may still use in AFolder; -1 when unknown.
qint64 FreeBytes(const QString& AFolder) {
    struct statvfs Status {};
    if (::statvfs(QFile::encodeName(AFolder).constData(), &Status) != 0)
        return -1;
    return qint64(Status.f_bavail) * qint64(Status.f_frsize);
}

} // namespace

QString DiskFullReason(int AErrno, const QString& AFolder, qint64 ANeededBytes) {
    if (AErrno == EDQUOT)
        return QStringLiteral("已超出磁盘配额");
    if (AErrno == ENOSPC)
        return QStringLiteral("磁盘空间已满");
    if (AErrno != 0)
        return QString(); // the system named another cause
    const qint64 Free = FreeBytes(AFolder);
    if (Free >= 0 && Free < std::max<qint64>(ANeededBytes, 1))
        return QStringLiteral("磁盘空间已满");
    return QString();
}
