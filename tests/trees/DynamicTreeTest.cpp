#include "TreeFixture.h"
#include "platform/ui/TApplication.h"
#include "trees/TExceptDynamicTree.h"

#include <functional>
#include <gtest/gtest-spi.h>

using TSetup = std::function<void(TDynamicTree&)>;

TEST_F(SmallTreeTest, ActivationIssuesTheTopNodesChildQuery) {
    const QString From = QStringLiteral("select a.* from (select id,pid,leaf,cap,txt from t) a ");
    const std::pair<TSetup, QString> Cases[] = {
        {[](TDynamicTree&) {}, From + "where a.pid='0' Order by a.id"},
        {[](TDynamicTree& D) { D.SetFieldPid("Piid"); }, From + " Order by a.id"},
        {[](TDynamicTree& D) { D.SetFieldOrderBy("cap"), D.SetFieldId("id"); },
         From + "where a.pid='0' Order by a.id"},
        {[](TDynamicTree& D) { D.SetFieldOrderBy(""); }, From + "where a.pid='0'"},
        // A quote in an id stays inside its literal.
        {[](TDynamicTree& D) { D.SetTopVirNodeIdValue("0' or '1'='1"); },
         From + "where a.pid='0'' or ''1''=''1' Order by a.id"},
    };
    for (const auto& [Setup, Expected] : Cases) {
        TDynamicTree Own;
        Dyn->SetActive(false);
        Configure(Own);
        Setup(Own);
        TSqlTrace Trace(*Conn);
        Own.SetActive(true);
        EXPECT_EQ(Trace.Statements.value(0), Expected);
    }
}

TEST_F(SmallTreeTest, NonLeafRowsGetOnePlaceholderUntilExpanded) {
    TSqlTrace Trace(*Conn);
    Dyn->SetActive(true);
    EXPECT_EQ(Tree->topLevelItem(0)->text(0), "All");
    EXPECT_EQ(TreeShape(), "0{1{【】},2,3{【】},4'x{【】}}");
    EXPECT_EQ(Dyn->PendingNodeCount(), 3);

    Find("1")->setExpanded(true);
    Find("4'x")->setExpanded(true);
    EXPECT_EQ(TreeShape(), "0{1{11,12{【】}},2,3{【】},4'x{4'x1}}");
    EXPECT_TRUE(Find("1")->isExpanded());
    EXPECT_EQ(Dyn->PendingNodeCount(), 2);
    EXPECT_EQ(Trace.Statements.size(), 3);

    // Leaves and loaded nodes never query again.
    Find("2")->setExpanded(true);
    Find("1")->setExpanded(false);
    Find("1")->setExpanded(true);
    EXPECT_EQ(Trace.Statements.size(), 3);

    TSqlTrace LoadAll(*Conn);
    Dyn->SetLoadAll(true);
    EXPECT_EQ(TreeShape(), "0{1{11,12{121}},2,3{31},4'x{4'x1}}");
    EXPECT_EQ(Dyn->PendingNodeCount(), 0);
    EXPECT_EQ(LoadAll.Statements.size(), 2); // 12 and 3
}

namespace {
struct TUnitInfo : TItemInfo {};
} // namespace

TEST_F(SmallTreeTest, NodeTextsAndItemInfoClassFollowRowsAndHandlers) {
    QList<const TADOQuery*> Fields;
    Dyn->OnBeforAddNode = [&](QObject*, const TADOQuery* F, TNodeItem* Node,
                              TItemInfoClass& Class) {
        Fields << F;
        Class = TItemInfoClass::Of<TUnitInfo>();
        if (F && F->FieldByName("id").AsString() == "3")
            Node->setText(0, "mine");
    };
    Dyn->SetActive(true);
    EXPECT_EQ(Fields.size(), 5);
    EXPECT_EQ(Fields.value(0), nullptr); // the top node has no row
    EXPECT_EQ(Find("1")->text(0), "A text");
    EXPECT_EQ(Find("2")->text(0), ""); // an empty text column gives an empty text
    EXPECT_EQ(Find("3")->text(0), "mine");
    EXPECT_NE(dynamic_cast<TUnitInfo*>(Find("1")->ItemInfo()), nullptr);
    EXPECT_EQ(Find("1")->ItemInfo()->Caption, "A");
    EXPECT_EQ(Find("1")->ItemInfo()->ParentId, "0");
    EXPECT_TRUE(Find("2")->ItemInfo()->IsLeaf);
    EXPECT_FALSE(Find("1")->ItemInfo()->IsLeaf);

    Dyn->SetFieldText("");
    Find("1")->setExpanded(true);
    EXPECT_EQ(Find("11")->text(0), "A1(11)");
}

