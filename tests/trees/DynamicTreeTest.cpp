#include "SmallTreeFixture.h"
#include "platform/TApplication.h"
#include "trees/TExceptDynamicTree.h"

#include <QSignalSpy>
#include <functional>

namespace {

const QString TableSql = QStringLiteral("select id,pid,leaf,cap,txt from t");

struct TQueryCase {
    const char* Name;
    std::function<void(TDynamicTree&)> Setup;
    QString Expected;
};

} // namespace

TEST_F(SmallTreeTest, ActivationIssuesTheChildQueryOfTheTopNode) {
    const TQueryCase Cases[] = {
        {"parent condition and order", [](TDynamicTree&) {},
         "select a.* from (" + TableSql + ") a where a.pid='0' Order by a.id"},
        {"Piid loads every row", [](TDynamicTree& D) { D.SetFieldPid(QStringLiteral("Piid")); },
         "select a.* from (" + TableSql + ") a  Order by a.id"},
        {"FieldId overwrites FieldOrderBy",
         [](TDynamicTree& D) {
             D.SetFieldOrderBy(QStringLiteral("cap"));
             D.SetFieldId(QStringLiteral("id"));
         },
         "select a.* from (" + TableSql + ") a where a.pid='0' Order by a.id"},
        {"own order", [](TDynamicTree& D) { D.SetFieldOrderBy(QStringLiteral(" cap ")); },
         "select a.* from (" + TableSql + ") a where a.pid='0' Order by a.cap"},
        {"no order", [](TDynamicTree& D) { D.SetFieldOrderBy(QString()); },
         "select a.* from (" + TableSql + ") a where a.pid='0'"},
        {"lines joined and trimmed",
         [](TDynamicTree& D) {
             D.SetSqlTable({QStringLiteral("  select id,pid,leaf,cap,txt"), "from t  "});
         },
         "select a.* from (select id,pid,leaf,cap,txt\nfrom t) a where a.pid='0' Order by a.id"},
        {"quote in the id stays inside the literal",
         [](TDynamicTree& D) { D.SetTopVirNodeIdValue(QStringLiteral("0' or '1'='1")); },
         "select a.* from (" + TableSql + ") a where a.pid='0'' or ''1''=''1' Order by a.id"},
    };
    for (const TQueryCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TDynamicTree Own;
        Dyn->SetActive(false);
        Configure(Own);
        Case.Setup(Own);
        TSqlTrace Trace(*Conn);
        Own.SetActive(true);
        ASSERT_FALSE(Trace.Statements.isEmpty());
        EXPECT_EQ(Trace.Statements.first(), Case.Expected);
    }
}

TEST_F(SmallTreeTest, NodeIdWithQuoteLoadsItsOwnChildrenOnly) {
    Dyn->SetActive(true);
    TNodeItem* Quoted = Find(QStringLiteral("4'x"));
    ASSERT_NE(Quoted, nullptr);
    Quoted->setExpanded(true);
    EXPECT_EQ(Shape(Quoted), QStringLiteral("4'x{4'x1}"));

    // An id that would have widened the condition finds nothing.
    Dyn->SetActive(false);
    Dyn->SetTopVirNodeIdValue(QStringLiteral("x' or '1'='1"));
    Dyn->SetActive(true);
    EXPECT_EQ(TreeShape(), QStringLiteral("x' or '1'='1"));
}

TEST_F(SmallTreeTest, NonLeafRowsGetOnePlaceholderUntilExpanded) {
    TSqlTrace Trace(*Conn);
    Dyn->SetActive(true);
    EXPECT_EQ(Top()->text(0), QStringLiteral("All"));
    EXPECT_TRUE(Top()->isExpanded());
    EXPECT_EQ(TreeShape(), QStringLiteral("0{1{【】},2,3{【】},4'x{【】}}"));
    EXPECT_EQ(Dyn->PendingNodeCount(), 3);
    EXPECT_EQ(Trace.Statements.size(), 1);

    TNodeItem* A = Find(QStringLiteral("1"));
    A->setExpanded(true);
    EXPECT_EQ(Shape(A), QStringLiteral("1{11,12{【】}}"));
    EXPECT_TRUE(A->isExpanded());
    EXPECT_TRUE(A->ChildrenLoaded);
    EXPECT_EQ(Dyn->PendingNodeCount(), 3);
    EXPECT_EQ(Trace.Statements.size(), 2);

    // Leaves and loaded nodes never query again.
    Find(QStringLiteral("2"))->setExpanded(true);
    A->setExpanded(false);
    A->setExpanded(true);
    EXPECT_EQ(Trace.Statements.size(), 2);
    EXPECT_TRUE(Find(QStringLiteral("2"))->ChildrenLoaded);
}

