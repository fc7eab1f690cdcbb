#pragma once

#include "TRunRecord.h"

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// What a folder holds of this program's files, and whose they are: the
// records a run leaves (the audit file of a selection, the list of units
// of a run over each unit) and the tables they list. A folder holds the
// set of one selection; a run of another one may replace it whole, never
// add to it. Only files of the running user's are counted: a record or a
// link another user put there under one of the program's names is none of
// the program's (and what such a record lists counts as unaccounted for).
class TFolderSet {
public:
    // Reads AFolder (a folder that does not exist holds nothing).
    explicit TFolderSet(QString AFolder);

    // Why a run of ASelection may not write here without replacing what
    // the folder holds: the selection of another set, or tables no record
    // accounts for; empty text when the folder holds nothing of this
    // program's or only ASelection's own set.
    QString Conflict(const TRunSelection& ASelection) const;
    // The files of this program's naming in the folder.
    const QStringList& Files() const { return FFiles; }
    // The unit folders the records of runs over each unit list.
    QStringList UnitFolders() const;
    // Removes the files of this program's naming that are not in AKeep
    // and, in each unit folder the records list and AKeepFolders does not
    // (a real folder of the running user's), the files that folder's own
    // records list, and the folder when nothing else is left in it. Returns
    // what it removed, as names in the folder.
    QStringList RemoveExcept(const QStringList& AKeep,
                             const QStringList& AKeepFolders = QStringList()) const;

private:
    void ReadRecord(const QString& AName);
    QStringList ListedNames() const;
    QStringList Unlisted() const;
    QStringList RemoveUnitFolder(const QString& AUnit) const;

    QString FFolder;
    QStringList FFiles;
    std::vector<std::pair<QString, TRunRecord>> FRecords;
    QStringList FUnreadable;
};

// The run's line for what RemoveExcept removed: how many, and the first
// few names.
QString RemovedLine(const QStringList& ARemoved);
