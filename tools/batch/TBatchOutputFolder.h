#pragma once

#include <QString>
#include <QStringList>

// The folder a run writes its tables into, held for the run's duration:
// two runs into one folder would mix their tables. The hold is a lock on a
// hidden file in the folder, which the system releases when the process
// ends however it ends, so a killed run leaves nothing blocking.
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
    // Tables of this program's naming in the folder that are not among
    // AWritten (file names): tables another unit, type or year left there.
    QStringList OtherTables(const QStringList& AWritten) const;

    // Why a path cannot serve as a folder of tables: too long for the file
    // system, in all or in one of its parts; empty text when it can.
    static QString PathProblem(const QString& APath);

private:
    bool CheckWritable();
    bool Lock(int AWaitMs);
    void RemoveLeftovers();

    QString FPath;
    QString FError;
    QStringList FRemoved;
    int FLockFd = -1;
};
