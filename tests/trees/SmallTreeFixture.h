#pragma once

#include "TreeFixture.h"
#include "support/TempDir.h"
#include "trees/TDynamicTree.h"

#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

// A purpose-made self-referencing table t and a tree configured on it:
//
//   0 (top) +- 1    +- 11 (leaf)
//           |       +- 12   +- 121 (leaf)
//           +- 2 (leaf, empty text)
//           +- 3    +- 31 (leaf)
//           +- 4'x  +- 4'x1 (leaf)
class SmallTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        File = MakeSqliteFile(
            Dir, QStringLiteral("small.db"),
            {QStringLiteral("create table t (id text, pid text, leaf text, cap text, txt text)"),
             QStringLiteral("insert into t values "
                            "('1','0','0','A','A text'), ('11','1','1','A1','A1 text'), "
                            "('12','1','0','A2','A2 text'), ('121','12','1','A21','A21 text'), "
                            "('2','0','1','B',''), ('3','0','0','C','C text'), "
                            "('31','3','1','C1','C1 text'), ('4''x','0','0','D','D text'), "
                            "('4''x1','4''x','1','D1','D1 text')")});
        Conn = OpenConnection(File);
        Tree = std::make_unique<QTreeWidget>();
        Dyn = std::make_unique<TDynamicTree>();
        Configure(*Dyn);
    }

    void TearDown() override { EXPECT_TRUE(WaitForQueryThreads()); }

    void Configure(TDynamicTree& ADyn) {
        ADyn.SetTreeView(Tree.get());
        ADyn.SetAdoConn(Conn.get());
        ADyn.SetSqlTable({QStringLiteral("select id,pid,leaf,cap,txt from t")});
        ADyn.SetFieldId(QStringLiteral("id"));
        ADyn.SetFieldPid(QStringLiteral("pid"));
        ADyn.SetFieldIsLeaf(QStringLiteral("leaf"));
        ADyn.SetValueIsLeaf(QStringLiteral("1"));
        ADyn.SetFieldCaption(QStringLiteral("cap"));
        ADyn.SetFieldText(QStringLiteral("txt"));
        ADyn.SetTopVirNodeIdValue(QStringLiteral("0"));
        ADyn.SetTopVirNodeTitle(QStringLiteral("All"));
    }

    QTreeWidgetItem* Top() const { return Tree->topLevelItem(0); }
    QString TreeShape() const { return Top() ? Shape(Top()) : QString(); }

    // The loaded node with id AId, or null.
    TNodeItem* Find(const QString& AId) const {
        for (QTreeWidgetItemIterator It(Tree.get()); *It; ++It) {
            TNodeItem* Node = TNodeItem::From(*It);
            if (Node && Node->ItemInfo() && Node->ItemInfo()->Kind == TItemInfo::KindRow &&
                Node->ItemInfo()->Id == AId)
                return Node;
        }
        return nullptr;
    }

    TempDir Dir;
    QString File;
    std::unique_ptr<TADOConnection> Conn;
    std::unique_ptr<QTreeWidget> Tree;
    std::unique_ptr<TDynamicTree> Dyn;
};
