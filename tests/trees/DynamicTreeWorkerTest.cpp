#include "TreeFixture.h"

#include <QThread>
#include <QTimer>

namespace {

// About a quarter of a second on the worker before the rows come.
const QString SlowSql = QStringLiteral(
    "select t.* from t, (with recursive c(x) as (select 1 union all select x + 1 from c "
    "where x < 800000) select count(*) from c)");

class WorkerTreeTest : public SmallTreeTest {
protected:
    void SetUp() override {
        SmallTreeTest::SetUp();
        Prepare();
    }
    // Makes again what a case freed.
    void Prepare() {
        if (!Tree)
            Tree = std::make_unique<QTreeWidget>();
        if (!Dyn)
            Configure(*(Dyn = std::make_unique<TDynamicTree>()));
        Dyn->SetTreeView(Tree.get());
        Dyn->SetSyncDataLoad(false);
        Dyn->OnAfterAddNode = [this](QObject*, const TADOQuery* Row, TNodeItem*, TItemInfo*) {
            Rows += Row != nullptr;
            if (AfterRow)
                AfterRow();
        };
    }
    int Rows = 0;
    std::function<void()> AfterRow;
};

} // namespace

TEST_F(WorkerTreeTest, WorkerQueriesDeliverTheirRows) {
    Dyn->SetActive(true);
    EXPECT_EQ(TreeShape(), "0"); // the rows are on their way
    ASSERT_TRUE(WaitForQueryThreads());
    EXPECT_EQ(TreeShape(), "0{1{【】},2,3{【】},4'x{【】}}");
    Find("1")->setExpanded(true);
    ASSERT_TRUE(WaitForQueryThreads());
    EXPECT_EQ(Shape(Find("1")), "1{11,12{【】}}");
    EXPECT_TRUE(Find("1")->isExpanded());
    Dyn->SetLoadAll(true);
    ASSERT_TRUE(WaitForQueryThreads());
    EXPECT_EQ(TreeShape(), "0{1{11,12{121}},2,3{31},4'x{4'x1}}");
    EXPECT_EQ(Dyn->QueryThreadCount(), 0);

    // A query that fails on the worker leaves its node empty, unreported.
    Dyn->SetActive(false);
    Dyn->SetLoadAll(false);
    Dyn->SetActive(true);
    ASSERT_TRUE(WaitForQueryThreads());
    Dyn->SetSqlTable({"select nothing from nowhere"});
    Find("1")->setExpanded(true);
    ASSERT_TRUE(WaitForQueryThreads());
    EXPECT_TRUE(Dyn->Active());
    EXPECT_EQ(Find("1")->childCount(), 0);
}

// The user closes the tree while a query runs or between its rows: no more
// of its rows appear, nothing waits or crashes, the threads free themselves.
TEST_F(WorkerTreeTest, AbandonedWorkerQueriesLeaveAnEmptyTree) {
    enum { Deactivate, FreeTree, FreeView };
    const std::pair<bool, int> Cases[] = {{true, Deactivate},
                                          {true, FreeTree},
                                          {false, Deactivate},
                                          {false, FreeTree},
                                          {false, FreeView}};
    for (const auto& [WhileQuerying, How] : Cases) {
        Prepare();
        Rows = 0;
        const auto Abandon = [&, How = How] {
            if (How == Deactivate)
                Dyn->SetActive(false);
            How == FreeTree ? Dyn.reset() : How == FreeView ? Tree.reset() : void();
        };
        Dyn->SetSqlTable({WhileQuerying ? SlowSql : QStringLiteral("select * from t")});
        AfterRow = [&] {
            Rows == 1 ? QTimer::singleShot(0, Abandon) : void();
        };
        Dyn->SetActive(true);
        if (WhileQuerying) {
            QThread::msleep(50); // the worker is inside its query by now
            Abandon();
        }
        ASSERT_TRUE(WaitForQueryThreads());
        AfterRow = nullptr;
        EXPECT_EQ(Rows, WhileQuerying ? 0 : 1) << WhileQuerying << How;
        EXPECT_TRUE(!Tree || Tree->topLevelItemCount() == 0);
        EXPECT_TRUE(!Dyn || (!Dyn->Active() && Dyn->QueryThreadCount() == 0));
    }
}
