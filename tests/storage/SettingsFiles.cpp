#include "SettingsFiles.h"

#include <QFile>
#include <gtest/gtest.h>

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
