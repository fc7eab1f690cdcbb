#include "CrossTableAudit.h"

#include "TFillResult.h"

#include <utility>
#include <vector>

namespace {

// Summary column, detail column and the heading both stand under. The
// summary's columns 3 to 6 hold basic and project expenditure, for state
// capital its capital and expense expenditure, which the detail table of
// fund 31 shows (direct payment only) in its columns 7 and 8.
using TPairs = std::vector<std::pair<int, int>>;

TPairs ComparedColumns(const QString& AFundCode) {
    if (AFundCode == QLatin1String("11"))
        return {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}};
    if (AFundCode == QLatin1String("12"))
        return {{0, 0}, {3, 3}, {4, 4}, {5, 5}, {6, 6}};
    if (AFundCode == QLatin1String("31"))
        return {{0, 0}, {3, 7}, {5, 8}, {7, 9}};
    return {{0, 0}};
}

QString ColumnName(int ASummaryColumn) {
    static const char* const Names[] = {
        "预算数",           "基本支出暂按原渠道", "项目支出暂按原渠道", "基本支出直接支付",
        "基本支出授权支付", "项目支出直接支付",   "项目支出授权支付",   "其他支出直接支付"};
    return QString::fromUtf8(Names[ASummaryColumn]);
}

} // namespace

void CompareWithSummary(const TFillResult& ASummary, const QString& AFundCode,
                        TFillResult& ADetail) {
    const auto Block = ASummary.BlockTotals.find(AFundCode);
    if (Block == ASummary.BlockTotals.end() || !ASummary.Audit.Ran || !ADetail.Audit.Ran)
        return;
    for (const auto& [SummaryColumn, DetailColumn] : ComparedColumns(AFundCode)) {
        const double InSummary = Block->second[std::size_t(SummaryColumn)];
        const double InDetail = ADetail.GrandTotal[std::size_t(DetailColumn)];
        if (!TAuditAmounts::Same(InSummary, InDetail)) {
            ADetail.Audit.Fail(QStringLiteral("与汇总表不符：%1在汇总表中比本表合计多")
                                   .arg(ColumnName(SummaryColumn)),
                               InSummary - InDetail);
            return;
        }
    }
}
