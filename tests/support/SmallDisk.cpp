#include "SmallDisk.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

SmallDisk::SmallDisk(int AKilobytes) {
    if (::geteuid() != 0) {
        FReason = QStringLiteral("mounting a small tmpfs for a full disk needs root");
        return;
    }
    const QByteArray Options = "size=" + QByteArray::number(AKilobytes) + "k,mode=0777";
    if (!FDir.isValid() || ::mount("varnholt-test", QFile::encodeName(FDir.path()).constData(),
                                   "tmpfs", 0, Options.constData()) != 0) {
        FReason = QStringLiteral("cannot mount a tmpfs: %1")
                      .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    FMounted = true;
}

SmallDisk::~SmallDisk() {
    if (FMounted)
        ::umount2(QFile::encodeName(FDir.path()).constData(), MNT_DETACH);
}

qint64 SmallDisk::FreeBytes() const {
    struct statvfs Status {};
    if (::statvfs(QFile::encodeName(FDir.path()).constData(), &Status) != 0)
        return -1;
    return static_cast<qint64>(Status.f_bavail) * static_cast<qint64>(Status.f_frsize);
}

void SmallDisk::Fill(qint64 AFreeBytes) {
    QFile Filler(File(QStringLiteral(".filler")));
    if (!Filler.open(QIODevice::Append | QIODevice::Unbuffered))
        return;
    const QByteArray Block(4096, 'f');
    while (FreeBytes() > AFreeBytes) {
        const qint64 Want = std::min<qint64>(Block.size(), FreeBytes() - AFreeBytes);
        if (Filler.write(Block.constData(), Want) <= 0)
            break;
    }
}

bool SmallDisk::MakeReadOnly() {
    return FMounted && ::mount("varnholt-test", QFile::encodeName(FDir.path()).constData(), "tmpfs",
                               MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}
