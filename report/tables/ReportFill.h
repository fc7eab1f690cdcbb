#pragma once

#include "TFillResult.h"

#include <QString>

class TCellDocument;
class TReportProgress;
struct TReportContext;

// Draws the table the report window shows for a fund nature: the summary
// table for an empty code ("<全部>", or no fund nature with data), the
// fund nature's detail table otherwise.
TFillResult FillReport(TCellDocument& AGrid, const TReportContext& AContext,
                       const QString& AFundCode, bool ANumbersAsValues,
                       TReportProgress* AProgress = nullptr);

// The amount column's header on the shown grid names the indicator type:
// "临时指标" for temporary indicators, "预算数" otherwise.
void WriteAmountHeader(TCellDocument& AGrid, const QString& AFundCode, const QString& ABTypeText);
// Whether the grid holds that header already (the templates' own reads
// "预算数").
bool HasAmountHeader(const TCellDocument& AGrid, const QString& AFundCode,
                     const QString& ABTypeText);
