#include "platform/data/TAdoConn.h"
#include "platform/data/TDbManager.h"

#include <QPointer>
#include <gtest/gtest.h>

namespace {

const QString TestString = QStringLiteral("Provider=SQLite;Data Source=/nowhere/demo.db");

TEST(DbManager, GetConnectionCreatesOnceAndIgnoresLetterCase) {
    TDbManager Manager;
    Manager.SetLoginPrompt(true);
    Manager.SetConnectionString(TestString);

    TAdoConn* Def = Manager.GetConnection(QStringLiteral("Def"));
    ASSERT_NE(Def, nullptr);
    EXPECT_EQ(Def->Owner(), nullptr);
    EXPECT_TRUE(Def->LoginPrompt());
    EXPECT_EQ(Def->ConnectionString(), TestString);
    EXPECT_FALSE(Def->Connected());

    EXPECT_EQ(Manager.GetConnection(QStringLiteral("Def")), Def);
    EXPECT_EQ(Manager.GetConnection(QStringLiteral("def")), Def);
    EXPECT_EQ(Manager.Connections().Count(), 1);
    EXPECT_EQ(Manager.IndexOfConnection(QStringLiteral("DEF")), 0);
    EXPECT_EQ(Manager.IndexOfConnection(QStringLiteral("Other")), -1);

    EXPECT_NE(Manager.GetConnection(QStringLiteral("Other")), Def);
    EXPECT_EQ(Manager.Connections().Count(), 2);
}

TEST(DbManager, AddConnectionRefusesATakenName) {
    TDbManager Manager;
    Manager.GetConnection(QStringLiteral("Def"));
    TAdoConn* Extra = Manager.CreateConnection(nullptr);
    try {
        Manager.AddConnection(Extra, QStringLiteral("Def"));
        FAIL() << "registered a second Def";
    } catch (const TExceptDbManager& Error) {
        EXPECT_EQ(Error.Message(), QStringLiteral("一个名为Def的TAdoConn对象已经存在！"));
    }
    EXPECT_EQ(Manager.Connections().Count(), 1);
    Extra->Free();
}

TEST(DbManager, FreedConnectionLeavesTheRegistry) {
    TDbManager Manager;
    TAdoConn* Own = Manager.CreateConnection(nullptr);
    Manager.AddConnection(Own, QStringLiteral("Report"));
    ASSERT_EQ(Manager.IndexOfConnection(QStringLiteral("report")), 0);
    Own->Free();
    EXPECT_EQ(Manager.IndexOfConnection(QStringLiteral("Report")), -1);
    // The name is free again: a fresh connection is made for it.
    EXPECT_NE(Manager.GetConnection(QStringLiteral("Report")), nullptr);
}

TEST(DbManager, FreesTheConnectionsItCreatedButNotOthers) {
    auto* Manager = new TDbManager;
    QPointer<TAdoConn> Created = Manager->GetConnection(QStringLiteral("Def"));
    auto* Registered = new TAdoConn;
    QPointer<TAdoConn> Foreign = Registered;
    Manager->AddConnection(Registered, QStringLiteral("Foreign"));
    Manager->Free();
    EXPECT_TRUE(Created.isNull());
    ASSERT_FALSE(Foreign.isNull());
    Registered->Free();
}

} // namespace
