#include "SmallTreeFixture.h"
#include "trees/TQueryThread.h"

#include <QThread>
#include <QTimer>

namespace {

// Takes a noticeable while on the worker before its rows come.
const QString SlowTableSql = QStringLiteral(
    "select t.* from t, (with recursive c(x) as (select 1 union all select x + 1 from c "
    "where x < 800000) select count(*) from c) slow");

class WorkerTreeTest : public SmallTreeTest {
protected:
    void SetUp() override {
        SmallTreeTest::SetUp();
        Prepare();
    }

    // A worker-loading tree on the view, both made again when a case freed
    // them.
    void Prepare() {
        if (!Tree)
            Tree = std::make_unique<QTreeWidget>();
        if (!Dyn) {
            Dyn = std::make_unique<TDynamicTree>();
            Configure(*Dyn);
        }
        Dyn->SetTreeView(Tree.get());
        Dyn->SetSyncDataLoad(false);
        Dyn->OnAfterAddNode = [this](QObject*, const TADOQuery* Fields, TNodeItem*, TItemInfo*) {
            if (Fields)
                ++RowsAdded;
            if (AfterRow)
                AfterRow();
        };
    }

    int RowsAdded = 0;
    std::function<void()> AfterRow;
};

} // namespace

TEST_F(WorkerTreeTest, WorkerQueriesDeliverTheirRowsOnExpansion) {
    Dyn->SetActive(true);
    EXPECT_EQ(TreeShape(), QStringLiteral("0")); // the rows are on their way
    EXPECT_EQ(Dyn->QueryThreadCount(), 1);
    ASSERT_TRUE(WaitForQueryThreads());
    EXPECT_EQ(TreeShape(), QStringLiteral("0{1{【】},2,3{【】},4'x{【】}}"));
    EXPECT_EQ(Dyn->QueryThreadCount(), 0);

    TNodeItem* A = Find(QStringLiteral("1"));
    A->setExpanded(true);
    ASSERT_TRUE(WaitForQueryThreads());
    EXPECT_EQ(Shape(A), QStringLiteral("1{11,12{【】}}"));
    EXPECT_TRUE(A->isExpanded());
    EXPECT_FALSE(A->ExpandOnLoad);

    // LoadAll through workers: each subtree follows its parent's rows.
    Dyn->SetLoadAll(true);
    ASSERT_TRUE(WaitForQueryThreads());
    EXPECT_EQ(TreeShape(), QStringLiteral("0{1{11,12{121}},2,3{31},4'x{4'x1}}"));
}

TEST_F(WorkerTreeTest, FailedWorkerQueryLeavesTheNodeEmptyAndSaysNothing) {
    Dyn->SetActive(true);
    ASSERT_TRUE(WaitForQueryThreads());
    Dyn->SetSqlTable({QStringLiteral("select nothing from nowhere")});
    TNodeItem* A = Find(QStringLiteral("1"));
    A->setExpanded(true);
    ASSERT_TRUE(WaitForQueryThreads());
    EXPECT_TRUE(Dyn->Active());
    EXPECT_TRUE(A->ChildrenLoaded);
    EXPECT_EQ(A->childCount(), 0);
}

// The user closes the tree while a query runs or while its rows come in:
// no row of it appears afterwards, nothing waits, nothing crashes, and the
// abandoned threads free themselves.
TEST_F(WorkerTreeTest, AbandonedWorkerQueriesLeaveAnEmptyTree) {
    struct TCase {
        const char* Name;
        bool SlowQuery;
        bool BetweenRows;
        bool FreeComponent;
        bool FreeView;
    };
    const TCase Cases[] = {
        {"deactivated while the query runs", true, false, false, false},
        {"freed while the query runs", true, false, true, true},
        {"deactivated between two rows", false, true, false, false},
        {"freed between two rows", false, true, true, false},
        {"view freed between two rows", false, true, false, true},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Prepare();
        RowsAdded = 0;
        const auto Abandon = [&] {
            if (Case.FreeComponent)
                Dyn.reset();
            else
                Dyn->SetActive(false);
            if (Case.FreeView)
                Tree.reset();
        };
        Dyn->SetSqlTable({Case.SlowQuery ? SlowTableSql : QStringLiteral("select * from t")});
        if (Case.BetweenRows)
            AfterRow = [&] {
                if (RowsAdded == 1)
                    QTimer::singleShot(0, Abandon);
            };
        Dyn->SetActive(true);
        if (Case.SlowQuery) {
            QThread::msleep(50); // the worker is inside its query by now
            Abandon();
        }
        ASSERT_TRUE(WaitForQueryThreads());
        AfterRow = nullptr;
        EXPECT_EQ(RowsAdded, Case.BetweenRows ? 1 : 0);
        if (Tree) {
            EXPECT_EQ(Tree->topLevelItemCount(), 0);
        }
        if (Dyn) {
            EXPECT_FALSE(Dyn->Active());
            EXPECT_EQ(Dyn->QueryThreadCount(), 0);
        }
    }
}
