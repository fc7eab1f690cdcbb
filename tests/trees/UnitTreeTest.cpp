#include "DemoData.h"
#include "TreeFixture.h"

// The unit tree as the report window loads it, over a generated province:
// every unit in use that hangs under the top shows once under its parent,
// from one read of the table, and the first leaf selected.
TEST(UnitTreeTest, LoadAllBuildsTheProvinceFromOneRead) {
    TempDir Dir;
    GenerateDemoDatabase(Dir.File("p.db"), TDemoOptions{300, 500});
    auto Conn = OpenConnection(Dir.File("p.db"));
    QTreeWidget Tree;
    TDynamicTree Units;
    Units.SetAdoConn(Conn.get());
    Units.SetTreeView(&Tree);
    Units.SetSqlTable({"select eid,peid,leafflag,ename,eid||' '||ename as tname from pubdept "
                       "where replaceflag='0' and useflag='0' and eid like '%'"});
    Units.SetFieldId("eid");
    Units.SetFieldPid("peid");
    Units.SetFieldIsLeaf("leafflag");
    Units.SetFieldCaption("ename");
    Units.SetFieldText("tname");
    Units.SetValueIsLeaf("1");
    Units.SetLoadAll(true);
    Units.SetAutoExpandKind(aekFirstLeaf);
    TSqlTrace Trace(*Conn);
    Units.SetActive(true);
    const int Queries = int(Trace.Statements.size());

    TADOQuery Expected; // reachable units in use; those with sub-units
    Expected.SetConnection(Conn.get());
    Expected.SetSQLText(
        "with recursive r(eid, leaf) as (select eid, leafflag from pubdept where peid='' and "
        "replaceflag='0' and useflag='0' union all select p.eid, p.leafflag from pubdept p "
        "join r on p.peid = r.eid where p.replaceflag='0' and p.useflag='0') "
        "select count(*), sum(leaf='0') from r");
    Expected.Open();
    ASSERT_GT(Expected.Fields(1).AsInteger(), 30);
    EXPECT_EQ(Queries, 1);

    int Nodes = 0;
    for (QTreeWidgetItemIterator It(Tree.topLevelItem(0)->child(0)); *It; ++It, ++Nodes) {
        const TNodeItem* Node = TNodeItem::From(*It);
        EXPECT_EQ(Node->ItemInfo()->ParentId, Node->ParentNode()->ItemInfo()->Id);
        EXPECT_EQ(Node->text(0), Node->ItemInfo()->Id + ' ' + Node->ItemInfo()->Caption);
    }
    EXPECT_EQ(Nodes, Expected.Fields(0).AsInteger());
    QTreeWidgetItem* Leaf = Tree.topLevelItem(0);
    while (Leaf->childCount() > 0)
        Leaf = Leaf->child(0);
    EXPECT_EQ(Tree.currentItem(), Leaf);
}
