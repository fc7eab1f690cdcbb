#pragma once

#include "TFillResult.h"

#include <QString>

class TCellDocument;
class TReportProgress;
struct TReportContext;

// The templates of the detail table: state capital (fund nature 31) and the
// others, in the host's template folder.
inline constexpr const char StateCapitalTemplateFile[] = "支付范围划分明细表_国有资本cll5.cll";
inline constexpr const char DetailTemplateFile[] = "支付范围划分明细表_非国有资本cll5.cll";

// The detail template's file name for a fund nature.
QString DetailTemplateFor(const QString& AFundCode);

// Draws the detail proposal table of one fund nature into AGrid: the
// template with its titles, then a row per query row with running numbers
// per unit, special-account marks and the notes for amounts that keep
// their former channel. Amounts are numbers when ANumbersAsValues,
// "#,###0.00" texts otherwise. A query that cannot be opened, or gives one
// row or none, leaves the template with its titles. The result says whether
// the queries opened (and why not) and how the table passed its audit.
TFillResult FillDetailTable(TCellDocument& AGrid, const TReportContext& AContext,
                            const QString& AFundCode, bool ANumbersAsValues,
                            TReportProgress* AProgress = nullptr);
