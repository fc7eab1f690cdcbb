#include "TCellOutputSet.h"

#include <QFileInfo>

TCellOutputFile::TCommit TCellOutputSet::Hold(std::unique_ptr<TCellOutputFile>& AFile) {
    if (!AFile->Sync())
        return TCellOutputFile::SyncFailed;
    const std::lock_guard<std::mutex> Guard(FLock);
    FFiles.push_back(std::move(AFile));
    return TCellOutputFile::Committed;
}

bool TCellOutputSet::CommitAll() {
    const std::lock_guard<std::mutex> Guard(FLock);
    for (auto& File : FFiles) {
        if (!File)
            continue;
        if (File->Commit() != TCellOutputFile::Committed) {
            FError = File->Error();
            return false;
        }
        FCommitted << QFileInfo(File->FileName()).fileName();
        File.reset();
    }
    FFiles.clear();
    return true;
}

QStringList TCellOutputSet::Held() const {
    const std::lock_guard<std::mutex> Guard(FLock);
    QStringList Names;
    for (const auto& File : FFiles) {
        if (File)
            Names << QFileInfo(File->FileName()).fileName();
    }
    return Names;
}
