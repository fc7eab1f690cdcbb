#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The names exported tables are saved under. AFundText is the fund-nature
// list's text ("<全部>" names the summary table "汇总"), ABTypeText the
// indicator type's.

// The name the save dialog proposes for one table.
QString SingleExportFileName(const QString& AUnitName, int AYear, const QString& ABTypeText,
                             const QString& AFundText);
// The path of one table of a continuous export into AFolder: no unit name,
// and exactly one separator between folder and file.
QString ContinuousExportPath(const QString& AFolder, int AYear, const QString& ABTypeText,
                             const QString& AFundText);
// The fund texts the files of a list of tables are named by, one per entry
// (code, name; the summary has no code and the name "<全部>"): the name,
// or, where two entries would give one file name (fund natures of one
// name, or one named like the summary), the name with its code,
// "政府性基金（12）".
QStringList FileFundTexts(const QList<QPair<QString, QString>>& AEntries);

// The folder of one unit's tables in a run over many units: "code name".
QString UnitFolderName(const QString& ACode, const QString& AName);

// The audit results of a run of every table, in AFolder beside them.
QString AuditFilePath(const QString& AFolder, int AYear, const QString& ABTypeText);
// The list of units of a run over each unit, in AFolder beside their
// folders.
QString UnitListPath(const QString& AFolder, int AYear, const QString& ABTypeText);

// Whether a file name is one of the names above (a table of a continuous
// export, an audit file or a list of units).
bool IsReportFileName(const QString& AName);
// Whether it is an audit file's or a list of units' name.
bool IsAuditFileName(const QString& AName);
// Whether it is the temporary name such a file is written under first.
bool IsTemporaryReportFileName(const QString& AName);
