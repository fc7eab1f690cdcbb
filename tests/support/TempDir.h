#pragma once

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

// Folders the build tells the tests about: the binaries and the source tree.
QString BinaryDir();
QString SourceDir();
