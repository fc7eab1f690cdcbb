#pragma once

#include <QString>

struct TFillResult;

// Holds a fund nature's detail table against the summary table of the same
// selection: the fund nature's block total in the summary must equal the
// detail table's grand total, column by column where both show the same
// amounts. A difference goes into the detail table's audit, without a
// known cause. Fund natures outside the summary's four blocks are not
// compared (the summary's audit names them).
void CompareWithSummary(const TFillResult& ASummary, const QString& AFundCode,
                        TFillResult& ADetail);
