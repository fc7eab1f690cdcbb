#pragma once

#include <QString>
#include <QTemporaryDir>

// A small tmpfs mounted on a temporary folder for the life of the object, to
// see what code does on a full disk or on a read-only share. Mounting needs
// root (CI runs as root); elsewhere, or when the mount fails, Mounted() is
// false and Reason() says why, for the test's skip message.
class SmallDisk {
public:
    explicit SmallDisk(int AKilobytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return FMounted; }
    const QString& Reason() const { return FReason; }
    QString File(const QString& AName) const { return FDir.filePath(AName); }

    // Fills the disk with a filler file until at most AFreeBytes are left.
    void Fill(qint64 AFreeBytes = 0);
    qint64 FreeBytes() const;
    // Remounts the disk read-only, for root too; false when that failed.
    bool MakeReadOnly();

private:
    QTemporaryDir FDir;
    bool FMounted = false;
    QString FReason;
};
