// The selection at the left of every printed page's line.
#include "report/tables/ReportPageSelection.h"
#include "report/tables/TReportFilter.h"

#include <gtest/gtest.h>

// The sub-type only for 预算数 and only while it is one of the three; an
// ampersand never read as a page number; a name too long cut short.
TEST(PageSelection, NamesUnitYearTypeAndSubType) {
    const QString Long = QStringLiteral("甲").repeated(70);
    const struct {
        const char* BType;
        int SubType;
        QString Unit;
        QString BTypeText;
        QString Expected;
    } Cases[] = {
        {"1", 0, "省教育厅", "预算数", "省教育厅　2024年预算数（当年预算）"},
        {"1", 1, "省教育厅", "预算数", "省教育厅　2024年预算数（结余预算）"},
        {"1", 2, "省教育厅", "预算数", "省教育厅　2024年预算数（追加预算）"},
        {"1", 3, "省教育厅", "预算数", "省教育厅　2024年预算数"},
        {"1", -1, "省教育厅", "预算数", "省教育厅　2024年预算数"},
        {"4", 0, "全省", "临时指标", "全省　2024年临时指标"},
        {"1", 0, " R&S  &P公司 ", "预算数", "R＆S ＆P公司　2024年预算数（当年预算）"},
        {"2", 0, Long.left(60), "控制数", Long.left(60) + "　2024年控制数"},
        {"2", 0, Long.left(61), "控制数", Long.left(59) + "…　2024年控制数"},
    };
    for (const auto& Case : Cases) {
        TReportFilter Filter;
        Filter.Year = 2024;
        Filter.BTypeIndex = QString::fromUtf8(Case.BType);
        Filter.SubTypeIndex = Case.SubType;
        Filter.UnitName = Case.Unit;
        EXPECT_EQ(ReportPageSelection(Filter, Case.BTypeText).toStdString(),
                  Case.Expected.toStdString());
    }
}
