#pragma once

#include <QByteArray>
#include <QMap>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <memory>
#include <sys/types.h>

class TempDir;

// varnholt-batch (and the script around it) run as processes, as a clerk or
// a scheduler runs them.
struct TRun {
    int ExitCode = -1;
    bool Crashed = false;
    QString Out;
    QString Err;
};

TRun RunBatch(const QString& AConnection, const QStringList& AArguments,
              const QProcessEnvironment& AEnvironment = QProcessEnvironment::systemEnvironment());
// scripts/run-batch.sh with the build as it is and AOut for its out/ folder.
TRun RunScript(const QString& AOut, const QStringList& AArguments);

QString ReadText(const QString& AFile);
// Files and folders in AFolder, hidden ones left out.
QStringList Entries(const QString& AFolder);
// Every file under AFolder, hidden ones and those of subfolders included,
// by its path below AFolder, with its bytes.
QMap<QString, QByteArray> Snapshot(const QString& AFolder);
// The fields of the line that begins with AKey in the head of a record the
// run left (an audit file or a list of units), tab-separated.
QStringList RecordField(const QString& AText, const QString& AKey);

// varnholt-batch started with its standard output on a pipe of the test's
// own: the test reads its lines as they come and can stop the process at a
// line (SIGSTOP), close the reading end, and let it go on, with no race
// against the machine's load.
class TPipedBatch {
public:
    TPipedBatch(const QString& AConnection, const QStringList& AArguments);
    ~TPipedBatch();
    TPipedBatch(const TPipedBatch&) = delete;
    TPipedBatch& operator=(const TPipedBatch&) = delete;

    // The next line of standard output (empty at its end).
    QString ReadLine();
    void Stop();
    void Resume();
    void CloseOutput();
    // Reads what is left of standard output, waits for the end and gives
    // the exit code, or 128 + the signal that ended the process.
    int Wait();
    // Standard error, once the process has ended.
    QString Errors() const;

private:
    std::unique_ptr<TempDir> FDir;
    pid_t FPid = -1;
    int FOut = -1;
};
