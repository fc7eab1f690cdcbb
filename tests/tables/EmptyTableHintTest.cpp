// Where a unit's data is when its selection shows none: the nearest
// selection with rows and what to change to reach it, for the batch tool
// and for the window; and the one counting query on every engine.
#include "report/tables/TEmptyTableHint.h"
#include "support/EngineFixture.h"

#include <gtest/gtest.h>

namespace {

using TSlice = TEmptyTableHint::TSlice;

// 2024, class 1, 预算数（当年预算）, unless a case says otherwise.
TReportFilter Selection(const char* AType = "1", int ASubType = 0) {
    return TReportFilter{2024, 1, QString::fromLatin1(AType), ASubType, "101", "省教育厅"};
}

class EmptyTableHintOnEngines : public TEngineTest {};

} // namespace

// Each case: where the rows are, then what the batch tool's reader and
// the window's reader are told to change (no window text: as another case).
TEST(EmptyTableHint, NamesTheNearestSelectionWithRowsAndHowToReachIt) {
    const struct {
        const char* What;
        TReportFilter Filter;
        QList<TSlice> Slices;
        const char* Where;
        const char* Batch;
        const char* Window;
    } Cases[] = {
        {"another class",
         Selection(),
         {{2024, 2, 1, 0, 11732}},
         "数据库中该单位 2024 年的预算数（当年预算）数据在单位类别 2 下（11732 行），"
         "当前为单位类别 1；",
         "请用 --unit-class 2",
         "请以单位类别 2 登录（参考宿主的选项 --unit-class 2）"},
        {"another sub-type",
         Selection(),
         {{2024, 1, 1, 1, 40}},
         "数据库中该单位 2024 年的数据在指标子类型“结余预算”下（40 行），"
         "当前为指标子类型“当年预算”；",
         "请用 --subtype 1",
         "请在“指标子类型”中选“结余预算”"},
        {"another type",
         Selection(),
         {{2024, 1, 0, -1, 7}},
         "数据库中该单位 2024 年的数据在指标类型“控制数”下（7 行），"
         "当前为指标类型“预算数（当年预算）”；",
         "请用 --btype 0",
         "请在“指标类型”中选“控制数”"},
        {"to the approved budget, with its sub-type",
         Selection("2", 1),
         {{2024, 1, 1, 2, 5}},
         "数据库中该单位 2024 年的数据在指标类型“预算数（追加预算）”下（5 行），"
         "当前为指标类型“临时指标”；",
         "请用 --btype 1 --subtype 2",
         "请在“指标类型”中选“预算数”，在“指标子类型”中选“追加预算”"},
        {"other years only: every one of them",
         Selection(),
         {{2023, 1, 1, 0, 4}, {2022, 1, 1, 0, 3}, {2022, 2, 1, 0, 99}},
         "数据库中该单位的预算数（当年预算）只有这些年度的数据：2022、2023",
         "（用 --year 选择年度）",
         "（请以其中一个年度登录，参考宿主的选项 --year）"},
        {"the class of this year before another year",
         Selection(),
         {{2023, 1, 1, 0, 500}, {2024, 2, 1, 0, 3}},
         "数据库中该单位 2024 年的预算数（当年预算）数据在单位类别 2 下（3 行），"
         "当前为单位类别 1；",
         "请用 --unit-class 2",
         nullptr},
        {"of equal changes the most rows, groups added up",
         Selection(),
         {{2024, 2, 1, 0, 3}, {2024, 3, 1, 0, 5}, {2024, 2, 1, 0, 4}},
         "数据库中该单位 2024 年的预算数（当年预算）数据在单位类别 2 下（7 行），"
         "当前为单位类别 1；",
         "请用 --unit-class 2",
         nullptr},
        {"three changes at once",
         Selection(),
         {{2023, 2, 0, -1, 8}},
         "数据库中该单位的数据在 2023 年、单位类别 2、指标类型“控制数”下（8 行），"
         "当前为 2024 年、单位类别 1、指标类型“预算数（当年预算）”；",
         "请用 --year 2023 --unit-class 2 --btype 0",
         "请以单位类别 2、2023 年度登录（参考宿主的选项 --year 2023 --unit-class 2），"
         "在“指标类型”中选“控制数”"},
        {"no rows anywhere", Selection(), {}, "", "", ""},
        // Rows no other selection shows: a sub-type pair of none of the
        // three, an unknown type, an empty group, the selection's own.
        {"rows no selection shows",
         Selection(),
         {{2024, 1, 1, -1, 50}, {2024, 2, 7, -1, 5}, {2024, 2, 0, -1, 0}, {2024, 1, 1, 0, 9}},
         "",
         "",
         ""},
    };
    for (const auto& Case : Cases) {
        const TEmptyTableHint Hint(Case.Filter, Case.Slices);
        const std::string Where = Case.Where;
        EXPECT_EQ(Hint.Text(TEmptyTableHint::BatchReader).toStdString(), Where + Case.Batch)
            << Case.What;
        if (Case.Window) {
            EXPECT_EQ(Hint.Text(TEmptyTableHint::WindowReader).toStdString(), Where + Case.Window)
                << Case.What;
        }
    }
}

// Purpose-made data: one unit's rows moved to class 2. Logged in with
// class 1, the hint counts them; with a year the unit has no rows of, it
// lists the years it has; a prefix of no unit, or one of wildcards, finds
// nothing.
TEST_P(EmptyTableHintOnEngines, CountsTheUnitsRowsUnderAnotherClass) {
    const QString Budget = " and BType='1' and bkid='21' and btypechild='1' and pid<>''";
    const QList<QVariantList> Units =
        Database().Rows("select eid, count(*) from busibudgetadj where datayear=2024" + Budget +
                        " group by eid order by count(*) desc, eid");
    ASSERT_FALSE(Units.isEmpty());
    const QString Unit = Units.first().value(0).toString();
    Database().Exec("update busibudgetadj set deptclass='2' where eid like '" + Unit + "%'");
    const QString Mine = " from busibudgetadj where eid like '" + Unit + "%'" + Budget;
    const int Rows =
        Database().Rows("select count(*)" + Mine + " and datayear=2024").value(0).value(0).toInt();
    QStringList Years;
    for (const QVariantList& Year :
         Database().Rows("select distinct datayear" + Mine + " order by datayear"))
        Years << Year.value(0).toString();
    ASSERT_GT(Rows, 0);

    const TReportFilter Login{2024, 1, "1", 0, Unit, "单位"};
    EXPECT_EQ(
        TEmptyTableHint::Read(Login).Text(TEmptyTableHint::BatchReader),
        QString("数据库中该单位 2024 年的预算数（当年预算）数据在单位类别 2 下（%1 行），当前为"
                "单位类别 1；请用 --unit-class 2")
            .arg(Rows));
    const TReportFilter NoYear{2030, 2, "1", 0, Unit, "单位"};
    EXPECT_EQ(TEmptyTableHint::Read(NoYear).Text(TEmptyTableHint::BatchReader),
              "数据库中该单位的预算数（当年预算）只有这些年度的数据：" + Years.join("、") +
                  "（用 --year 选择年度）");
    for (const char* Prefix : {"999", "%", "_"}) {
        const TReportFilter Nowhere{2024, 1, "1", 0, Prefix, "单位"};
        EXPECT_EQ(TEmptyTableHint::Read(Nowhere).Text(TEmptyTableHint::BatchReader), "") << Prefix;
    }
}

VARNHOLT_INSTANTIATE_ON_ENGINES(EmptyTableHintOnEngines);
