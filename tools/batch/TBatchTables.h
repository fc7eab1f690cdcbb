#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One table of a run: the summary (empty code) or a fund nature's detail
// table, told apart by code, never by name.
struct TBatchTable {
    QString Code;
    // The fund nature's name, "<全部>" for the summary.
    QString Name;
    // What the run's lines call it: 汇总表, or the fund nature's name (with
    // its code when the name is not unique).
    QString Caption;
    // The file path without its extension.
    QString Stem;
};

// The tables of a selection: the summary table first, then each fund
// nature (code, name) in the list's order, named as the window's
// continuous export names them. Where two tables would get one name (two
// fund natures of one name, or one named like the summary), the fund
// natures' names carry their codes, "政府性基金（12）"; AClashes lists them.
QList<TBatchTable> BatchTables(const QList<QPair<QString, QString>>& AFunds, const QString& AFolder,
                               int AYear, const QString& ABTypeText, QStringList& AClashes);
