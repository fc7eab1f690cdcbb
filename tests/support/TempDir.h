#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary folder that lives as long as the test that made it.
class TempDir {
public:
    TempDir();
    QString Path() const { return FDir.path(); }
    QString File(const QString& AName) const { return FDir.filePath(AName); }

private:
    QTemporaryDir FDir;
};

// Points the per-user configuration folder at a temporary folder for the
// life of the object, so tests of the per-user store never touch the real
// home.
class TempConfigHome {
public:
    TempConfigHome();
    ~TempConfigHome();
    TempConfigHome(const TempConfigHome&) = delete;
    TempConfigHome& operator=(const TempConfigHome&) = delete;
    QString Path() const { return FDir.Path(); }

private:
    TempDir FDir;
    QByteArray FOld;
    bool FHadOld;
};

// Folders the build tells the tests about: the binaries and the source tree.
QString BinaryDir();
QString SourceDir();

// The whole content of a file (the test fails when it cannot be read), and a
// file written anew with AData.
QByteArray ReadBytes(const QString& AFileName);
void WriteBytes(const QString& AFileName, const QByteArray& AData);
// A FIFO named AName in ADir, for code that must refuse anything but a
// regular file without hanging on it.
QString MakeFifo(const TempDir& ADir, const QString& AName);
