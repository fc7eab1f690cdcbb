#pragma once

#include "TRunSelection.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The head of the files a run leaves beside its tables (each selection's
// audit file, and the list of units of a run over each unit): the
// selection the tables are of, the fund natures, the database, when, how
// the run ended, and which files and unit folders it wrote. A clerk reads
// it as the first lines of the file; a later run reads it to tell its own
// set from another's. Tab-separated fields after a Chinese key, one line
// each, then an empty line.
struct TRunRecord {
    TRunSelection Selection;
    // "11 公共财政预算资金", one per fund nature with a table.
    QStringList Funds;
    // The connection string without its password.
    QString Database;
    QDateTime Made;
    // "完成", or what kept the run from finishing.
    QString State;
    // The files of the set (names in the record's folder).
    QStringList Files;
    // A run over each unit: the unit folders it wrote.
    QStringList UnitFolders;

    // The head, ending in an empty line.
    QString Head() const;
    // Reads a head from a file's text; false when AText does not begin
    // with one this program wrote.
    bool Read(const QByteArray& AText);
};
