#include "BatchProcess.h"

#include "support/TempDir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

TRun Finish(QProcess& AProcess) {
    EXPECT_TRUE(AProcess.waitForFinished(180000));
    return {AProcess.exitCode(), AProcess.exitStatus() == QProcess::CrashExit,
            QString::fromLocal8Bit(AProcess.readAllStandardOutput()),
            QString::fromLocal8Bit(AProcess.readAllStandardError())};
}

} // namespace

TRun RunBatch(const QString& AConnection, const QStringList& AArguments,
              const QProcessEnvironment& AEnvironment) {
    QProcess Process;
    Process.setProcessEnvironment(AEnvironment);
    Process.start(BinaryDir() + "/varnholt-batch",
                  QStringList{"--connection", AConnection} + AArguments);
    return Finish(Process);
}

TRun RunScript(const QString& AOut, const QStringList& AArguments) {
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    Environment.insert("VARNHOLT_OUT", AOut);
    Environment.insert("VARNHOLT_SKIP_BUILD", "1");
    Environment.insert("BUILD_DIR", QDir(BinaryDir()).absoluteFilePath(".."));
    QProcess Process;
    Process.setProcessEnvironment(Environment);
    Process.start("bash", QStringList{SourceDir() + "/scripts/run-batch.sh"} + AArguments);
    return Finish(Process);
}

QString ReadText(const QString& AFile) {
    QFile File(AFile);
    return File.open(QIODevice::ReadOnly) ? QString::fromUtf8(File.readAll()) : QString();
}

QStringList Entries(const QString& AFolder) {
    return QDir(AFolder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
}

QMap<QString, QByteArray> Snapshot(const QString& AFolder) {
    QMap<QString, QByteArray> Files;
    QDirIterator Walk(AFolder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (Walk.hasNext()) {
        const QString Path = Walk.next();
        QFile File(Path);
        Files.insert(QDir(AFolder).relativeFilePath(Path),
                     File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray("?"));
    }
    return Files;
}

QStringList RecordField(const QString& AText, const QString& AKey) {
    for (const QString& Line : AText.split('\n')) {
        if (Line.isEmpty())
            break;
        QStringList Fields = Line.split('\t');
        if (Fields.takeFirst().remove(QChar(0xFEFF)) == AKey)
            return Fields;
    }
    return {};
}
