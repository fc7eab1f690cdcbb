// The report window driven as a clerk drives it, over purpose-made data.
#include "WindowFixture.h"
#include "cell/view/TCell5.h"
#include "platform/ui/TApplication.h"
#include "platform/ui/TScreen.h"
#include "report/tables/ReportLookups.h"
#include "report/tables/TReportFilter.h"
#include "trees/TNodeItem.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>
#include <QTreeWidget>

namespace {

const QString All = "<全部>";
const QString Public = "公共财政预算资金";
const QString Funds = "政府性基金";
const QString Special = "财政专户管理资金";
const QString Capital = "国有资本经营预算资金";

// The subtree as "id{child,child}"; "(none)" for no item.
QString Shape(QTreeWidgetItem* AItem) {
    if (!AItem)
        return "(none)";
    QStringList Children;
    for (int I = 0; I < AItem->childCount(); ++I)
        Children << Shape(AItem->child(I));
    const QString Id = TNodeItem::From(AItem)->ItemInfo()->Id;
    return Children.isEmpty() ? Id : Id + '{' + Children.join(',') + '}';
}

class ReportWindowTest : public WindowTest {
protected:
    void SetUp() override {
        Rows.Unit("101", "省教育厅", false);
        Rows.Unit("101001", "省教育厅本级");
        Rows.Unit("101002", "省实验学校", false);
        Rows.Unit("101002001", "实验学校附属小学");
        Rows.Unit("102", "省卫生厅", false);
        Rows.Unit("102001", "省卫生厅本级");
        // Approved budget: this year's for funds 11 and 21, the carried-over
        // balance for fund 12, a supplement for fund 11.
        Rows.Adj({"101001", "11", "2010101", "11", "10", 50000});
        Rows.Adj({"101001", "21", "2080101", "11", "20", 30000});
        Rows.Adj({"101002001", "12", "2120801", "11", "10", 20000, "1", "22", "1"});
        Rows.Adj({"101002001", "11", "2050101", "11", "10", 20000, "1", "21", "2"});
        // Control figures for fund 31, a temporary indicator for fund 11,
        // and another department's data the prefix leaves out.
        Rows.Adj({"101001", "31", "2230101", "11", "10", 20000, "0"});
        Rows.Adj({"101002", "11", "2010102", "11", "10", 20000, "2"});
        Rows.Adj({"102001", "12", "2120801", "11", "10", 10000});
    }
    QString Cell(int ACol, int ARow) const { return Window->cllBudget->CellText(ACol, ARow); }
    bool OutputEnabled() const {
        bool Enabled = Window->tbtnExcel->isEnabled();
        for (QToolButton* Button : {Window->tbnPrintView, Window->tbnPrint})
            EXPECT_EQ(Button->isEnabled(), Enabled);
        for (QAction* Item : {Window->EXCEL1, Window->N4, Window->N5})
            EXPECT_EQ(Item->isEnabled(), Enabled);
        return Enabled;
    }
};

TEST_F(ReportWindowTest, StartsOnTheFirstUnitWithTheWholeTreeAndItsFirstFundNature) {
    Open();
    // Units without sub-units carry leafflag '1': every level is there.
    ASSERT_NE(Window->trvList->topLevelItem(0), nullptr);
    EXPECT_EQ(Shape(Window->trvList->topLevelItem(0)), "101{101001,101002{101002001}}");
    EXPECT_EQ(Window->trvList->topLevelItem(0)->text(0), "预算单位列表");
    ASSERT_NE(Window->trvList->currentItem(), nullptr);
    EXPECT_EQ(Window->trvList->currentItem()->text(0), "101001 省教育厅本级");
    EXPECT_EQ(Window->UnitPrefix(), "101001");
    EXPECT_EQ(Window->UnitName(), "省教育厅本级");
    EXPECT_EQ(Window->UnitWord(), "部门");
    EXPECT_EQ(Entries(Window->cobBType), (QStringList{"控制数", "预算数", "临时指标"}));
    EXPECT_EQ(Window->cobBType->currentText(), "预算数");
    EXPECT_EQ(Entries(Window->cobMid), (QStringList{All, Public, Special}));
    EXPECT_EQ(Window->cobMid->currentIndex(), 1);
    EXPECT_TRUE(OutputEnabled());
    EXPECT_EQ(Cell(1, 1), "省教育厅本级2024年国库集中支付改革公共财政预算资金范围划分明细建议表");
    EXPECT_EQ(Cell(10, 4), "预算数");
    EXPECT_GT(Window->cllBudget->GetRowCount(0), 8);
    EXPECT_TRUE(Window->cllBudget->WorkbookReadonly());
}

// Each indicator type and sub-type as the clerk picks them: the fund-nature
// list holds "<全部>" and only the fund natures with data under the filter.
TEST_F(ReportWindowTest, TypeAndSubTypeChoicesFilterTheFundNatures) {
    struct Case {
        const char* Type;
        const char* SubType;
        QStringList Expected;
        bool SubTypeEnabled;
    };
    const Case Cases[] = {
        {"控制数", "结余预算", {All, Capital}, false},
        {"预算数", "当年预算", {All, Public, Special}, true},
        {"预算数", "结余预算", {All, Funds}, true},
        {"预算数", "追加预算", {All, Public}, true},
        {"临时指标", "结余预算", {All, Public}, false},
    };
    Open();
    Select("");
    for (const Case& C : Cases) {
        SCOPED_TRACE(std::string(C.Type) + " " + C.SubType);
        Choose(Window->cobTypeChild, C.SubType);
        Choose(Window->cobBType, C.Type);
        EXPECT_EQ(Entries(Window->cobMid), C.Expected);
        EXPECT_EQ(Window->cobMid->currentIndex(), 1);
        EXPECT_EQ(Window->cobTypeChild->isEnabled(), C.SubTypeEnabled);
        EXPECT_EQ(Window->lblChild->isEnabled(), C.SubTypeEnabled);
        EXPECT_EQ(Cell(1, 1), Window->DetailTitle());
    }
    // A sub-type change redraws the table with the new condition but keeps
    // the list: fund 12 has no budget of this year under the prefix.
    Choose(Window->cobBType, "预算数");
    EXPECT_TRUE(Window->CurrentFilter().WindowFilter(DefDialect()).endsWith(" and bkid='22' "));
    ASSERT_GT(Window->cllBudget->GetRowCount(0), 8);
    Choose(Window->cobTypeChild, "当年预算");
    EXPECT_EQ(Entries(Window->cobMid), (QStringList{All, Funds}));
    EXPECT_EQ(Window->cllBudget->GetRowCount(0), 8);
    EXPECT_EQ(Cell(1, 1), Window->DetailTitle());
}

TEST_F(ReportWindowTest, TitlesBasisAndAmountHeaderFollowTheIndicatorType) {
    Open();
    Select("");
    EXPECT_EQ(Window->UnitPrefix(), "101");
    EXPECT_EQ(Window->UnitName(), "省教育厅");

    Choose(Window->cobBType, "控制数");
    EXPECT_EQ(Window->BasisText(), "（按‘二上’预算数核定）");
    EXPECT_EQ(Cell(1, 1), "省教育厅2024年国库集中支付改革国有资本经营预算资金范围划分明细建议表");
    EXPECT_EQ(Cell(4, 2), Window->BasisText());
    EXPECT_EQ(Cell(10, 4), "预算数");

    Choose(Window->cobBType, "临时指标");
    EXPECT_EQ(Window->BasisText(), "（按部门临时指标核定）");
    EXPECT_EQ(Cell(10, 4), "临时指标");
    Choose(Window->cobMid, All);
    EXPECT_EQ(Cell(1, 1), "省教育厅2024年国库集中支付改革范围划分汇总建议表");
    EXPECT_EQ(Cell(6, 2), "（按部门临时指标核定）");
    EXPECT_EQ(Cell(6, 4), "临时指标");
    EXPECT_EQ(Cell(1, 8), "省教育厅部门合计");
}

TEST_F(ReportWindowTest, SelectingUnitsRefreshesAndNoSelectionKeepsTheLastChoice) {
    Open();
    Select("101002001");
    EXPECT_EQ(Window->UnitPrefix(), "101002001");
    EXPECT_EQ(Entries(Window->cobMid), QStringList());
    EXPECT_FALSE(OutputEnabled());
    // Nothing to show: the summary table's heading for the selection.
    EXPECT_EQ(Cell(1, 1), "实验学校附属小学2024年国库集中支付改革范围划分汇总建议表");
    EXPECT_EQ(Window->cllBudget->GetRowCount(0), 8);

    Select("101002");
    EXPECT_EQ(Window->UnitName(), "省实验学校");
    Choose(Window->cobBType, "临时指标");
    EXPECT_EQ(Entries(Window->cobMid), (QStringList{All, Public}));
    EXPECT_TRUE(OutputEnabled());

    Window->trvList->setCurrentItem(nullptr);
    EXPECT_EQ(Window->UnitPrefix(), "101002");
    EXPECT_EQ(Window->UnitName(), "省实验学校");
    EXPECT_EQ(Cell(1, 1), "省实验学校2024年国库集中支付改革公共财政预算资金范围划分明细建议表");
}

// A fund-nature list that cannot be read is said in the strip with the
// database's reason, also when a sub-type change redraws the table.
TEST_F(ReportWindowTest, AFundNatureListThatCannotBeReadIsSaidInTheStrip) {
    RunSql(File, {"alter table pubmoneykind rename column leafflag to gone"});
    Open();
    EXPECT_EQ(Entries(Window->cobMid), QStringList());
    EXPECT_FALSE(OutputEnabled());
    const QString Strip = Window->StatusLine()->text();
    EXPECT_TRUE(Strip.startsWith("数据库的表中缺少报表要读的列（SQLite：")) << Strip.toStdString();
    EXPECT_TRUE(Strip.contains("leafflag")) << Strip.toStdString();
    EXPECT_TRUE(Strip.endsWith("资金性质列表没能读出，不能打印或导出")) << Strip.toStdString();
    Choose(Window->cobTypeChild, "结余预算");
    EXPECT_EQ(Window->StatusLine()->text(), Strip);
}

// A database file that is not there: the strip says so first, naming the
// file, in Chinese; nothing can be printed or exported.
TEST_F(ReportWindowTest, AMissingDatabaseIsSaidCauseFirstInTheStrip) {
    const QString Missing = Dir.File("gone.db");
    Open("101001", Missing);
    const QString Strip = Window->StatusLine()->text();
    EXPECT_TRUE(Strip.startsWith("数据库文件不存在：" + Missing + "。")) << Strip.toStdString();
    EXPECT_FALSE(OutputEnabled());
}

// A longer logged-in code: the tree starts below its parent group, the top
// node stands for the whole department; a group pubdept does not name is
// called by the top node's title.
TEST_F(ReportWindowTest, TopNodeOfALongerCodeCoversTheDepartment) {
    Open("101002001");
    EXPECT_EQ(Shape(Window->trvList->topLevelItem(0)), "101002{101002001}");
    Select("");
    EXPECT_EQ(Window->UnitPrefix(), "101");
    EXPECT_EQ(Window->UnitName(), "省教育厅");
    Window->Free();
    Window = nullptr;

    Rows.Unit("201", "");
    Rows.Unit("201001", "市财政局本级");
    Open("201001");
    Select("");
    EXPECT_EQ(Window->UnitPrefix(), "201");
    EXPECT_EQ(Window->UnitName(), "预算单位列表");
}

// Codes and names are data: quotes in them neither break nor widen a query.
TEST_F(ReportWindowTest, QuotesInCodesAndNamesStayData) {
    Rows.Unit("9'9", "奥'布莱恩集团", false);
    Rows.Unit("9'9001", "奥'布莱恩本部");
    Rows.Fund("41", "O'Brien基金");
    Rows.Adj({"9'9001", "41", "2010101", "11", "10", 10000});
    Open("9'9001");
    EXPECT_EQ(Shape(Window->trvList->topLevelItem(0)), "9'9{9'9001}");
    EXPECT_EQ(Entries(Window->cobMid), (QStringList{All, "O'Brien基金"}));
    // A fund nature outside the four has no long name in the title.
    EXPECT_EQ(Cell(1, 1), "奥'布莱恩本部2024年国库集中支付改革范围划分明细建议表");
    EXPECT_GT(Window->cllBudget->GetRowCount(0), 8);
}

// The progress panel stands over the window while a long table is drawn;
// its bar is repainted when its drawn length changes, not once a row.
TEST_F(ReportWindowTest, TheProgressPanelShowsWhileFillingAndRepaintsRarely) {
    Open("101001", MakeDemoDb(Dir, TDemoOptions{60, 20000}));
    struct TPaints : QObject {
        QFrame* Panel = nullptr;
        int Count = 0, Hidden = 0;
        bool eventFilter(QObject*, QEvent* AEvent) override {
            if (AEvent->type() == QEvent::Paint) {
                ++Count;
                Hidden += Panel->isVisible() ? 0 : 1;
            }
            return false;
        }
    } Paints;
    Paints.Panel = Window->pnprocess;
    Window->ProgressBar1->installEventFilter(&Paints);
    Window->ProgressBar1->resize(40, 21);
    Select("");
    const int Rows = Window->cllBudget->GetRowCount(0) - 8;
    ASSERT_GT(Rows, 3 * 40);
    // One a pixel of the bar, and the panel's own showing.
    EXPECT_GT(Paints.Count, 0);
    EXPECT_LE(Paints.Count, 40 + 4);
    EXPECT_EQ(Paints.Hidden, 0);
    EXPECT_FALSE(Window->pnprocess->isVisible());
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

} // namespace
