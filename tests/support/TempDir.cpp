#include "TempDir.h"

#include <QCoreApplication>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

TempDir::TempDir() {
    FDir.setAutoRemove(true);
}

TempConfigHome::TempConfigHome()
    : FOld(qgetenv("XDG_CONFIG_HOME"))
    , FHadOld(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
    qputenv("XDG_CONFIG_HOME", FDir.Path().toLocal8Bit());
}

TempConfigHome::~TempConfigHome() {
    if (FHadOld)
        qputenv("XDG_CONFIG_HOME", FOld);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

QString BinaryDir() {
    const QString FromEnv = qEnvironmentVariable("VARNHOLT_BIN_DIR");
    return FromEnv.isEmpty() ? QCoreApplication::applicationDirPath() : FromEnv;
}

QString SourceDir() {
    const QString FromEnv = qEnvironmentVariable("VARNHOLT_SOURCE_DIR");
    return FromEnv.isEmpty() ? QStringLiteral(VARNHOLT_TEST_SOURCE_DIR) : FromEnv;
}

QByteArray ReadBytes(const QString& AFileName) {
    QFile File(AFileName);
    EXPECT_TRUE(File.open(QIODevice::ReadOnly)) << AFileName.toStdString();
    return File.readAll();
}

void WriteBytes(const QString& AFileName, const QByteArray& AData) {
    QFile File(AFileName);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly)) << AFileName.toStdString();
    File.write(AData);
}

QString MakeFifo(const TempDir& ADir, const QString& AName) {
    const QString Fifo = ADir.File(AName);
    EXPECT_EQ(::mkfifo(QFile::encodeName(Fifo).constData(), 0600), 0) << Fifo.toStdString();
    return Fifo;
}
