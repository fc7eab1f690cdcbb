#pragma once

#include <QString>

// The detail table of fund nature 11 for the whole province, step by step:
// its query alone (through Qt SQL, every row fetched) as the baseline, the
// fill, the audit within it, the workbook and the PDF, each against the
// baseline of the same run. Needs the host context set.
void BenchDetailSteps(const QString& AOutFolder);
