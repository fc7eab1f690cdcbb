#pragma once

#include "support/DbFixture.h"
#include "support/TempDir.h"
#include "trees/TDynamicTree.h"
#include "trees/TQueryThread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>
#include <sqlite3.h>

// Every statement the engine runs on a connection from now on: what a tree
// really issued, not what it meant to.
class TSqlTrace {
public:
    explicit TSqlTrace(const TADOConnection& AConn)
        : FDb(*static_cast<sqlite3* const*>(AConn.Database().driver()->handle().constData())) {
        sqlite3_trace_v2(FDb, SQLITE_TRACE_STMT, &Add, &Statements);
    }
    ~TSqlTrace() { sqlite3_trace_v2(FDb, 0, nullptr, nullptr); }
    QStringList Statements;

private:
    static int Add(unsigned, void* AList, void*, void* AText) {
        static_cast<QStringList*>(AList)->append(QString::fromUtf8(static_cast<char*>(AText)));
        return 0;
    }
    sqlite3* FDb;
};

// Lets every worker query hand its rows over, finish and free itself.
inline bool WaitForQueryThreads() {
    QElapsedTimer Timer;
    Timer.start();
    while (TQueryThread::LiveCount() > 0 && Timer.elapsed() < 60000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return TQueryThread::LiveCount() == 0;
}

// The subtree as "id{child,child}", placeholders as "【】".
inline QString Shape(QTreeWidgetItem* AItem) {
    const TItemInfo* Info = AItem ? TNodeItem::From(AItem)->ItemInfo() : nullptr;
    if (!Info)
        return QString();
    QStringList Children;
    for (int I = 0; I < AItem->childCount(); ++I)
        Children << Shape(AItem->child(I));
    const QString Id = Info->Kind == TItemInfo::KindPlaceholder ? QStringLiteral("【】") : Info->Id;
    return Children.isEmpty() ? Id : Id + '{' + Children.join(',') + '}';
}

// A purpose-made table t and a tree configured on it:
//   0 (top) +- 1 {11 (leaf), 12 {121 (leaf)}}, 2 (leaf, empty text),
//           +- 3 {31 (leaf)}, 4'x {4'x1 (leaf)}
class SmallTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString File = Dir.File(QStringLiteral("small.db"));
        RunSql(File,
               {"create table t (id, pid, leaf, cap, txt)",
                "insert into t values ('1','0','0','A','A text'), ('11','1','1','A1','A1 text'), "
                "('12','1','0','A2','A2 text'), ('121','12','1','A21','A21 text'), "
                "('2','0','1','B',''), ('3','0','0','C','C text'), ('31','3','1','C1','C1'), "
                "('4''x','0','0','D','D text'), ('4''x1','4''x','1','D1','D1 text')"});
        Conn = OpenConnection(File);
        Dyn = std::make_unique<TDynamicTree>();
        Configure(*Dyn);
    }
    void TearDown() override { EXPECT_TRUE(WaitForQueryThreads()); }

    void Configure(TDynamicTree& ADyn) {
        ADyn.SetTreeView(Tree.get());
        ADyn.SetAdoConn(Conn.get());
        ADyn.SetSqlTable({QStringLiteral("select id,pid,leaf,cap,txt from t")});
        ADyn.SetFieldId("id");
        ADyn.SetFieldPid("pid");
        ADyn.SetFieldIsLeaf("leaf");
        ADyn.SetValueIsLeaf("1");
        ADyn.SetFieldCaption("cap");
        ADyn.SetFieldText("txt");
        ADyn.SetTopVirNodeIdValue("0");
        ADyn.SetTopVirNodeTitle("All");
    }

    QString TreeShape() const { return Shape(Tree->topLevelItem(0)); }
    TNodeItem* Find(const QString& AId) const {
        for (QTreeWidgetItemIterator It(Tree.get()); *It; ++It) {
            TNodeItem* Node = TNodeItem::From(*It);
            if (Node->ItemInfo()->Kind == TItemInfo::KindRow && Node->ItemInfo()->Id == AId)
                return Node;
        }
        return nullptr;
    }

    TempDir Dir;
    std::unique_ptr<TADOConnection> Conn;
    std::unique_ptr<QTreeWidget> Tree = std::make_unique<QTreeWidget>();
    std::unique_ptr<TDynamicTree> Dyn;
};
