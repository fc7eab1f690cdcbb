#include "TempDir.h"

#include <QCoreApplication>

TempDir::TempDir() {
    FDir.setAutoRemove(true);
}

QString BinaryDir() {
    const QString FromEnv = qEnvironmentVariable("VARNHOLT_BIN_DIR");
    return FromEnv.isEmpty() ? QCoreApplication::applicationDirPath() : FromEnv;
}

QString SourceDir() {
    return qEnvironmentVariable("VARNHOLT_SOURCE_DIR");
}