TEST_F(SmallTreeTest, NodeTextComesFromTheTextColumnOrCaptionAndId) {
    Dyn->SetActive(true);
    EXPECT_EQ(Find(QStringLiteral("1"))->text(0), QStringLiteral("A text"));
    EXPECT_EQ(Find(QStringLiteral("2"))->text(0), QString()); // empty column, empty text
    const TItemInfo* Info = Find(QStringLiteral("1"))->ItemInfo();
    EXPECT_EQ(Info->Caption, QStringLiteral("A"));
    EXPECT_EQ(Info->ParentId, QStringLiteral("0"));
    EXPECT_FALSE(Info->IsLeaf);
    EXPECT_TRUE(Find(QStringLiteral("2"))->ItemInfo()->IsLeaf);

    Dyn->SetFieldText(QString());
    Find(QStringLiteral("1"))->setExpanded(true);
    EXPECT_EQ(Find(QStringLiteral("11"))->text(0), QStringLiteral("A1(11)"));
    EXPECT_EQ(Find(QStringLiteral("1"))->text(0), QStringLiteral("A text"));
}

namespace {
struct TUnitInfo : TItemInfo {
    int Seen = 0;
};
} // namespace

TEST_F(SmallTreeTest, HandlersChooseTheItemInfoClassAndKeepTheirText) {
    QStringList Before;
    int TopFieldsNull = 0;
    Dyn->OnBeforAddNode = [&](QObject* Sender, const TADOQuery* Fields, TNodeItem* Node,
                              TItemInfoClass& Class) {
        EXPECT_EQ(Sender, Dyn.get());
        if (!Fields) {
            ++TopFieldsNull;
            return;
        }
        const QString Id = Fields->FieldByName(QStringLiteral("id")).AsString();
        Before << Id;
        Class = TItemInfoClass::Of<TUnitInfo>();
        if (Id == QLatin1String("3"))
            Node->setText(0, QStringLiteral("mine"));
    };
    QList<TItemInfo*> After;
    Dyn->OnAfterAddNode = [&](QObject*, const TADOQuery*, TNodeItem* Node, TItemInfo* Info) {
        EXPECT_EQ(Node->ItemInfo(), Info);
        EXPECT_NE(Node->treeWidget(), nullptr);
        After << Info;
    };
    Dyn->SetActive(true);

    EXPECT_EQ(TopFieldsNull, 1);
    EXPECT_EQ(Before, QStringList({"1", "2", "3", "4'x"}));
    ASSERT_EQ(After.size(), 5);
    EXPECT_EQ(dynamic_cast<TUnitInfo*>(After[0]), nullptr); // the top node's
    for (int I = 1; I < After.size(); ++I)
        EXPECT_NE(dynamic_cast<TUnitInfo*>(After[I]), nullptr);
    EXPECT_EQ(Find(QStringLiteral("3"))->text(0), QStringLiteral("mine"));
    EXPECT_EQ(Find(QStringLiteral("1"))->text(0), QStringLiteral("A text"));
}

