#pragma once

#include "TFillResult.h"

class TCellDocument;
class TReportProgress;
struct TReportContext;

// The template of the summary table, in the host's template folder.
inline constexpr const char SummaryTemplateFile[] = "支付范围划分汇总表cll5.cll";

// Draws the summary proposal table into AGrid: the template with its
// heading, then a row per query row (split where amounts keep their former
// channel), the grand-total label and two note rows. Amounts are numbers
// when ANumbersAsValues, "#,###0.00" texts otherwise. A query that cannot
// be opened, or gives one row or none, leaves the heading alone. The result
// says whether the queries opened (and why not) and how the table passed
// its audit.
TFillResult FillSummaryTable(TCellDocument& AGrid, const TReportContext& AContext,
                             bool ANumbersAsValues, TReportProgress* AProgress = nullptr);