TEST_F(SmallTreeTest, ActivationRefusesAnIncompleteConfiguration) {
    const auto Missing = [](const char* A) {
        return QStringLiteral("没有指定%1属性值！").arg(A);
    };
    const std::pair<TSetup, QString> Cases[] = {
        {[](TDynamicTree& D) { D.SetTreeView(nullptr); }, Missing("TreeView")},
        {[](TDynamicTree& D) { D.SetAdoConn(nullptr); }, Missing("AdoConn")},
        {[](TDynamicTree& D) { D.AdoConn()->Close(); }, "指定的AdoConnection没有打开！"},
        {[](TDynamicTree& D) {
             D.SetSqlTable({" ", ""});
         },
         Missing("SqlTable")},
        {[](TDynamicTree& D) { D.SetFieldId(" "); }, Missing("FieldId")},
        {[](TDynamicTree& D) { D.SetFieldPid(""); }, Missing("FieldPid")},
        {[](TDynamicTree& D) { D.SetFieldIsLeaf(""); }, Missing("FieldIsLeaf")},
        {[](TDynamicTree& D) { D.SetFieldCaption(""); }, Missing("FieldCaption")},
        {[](TDynamicTree& D) { D.SetFieldText(""); }, Missing("FieldText")},
    };
    Tree->addTopLevelItem(new QTreeWidgetItem({"someone else's"}));
    for (const auto& [Break, Message] : Cases) {
        Conn->Open();
        Break(*Dyn);
        try {
            Dyn->SetActive(true);
            ADD_FAILURE() << "activated";
        } catch (const TExceptDynamicTree& E) {
            EXPECT_EQ(E.Message(), Message);
        }
        EXPECT_FALSE(Dyn->Active());
        EXPECT_EQ(Tree->topLevelItem(0)->text(0), "someone else's");
        Configure(*Dyn);
    }
}

TEST_F(SmallTreeTest, ChangedOrLostPartsDeactivateOrRebuild) {
    Dyn->SetActive(true);
    Find("1")->setExpanded(true);
    Dyn->SetTopVirNodeTitle("Units"); // rebuilt
    EXPECT_EQ(Tree->topLevelItem(0)->text(0), "Units");
    EXPECT_EQ(TreeShape(), "0{1{【】},2,3{【】},4'x{【】}}");

    auto Other = OpenConnection(Conn->Target().DatabaseName);
    Dyn->SetAdoConn(Other.get());
    EXPECT_FALSE(Dyn->Active());
    EXPECT_EQ(Tree->topLevelItemCount(), 0);

    Dyn->SetActive(true);
    Other.reset();
    EXPECT_EQ(Dyn->AdoConn(), nullptr);
    EXPECT_EQ(Tree->topLevelItemCount(), 0);

    Dyn->SetAdoConn(Conn.get());
    Dyn->SetActive(true);
    Conn->Close(); // found out at the next step that needs the tree
    Find("1")->setExpanded(true);
    EXPECT_FALSE(Dyn->Active());
    EXPECT_EQ(Tree->topLevelItemCount(), 0);

    Conn->Open();
    Dyn->SetActive(true);
    Tree.reset();
    EXPECT_EQ(Dyn->TreeView(), nullptr);
    EXPECT_FALSE(Dyn->Active());
    EXPECT_EQ(Dyn->PendingNodeCount(), 0);
}