TEST_F(SmallTreeTest, ActivationRefusesAnIncompleteConfiguration) {
    struct TCase {
        const char* Name;
        std::function<void(TDynamicTree&)> Break;
        QString Message;
    };
    const auto Missing = [](const char* AName) {
        return QStringLiteral("没有指定%1属性值！").arg(QLatin1String(AName));
    };
    const TCase Cases[] = {
        {"tree view", [](TDynamicTree& D) { D.SetTreeView(nullptr); }, Missing("TreeView")},
        {"connection", [](TDynamicTree& D) { D.SetAdoConn(nullptr); }, Missing("AdoConn")},
        {"closed connection", [this](TDynamicTree&) { Conn->Close(); },
         QStringLiteral("指定的AdoConnection没有打开！")},
        {"blank table",
         [](TDynamicTree& D) {
             D.SetSqlTable({" ", ""});
         },
         Missing("SqlTable")},
        {"id", [](TDynamicTree& D) { D.SetFieldId(" "); }, Missing("FieldId")},
        {"pid", [](TDynamicTree& D) { D.SetFieldPid(""); }, Missing("FieldPid")},
        {"leaf", [](TDynamicTree& D) { D.SetFieldIsLeaf(""); }, Missing("FieldIsLeaf")},
        {"caption", [](TDynamicTree& D) { D.SetFieldCaption(""); }, Missing("FieldCaption")},
        {"text", [](TDynamicTree& D) { D.SetFieldText(""); }, Missing("FieldText")},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Conn->Open();
        Tree->clear();
        Tree->addTopLevelItem(new QTreeWidgetItem({QStringLiteral("someone else's")}));
        TDynamicTree Own;
        Configure(Own);
        Case.Break(Own);
        try {
            Own.SetActive(true);
            ADD_FAILURE() << "activated";
        } catch (const TExceptDynamicTree& E) {
            EXPECT_EQ(E.Message(), Case.Message);
        }
        EXPECT_FALSE(Own.Active());
        ASSERT_EQ(Tree->topLevelItemCount(), 1);
        EXPECT_EQ(Tree->topLevelItem(0)->text(0), QStringLiteral("someone else's"));
    }
}

TEST_F(SmallTreeTest, LosingConnectionOrViewDeactivatesAndEmptiesTheTree) {
    Dyn->SetActive(true);
    auto Other = OpenConnection(File);
    Dyn->SetAdoConn(Other.get());
    EXPECT_FALSE(Dyn->Active());
    EXPECT_EQ(Tree->topLevelItemCount(), 0);

    Dyn->SetActive(true);
    Other.reset(); // freed: the tree lets go of it
    EXPECT_EQ(Dyn->AdoConn(), nullptr);
    EXPECT_FALSE(Dyn->Active());
    EXPECT_EQ(Tree->topLevelItemCount(), 0);

    Dyn->SetAdoConn(Conn.get());
    Dyn->SetActive(true);
    Conn->Close(); // the next step that needs the tree finds it not ready
    Find(QStringLiteral("1"))->setExpanded(true);
    EXPECT_FALSE(Dyn->Active());
    EXPECT_EQ(Tree->topLevelItemCount(), 0);

    Conn->Open();
    Dyn->SetActive(true);
    Tree.reset();
    EXPECT_EQ(Dyn->TreeView(), nullptr);
    EXPECT_FALSE(Dyn->Active());
    EXPECT_EQ(Dyn->PendingNodeCount(), 0);
}

TEST_F(SmallTreeTest, NewTitleOrViewRebuildsAnActiveTree) {
    Dyn->SetActive(true);
    Find(QStringLiteral("1"))->setExpanded(true);
    Dyn->SetTopVirNodeTitle(QStringLiteral("Units"));
    EXPECT_TRUE(Dyn->Active());
    EXPECT_EQ(Top()->text(0), QStringLiteral("Units"));
    EXPECT_EQ(TreeShape(), QStringLiteral("0{1{【】},2,3{【】},4'x{【】}}"));

    QTreeWidget Second;
    Dyn->SetTreeView(&Second);
    EXPECT_TRUE(Dyn->Active());
    EXPECT_EQ(Tree->topLevelItemCount(), 0);
    EXPECT_EQ(Shape(Second.topLevelItem(0)), QStringLiteral("0{1{【】},2,3{【】},4'x{【】}}"));
    Dyn->SetTreeView(Tree.get());
}

TEST_F(SmallTreeTest, LoadAllSwitchedOnLoadsEveryPendingSubtree) {
    Dyn->SetActive(true);
    Find(QStringLiteral("3"))->setExpanded(true);
    TSqlTrace Trace(*Conn);
    Dyn->SetLoadAll(true);
    EXPECT_EQ(TreeShape(), QStringLiteral("0{1{11,12{121}},2,3{31},4'x{4'x1}}"));
    EXPECT_EQ(Dyn->PendingNodeCount(), 0);
    EXPECT_EQ(Trace.Statements.size(), 3); // 1, its child 12, and 4'x
}

