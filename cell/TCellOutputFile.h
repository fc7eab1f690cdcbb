#pragma once

#include <QString>
#include <memory>

class QByteArray;
class QTemporaryFile;

// A PDF or workbook that appears whole under its name or not at all. The
// content goes into a temporary file beside the target, is synced to disk
// and only then moved onto the name; a failure on the way (a full disk, a
// rename refused) leaves the target as it was and removes the temporary
// file.
//
// The target is checked first: a read-only file is refused, as is a folder,
// a device or a FIFO, and a name too long for the file system. A symbolic
// link of the running user's own is written through: the file it points to
// is replaced and the link stays; a link to nothing is refused, and so is a
// link that belongs to another user (planted in a folder others can write
// to, it could make the program replace a file outside it). While the
// temporary file exists it is registered with TPendingOutputs, so that an
// interrupted program can remove it.
class TCellOutputFile {
public:
    enum TMode { Replace, KeepExisting };
    enum TCommit { Committed, SyncFailed, MoveFailed, NameTaken };

    explicit TCellOutputFile(QString AFileName, TMode AMode = Replace);
    ~TCellOutputFile();
    TCellOutputFile(const TCellOutputFile&) = delete;
    TCellOutputFile& operator=(const TCellOutputFile&) = delete;

    // Checks the target and makes the temporary file; false, with Error(),
    // when the target may not be written or nothing can be created there.
    bool Open();
    // The temporary file, for writers that open a file by name themselves.
    QString TemporaryName() const;
    // Appends AData to the temporary file; false when not every byte got there.
    bool Write(const QByteArray& AData);
    // Flushes the temporary file and syncs it to disk; false, with Error(),
    // when the disk refused (full, failing).
    bool Sync();
    // Syncs the temporary file and moves it onto the target. With
    // KeepExisting, a target that has appeared meanwhile is left alone and
    // the result is NameTaken.
    TCommit Commit();
    const QString& Error() const { return FError; }
    // The name the file was asked for (a link's own name, not its target).
    const QString& FileName() const { return FFileName; }

    // Whether APath is a symbolic link that belongs to another user than
    // the one running the program: such a link is neither written through
    // nor counted as the program's own.
    static bool IsForeignLink(const QString& APath);

    // A system error in words: the cause in Chinese first ("磁盘已满"), the
    // system's own words after it. AFolder, where a file was to be made,
    // tells a missing folder from one that takes no new files.
    static QString SystemReason(int ACode, const QString& AFolder = QString());

private:
    bool ResolveTarget();
    void ReleaseSlot();

    QString FFileName;
    QString FTarget; // FFileName with symbolic links resolved
    TMode FMode;
    std::unique_ptr<QTemporaryFile> FTemporary;
    QString FError;
    int FPendingSlot = -1;
    // Whether the temporary file's content is on disk: a file held in a set
    // is synced once, before the moment the set is moved in.
    bool FSynced = false;
};