TEST_F(SmallTreeTest, AutoExpandRulesSelectOnceAndKeepTheSelection) {
    const std::tuple<TAutoExpandKind, bool, QStringList> Cases[] = {
        {aekFirstLeaf, true, {"11"}},
        {aekFirstLeaf, false, {"11"}},
        {aekTitleNode, true, {"0"}},
        {aekNone, true, {}},
    };
    for (const auto& [Kind, LoadAll, Selections] : Cases) {
        Dyn->SetActive(false);
        Dyn->SetAutoExpandKind(Kind);
        Dyn->SetLoadAll(LoadAll);
        QStringList Changes;
        const auto Spy =
            QObject::connect(Tree.get(), &QTreeWidget::currentItemChanged, [&](QTreeWidgetItem* A) {
                Changes << TNodeItem::From(A)->ItemInfo()->Id;
            });
        Dyn->SetActive(true);
        QObject::disconnect(Spy);
        EXPECT_EQ(Changes, Selections) << Kind << LoadAll;
        for (QTreeWidgetItem* Up = Tree->currentItem(); Up && Up->parent(); Up = Up->parent())
            EXPECT_TRUE(Up->parent()->isExpanded());
    }
}

TEST_F(SmallTreeTest, LoadErrorsGoWhereTheLoadCameFrom) {
    const QStringList Bad{"select nothing from nowhere"};
    Dyn->SetSqlTable(Bad); // activation: swallowed with the top node
    Dyn->SetActive(true);
    EXPECT_TRUE(Dyn->Active());
    EXPECT_EQ(Tree->topLevelItemCount(), 0);

    Dyn->SetActive(false);
    Configure(*Dyn);
    Dyn->SetActive(true);
    Dyn->SetSqlTable(Bad); // expansion: the application reports it
    QStringList Reported;
    const TExceptionEvent Saved = Application->OnException;
    Application->OnException = [&](QObject*, const Exception& E) {
        Reported << E.Message();
    };
    Find("1")->setExpanded(true);
    Application->OnException = Saved;
    EXPECT_EQ(Reported.size(), 1);
    // Unasked for, such an error fails the test at once instead of a box.
    EXPECT_NONFATAL_FAILURE(Find("3")->setExpanded(true), "application's handler");
    EXPECT_TRUE(Find("1")->ChildrenLoaded);
    EXPECT_EQ(Find("1")->childCount(), 0);
    EXPECT_THROW(Dyn->SetLoadAll(true), EDatabaseError); // to whoever switched it on

    // A failing row gives no node, with what loaded under it; the rest follow.
    Dyn->SetActive(false);
    Configure(*Dyn);
    Dyn->OnAfterAddNode = [](QObject*, const TADOQuery*, TNodeItem*, TItemInfo* Info) {
        if (Info->Id == "12" || Info->Id == "2")
            throw EConvertError("refused");
    };
    Dyn->SetActive(true);
    EXPECT_EQ(TreeShape(), "0{1{11},3{31},4'x{4'x1}}");
}

// A chain 10,000 levels deep under the top loads whole, and a row that
// names its own ancestor as its child (a cycle) shows once, without children.
TEST_F(SmallTreeTest, ADeepChainLoadsEveryLevel) {
    RunSql(Dir.File("small.db"),
           {"with recursive c(i) as (select 1 union all select i + 1 from c where i < 10000) "
            "insert into t select 'c' || i, case when i = 1 then '0' else 'c' || (i - 1) end, "
            "'0', 'c' || i, 'c' || i from c",
            "insert into t values ('c1', 'c10000', '0', 'c1', 'c1')"});
    Dyn->SetLoadAll(true);
    Dyn->SetActive(true);
    int Depth = 0;
    QTreeWidgetItem* Node = Find("c1");
    for (; Node && Node->childCount() == 1; Node = Node->child(0))
        ++Depth;
    ASSERT_NE(Node, nullptr);
    EXPECT_EQ(Depth, 10000);
    EXPECT_EQ(Node->text(0), "c1");
    EXPECT_EQ(Node->childCount(), 0);
}
