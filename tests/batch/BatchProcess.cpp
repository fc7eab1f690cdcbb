#include "BatchProcess.h"

#include "support/TempDir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

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

TPipedBatch::TPipedBatch(const QString& AConnection, const QStringList& AArguments)
    : FDir(std::make_unique<TempDir>()) {
    int Pipe[2];
    if (::pipe(Pipe) != 0) {
        ADD_FAILURE() << "no pipe";
        return;
    }
    const QByteArray Program = QFile::encodeName(BinaryDir() + "/varnholt-batch");
    const QByteArray ErrorFile = QFile::encodeName(FDir->File("stderr"));
    QList<QByteArray> Arguments{Program, "--connection", AConnection.toUtf8()};
    for (const QString& Argument : AArguments)
        Arguments << Argument.toUtf8();
    std::vector<char*> Argv;
    for (QByteArray& Argument : Arguments)
        Argv.push_back(Argument.data());
    Argv.push_back(nullptr);
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_adddup2(&Actions, Pipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&Actions, Pipe[0]);
    posix_spawn_file_actions_addclose(&Actions, Pipe[1]);
    posix_spawn_file_actions_addopen(&Actions, STDERR_FILENO, ErrorFile.constData(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::posix_spawn(&FPid, Program.constData(), &Actions, nullptr, Argv.data(), environ) != 0)
        FPid = -1;
    posix_spawn_file_actions_destroy(&Actions);
    ::close(Pipe[1]);
    FOut = Pipe[0];
    EXPECT_GT(FPid, 0) << "varnholt-batch did not start";
}

TPipedBatch::~TPipedBatch() {
    if (FPid > 0) {
        ::kill(FPid, SIGKILL);
        ::waitpid(FPid, nullptr, 0);
    }
    CloseOutput();
}

QString TPipedBatch::ReadLine() {
    QByteArray Line;
    char C = 0;
    while (FOut >= 0 && ::read(FOut, &C, 1) == 1 && C != '\n')
        Line += C;
    return QString::fromUtf8(Line);
}

void TPipedBatch::Stop() {
    ::kill(FPid, SIGSTOP);
}

void TPipedBatch::Resume() {
    ::kill(FPid, SIGCONT);
}

void TPipedBatch::CloseOutput() {
    if (FOut >= 0)
        ::close(FOut);
    FOut = -1;
}

int TPipedBatch::Wait() {
    char Buffer[4096];
    while (FOut >= 0 && ::read(FOut, Buffer, sizeof Buffer) > 0) {
    }
    int Status = 0;
    if (FPid <= 0 || ::waitpid(FPid, &Status, 0) != FPid)
        return -1;
    FPid = -1;
    return WIFSIGNALED(Status) ? 128 + WTERMSIG(Status) : WEXITSTATUS(Status);
}

QString TPipedBatch::Errors() const {
    return ReadText(FDir->File("stderr"));
}
