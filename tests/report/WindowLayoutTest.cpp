// Where the window opens its panes and lists and where a new table starts:
// the grid's scroll position, the tree pane's width, the open fund-nature
// list.
#include "WindowFixture.h"
#include "cell/view/TCell5.h"
#include "report/TreePaneWidth.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QStyleFactory>
#include <QTreeWidget>
#include <memory>

namespace {

class WindowLayoutTest : public WindowTest {
protected:
    void SetUp() override { DepartmentWithASchool(); }
    // Tables longer and wider than the grid for both fund natures, both
    // indicator types and two sub-types.
    void LongTables() {
        for (const char* Fund : {"11", "12"})
            for (const auto& [BType, Bkid] : {std::pair{"1", "21"}, {"1", "22"}, {"0", "21"}})
                for (int Subject = 0; Subject < 16; ++Subject) {
                    TBudgetRows::TAdj Row{"101001", Fund, QString::number(2010101 + Subject),
                                          "11",     "10", 10000.0 + Subject};
                    Row.BType = BType;
                    Row.Bkid = Bkid;
                    Rows.Adj(Row);
                }
    }
    QScrollBar* Across() const { return Window->cllBudget->horizontalScrollBar(); }
    QScrollBar* Down() const { return Window->cllBudget->verticalScrollBar(); }
    int PaneWidth() const { return Window->Splitter1->sizes().value(0); }
    int PanesTotal() const {
        const QList<int> Sizes = Window->Splitter1->sizes();
        return Sizes.value(0) + Sizes.value(1);
    }
};

// Whatever the last table was scrolled to, a new one shows its title: after
// a change of fund nature, sub-type, indicator type or unit.
TEST_F(WindowLayoutTest, EveryNewTableStartsAtItsTopLeft) {
    LongTables();
    Open();
    Choose(Window->cobBType, "预算数");
    // Each change made in its list; the last one is the unit's, in the tree.
    const std::pair<QComboBox*, const char*> Changes[] = {{Window->cobMid, "政府性基金"},
                                                          {Window->cobTypeChild, "结余预算"},
                                                          {Window->cobBType, "控制数"},
                                                          {nullptr, "101002001"}};
    for (const auto& [List, Change] : Changes) {
        QCoreApplication::processEvents();
        Across()->setValue(Across()->maximum());
        Down()->setValue(Down()->maximum());
        ASSERT_GT(Across()->value(), 0) << Change;
        ASSERT_GT(Down()->value(), 0) << Change;
        if (List)
            Choose(List, Change);
        else
            Select(Change);
        QCoreApplication::processEvents();
        EXPECT_EQ(Across()->value(), 0) << Change;
        EXPECT_EQ(Down()->value(), 0) << Change;
    }
}

// A dragged width comes back while it leaves the grid its room; the pane
// otherwise opens as wide as the names in view need, within half the
// window and the grid's room.
TEST(TreePaneWidth, TheOpeningWidthLeavesTheGridItsRoom) {
    using namespace TreePane;
    struct TCase {
        int Total, Saved, Names, Opens;
    };
    const TCase Cases[] = {
        {1194, 0, 300, 300},   // the names' width
        {1194, 0, 700, 597},   // at most half the window
        {1194, 0, 150, 217},   // never below the designed width
        {700, 0, 400, 220},    // the grid's room comes first
        {500, 0, 400, 217},    // a window too small for both: as designed
        {823, 343, 150, 343},  // leaves the grid exactly its room: restored
        {823, 344, 150, 217},  // one pixel more: not
        {823, 353, 400, 343},  // ... the names' width within the grid's room instead
        {1194, 205, 150, 205}, // as narrow as the lists allow
        {1194, 204, 150, 217}, // narrower: not a width the user could drag to
        {1194, -40, 250, 250}};
    for (const TCase& Case : Cases)
        EXPECT_EQ(OpeningWidth(Case.Total, Case.Saved, Case.Names), Case.Opens)
            << Case.Total << " " << Case.Saved << " " << Case.Names;
    EXPECT_GT(GridRoom, 470) << "the grid a wide pane left in a smaller window";
}

// A long name in view widens the pane: it reads whole, or the pane is as
// wide as it may open.
TEST_F(WindowLayoutTest, TheTreePaneOpensAsWideAsTheNamesInView) {
    Rows.Unit("101003", "省教育厅直属高等学校后勤服务集团");
    Open();
    QCoreApplication::processEvents();
    const int Total = PanesTotal();
    EXPECT_GT(PaneWidth(), TreePane::DesignedWidth);
    EXPECT_TRUE(Window->trvList->horizontalScrollBar()->maximum() == 0 ||
                PaneWidth() == std::min(Total / 2, Total - TreePane::GridRoom));
}

// The open list shows 国有资本经营预算资金 whole and the closed box keeps its
// width, in a style that opens the list under the box as in one that opens
// it over the box.
TEST_F(WindowLayoutTest, TheOpenFundListIsAsWideAsItsLongestName) {
    Rows.Adj({"101001", "31", "2230101", "17", "10", 30000});
    Open();
    QComboBox* List = Window->cobMid;
    const int Closed = List->width();
    QString Longest;
    for (const QString& Entry : Entries(List))
        if (Entry.size() > Longest.size())
            Longest = Entry;
    ASSERT_EQ(Longest, "国有资本经营预算资金");
    for (const char* Name : {"Windows", "Fusion"}) {
        const std::unique_ptr<QStyle> Style(QStyleFactory::create(Name));
        ASSERT_TRUE(Style) << Name;
        List->setStyle(Style.get());
        List->showPopup();
        QAbstractItemView* Popup = List->view();
        EXPECT_GE(Popup->viewport()->width(), Popup->fontMetrics().horizontalAdvance(Longest))
            << Name;
        // As the list draws an entry: its text with the room around it.
        for (int Row = 0; Row < List->count(); ++Row)
            EXPECT_LE(Popup->sizeHintForIndex(List->model()->index(Row, 0)).width(),
                      Popup->viewport()->width())
                << Name << " " << List->itemText(Row).toStdString();
        List->hidePopup();
        EXPECT_EQ(List->width(), Closed) << Name;
        List->setStyle(nullptr);
    }
}

} // namespace
