#pragma once

#include <QString>

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
// The audit results of a run of every table, in AFolder beside them.
QString AuditFilePath(const QString& AFolder, int AYear, const QString& ABTypeText);
