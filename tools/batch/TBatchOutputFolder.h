#pragma once

#include <QString>
#include <QStringList>

// The folder a run writes its tables into, held for the run's duration:
// two runs into one folder would mix their tables. The hold is a lock on
// the folder itself, which the system releases when the process ends
// however it ends: a killed run leaves nothing blocking, and no run leaves
// a file of its own machinery behind.
class TBatchOutputFolder {
public:
    explicit TBatchOutputFolder(QString APath);
    ~TBatchOutputFolder();
    TBatchOutputFolder(const TBatchOutputFolder&) = delete;
    TBatchOutputFolder& operator=(const TBatchOutputFolder&) = delete;

    // Checks the path, makes the folder, proves it writable, takes the
    // folder (waiting up to AWaitMs for another run to let go of it) and
    // removes the temporary files of interrupted runs that no process holds
    // open. False with Error() otherwise.
    bool Prepare(int AWaitMs);
    const QString& Error() const { return FError; }
    const QString& Path() const { return FPath; }
    // Leftovers of interrupted runs that Prepare removed.
    const QStringList& RemovedLeftovers() const { return FRemoved; }

    // Why a path cannot serve as a folder of tables: too long for the file
    // system, in all or in one of its parts; empty text when it can.
    static QString PathProblem(const QString& APath);
    // Why the run may not go into APath: a symbolic link another user
    // made there (in a folder others can write, it could send the run's
    // files into a folder of that user's choosing); empty text otherwise.
    // A link of the running user's own, or of the system's administrator,
    // is followed.
    static QString LinkProblem(const QString& APath);

private:
    bool OpenFolder();
    bool CheckWritable();
    bool Lock(int AWaitMs);
    void RemoveLeftovers();

    QString FPath;
    QString FError;
    QStringList FRemoved;
    int FFolderFd = -1;
};
