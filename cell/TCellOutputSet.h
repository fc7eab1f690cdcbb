#pragma once

#include "TCellOutputFile.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>
#include <vector>

// Files that appear together or not at all. Each is written whole under its
// temporary name as usual (TCellOutputFile) and then held here, synced to
// disk, instead of being moved onto its name; CommitAll moves them in, in
// the order they were held. A set destroyed before that removes every
// temporary file it holds, so the names keep what they had: a run that
// fails half way leaves the files of the run before it as they were.
class TCellOutputSet {
public:
    TCellOutputSet() = default;
    ~TCellOutputSet() = default;
    TCellOutputSet(const TCellOutputSet&) = delete;
    TCellOutputSet& operator=(const TCellOutputSet&) = delete;

    // Syncs AFile's temporary file and takes it over: Committed when held,
    // SyncFailed (AFile, with its error, stays with the caller) otherwise.
    // Writers on several threads may hold files at once.
    TCellOutputFile::TCommit Hold(std::unique_ptr<TCellOutputFile>& AFile);
    // Moves every held file onto its name, in order, and stops at the first
    // that cannot be moved (Error() says which and why).
    bool CommitAll();
    // The file names (without folder) moved in by CommitAll.
    const QStringList& Committed() const { return FCommitted; }
    // The file names (without folder) held and not yet moved in.
    QStringList Held() const;
    const QString& Error() const { return FError; }

private:
    mutable std::mutex FLock;
    std::vector<std::unique_ptr<TCellOutputFile>> FFiles;
    QStringList FCommitted;
    QString FError;
};