TEST_F(SmallTreeTest, AutoExpandRulesSelectOnceAndKeepTheSelection) {
    struct TCase {
        TAutoExpandKind Kind;
        bool LoadAll;
        QString Selected;
    };
    const TCase Cases[] = {
        {aekFirstLeaf, true, QStringLiteral("11")},
        {aekFirstLeaf, false, QStringLiteral("11")},
        {aekTitleNode, true, QStringLiteral("0")},
        {aekNone, true, QString()},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(testing::Message() << Case.Kind << " " << Case.LoadAll);
        Dyn->SetActive(false);
        Dyn->SetAutoExpandKind(Case.Kind);
        Dyn->SetLoadAll(Case.LoadAll);
        QStringList Changes;
        const auto Spy = QObject::connect(
            Tree.get(), &QTreeWidget::currentItemChanged, [&](QTreeWidgetItem* ACurrent) {
                const TNodeItem* Node = TNodeItem::From(ACurrent);
                Changes << (Node ? Node->ItemInfo()->Id : QStringLiteral("-"));
            });
        Dyn->SetActive(true);
        QObject::disconnect(Spy);
        if (Case.Selected.isEmpty()) {
            EXPECT_TRUE(Changes.isEmpty()) << Changes.join(',').toStdString();
            continue;
        }
        EXPECT_EQ(Changes, QStringList{Case.Selected});
        auto* Current = TNodeItem::From(Tree->currentItem());
        ASSERT_NE(Current, nullptr);
        EXPECT_TRUE(Current->AutoExpanded);
        for (QTreeWidgetItem* Up = Current->parent(); Up; Up = Up->parent())
            EXPECT_TRUE(Up->isExpanded());
    }
}

TEST_F(SmallTreeTest, SynchronousQueryErrorsGoWhereTheLoadCameFrom) {
    const QStringList BadSql{QStringLiteral("select nothing from nowhere")};

    // Activation: swallowed with the top node; the tree stays active.
    Dyn->SetSqlTable(BadSql);
    Dyn->SetActive(true);
    EXPECT_TRUE(Dyn->Active());
    EXPECT_EQ(Tree->topLevelItemCount(), 0);

    // Expansion: reported by the application; the node stays loaded, empty.
    Dyn->SetActive(false);
    Dyn->SetSqlTable({TableSql});
    Dyn->SetActive(true);
    Dyn->SetSqlTable(BadSql);
    QStringList Reported;
    const TExceptionEvent Saved = Application->OnException;
    Application->OnException = [&](QObject*, const Exception& E) {
        Reported << E.Message();
    };
    TNodeItem* A = Find(QStringLiteral("1"));
    A->setExpanded(true);
    Application->OnException = Saved;
    EXPECT_EQ(Reported.size(), 1);
    EXPECT_TRUE(A->ChildrenLoaded);
    EXPECT_EQ(A->childCount(), 0);

    // Switching LoadAll on: to the caller.
    EXPECT_THROW(Dyn->SetLoadAll(true), EDatabaseError);
}

TEST_F(SmallTreeTest, RowThatFailsGivesNoNodeAndTheOthersFollow) {
    Dyn->SetLoadAll(true);
    Dyn->OnAfterAddNode = [](QObject*, const TADOQuery*, TNodeItem*, TItemInfo* Info) {
        if (Info->Id == QLatin1String("12") || Info->Id == QLatin1String("2"))
            throw EConvertError(QStringLiteral("refused"));
    };
    Dyn->SetActive(true);
    EXPECT_EQ(TreeShape(), QStringLiteral("0{1{11},3{31},4'x{4'x1}}"));

    // A column the rows do not have: no row gives a node.
    Dyn->SetActive(false);
    Dyn->SetFieldCaption(QStringLiteral("nosuch"));
    Dyn->SetActive(true);
    EXPECT_EQ(TreeShape(), QStringLiteral("0"));
}

TEST_F(SmallTreeTest, NodesOwnTheirItemInfoAndPlaceholdersLeaveThePendingList) {
    Dyn->SetActive(true);
    EXPECT_EQ(Dyn->PendingNodeCount(), 3);
    delete Find(QStringLiteral("3")); // with its placeholder
    EXPECT_EQ(Dyn->PendingNodeCount(), 2);
    Dyn.reset(); // deactivates: every node goes
    EXPECT_EQ(Tree->topLevelItemCount(), 0);
}
