#include "DemoData.h"
#include "TreeFixture.h"
#include "support/TempDir.h"
#include "trees/TDynamicTree.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>

namespace {

int CountOf(TADOConnection& AConn, const QString& ASql) {
    TADOQuery Query;
    Query.SetConnection(&AConn);
    Query.SetSQLText(ASql);
    Query.Open();
    return Query.Fields(0).AsInteger();
}

} // namespace

// The unit tree as the report window sets it up, over a generated province:
// every unit in use that is reachable from the top shows once under its
// parent, with one query per node that has sub-units.
TEST(UnitTreeTest, LoadAllBuildsTheWholeProvinceOnceAndSelectsTheFirstLeaf) {
    TempDir Dir;
    const QString File = Dir.File(QStringLiteral("province.db"));
    GenerateDemoDatabase(File, TDemoOptions{300, 500});
    auto Conn = OpenConnection(File);
    QTreeWidget Tree;
    TDynamicTree Units;
    Units.SetAdoConn(Conn.get());
    Units.SetTreeView(&Tree);
    Units.SetSqlTable({QStringLiteral("select eid,peid,leafflag,ename,eid||' '||ename as tname "
                                      "from pubdept where replaceflag='0' and useflag='0' "
                                      "and eid like '%'")});
    Units.SetFieldId(QStringLiteral("eid"));
    Units.SetFieldPid(QStringLiteral("peid"));
    Units.SetFieldIsLeaf(QStringLiteral("leafflag"));
    Units.SetFieldCaption(QStringLiteral("ename"));
    Units.SetFieldText(QStringLiteral("tname"));
    Units.SetValueIsLeaf(QStringLiteral("1"));
    Units.SetTopVirNodeTitle(QStringLiteral("预算单位列表"));
    Units.SetLoadAll(true);
    Units.SetAutoExpandKind(aekFirstLeaf);

    TSqlTrace Trace(*Conn);
    Units.SetActive(true);
    const QStringList Issued = Trace.Statements;

    const QString Reachable = QStringLiteral(
        "with recursive r(eid, leafflag) as (select eid, leafflag from pubdept where peid='' "
        "and replaceflag='0' and useflag='0' union all select p.eid, p.leafflag from pubdept p "
        "join r on p.peid = r.eid where p.replaceflag='0' and p.useflag='0') ");
    const int Nodes = CountOf(*Conn, Reachable + QStringLiteral("select count(*) from r"));
    const int Parents =
        CountOf(*Conn, Reachable + QStringLiteral("select count(*) from r where leafflag='0'"));
    ASSERT_GT(Parents, 30);

    int Seen = 0;
    for (QTreeWidgetItemIterator It(&Tree); *It; ++It) {
        const TNodeItem* Node = TNodeItem::From(*It);
        ASSERT_NE(Node, nullptr);
        const TItemInfo* Info = Node->ItemInfo();
        ASSERT_NE(Info->Kind, TItemInfo::KindPlaceholder);
        if (Info->Kind == TItemInfo::KindTop)
            continue;
        ++Seen;
        EXPECT_EQ(Info->ParentId, Node->ParentNode()->ItemInfo()->Id);
        EXPECT_EQ(Node->text(0), Info->Id + QLatin1Char(' ') + Info->Caption);
    }
    EXPECT_EQ(Seen, Nodes);
    EXPECT_EQ(Issued.size(), 1 + Parents);

    const auto* Current = TNodeItem::From(Tree.currentItem());
    ASSERT_NE(Current, nullptr);
    EXPECT_EQ(Current->childCount(), 0);
    for (const QTreeWidgetItem* Node = Current; Node->parent(); Node = Node->parent())
        EXPECT_EQ(Node->parent()->indexOfChild(const_cast<QTreeWidgetItem*>(Node)), 0);
}
