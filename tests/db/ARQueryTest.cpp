#include "db/QueryLifetime.h"
#include "db/TARQuery.h"
#include "platform/Exception.h"
#include "platform/data/TAdoConn.h"
#include "support/DbFixture.h"
#include "support/TempDir.h"

#include <QPointer>
#include <gtest/gtest.h>

namespace {

class ARQueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        File = MakeUnitsDb(Dir, {{"101"}, {"101001", "101"}, {"101002", "101"}});
        Conn.SetConnectionString(SqliteConnectionString(File));
    }

    TempDir Dir;
    QString File;
    TAdoConn Conn;
};

TEST_F(ARQueryTest, OpenQueryHandsOutTheOnlyReference) {
    IARQueryPtr Query;
    OpenQuery(&Conn, QStringLiteral("select * from pubdept order by eid"), Query);
    ASSERT_TRUE(Query);
    TARQuery* Object = Query->GetQuery();
    QPointer<TARQuery> Watch = Object;
    EXPECT_EQ(Object->RefCount(), 1);
    EXPECT_TRUE(Object->Active());
    EXPECT_EQ(Object->FieldByName(QStringLiteral("eid")).AsString(), QStringLiteral("101"));
    EXPECT_EQ(Object->RecordCount(), 3);

    IARQueryPtr Second = Query;
    EXPECT_EQ(Object->RefCount(), 2);
    Query.Clear();
    EXPECT_FALSE(Watch.isNull());
    Second.Clear();
    EXPECT_TRUE(Watch.isNull());
}

TEST_F(ARQueryTest, ReleaseQueryFreesOnlyWhatNobodyHolds) {
    IARQueryPtr Held;
    OpenQuery(&Conn, QStringLiteral("select 1"), Held);
    QPointer<TARQuery> HeldWatch = Held->GetQuery();
    ReleaseQuery(Held->GetQuery());
    ASSERT_FALSE(HeldWatch.isNull());
    EXPECT_EQ(HeldWatch->RefCount(), 1);

    auto* Loose = new TARQuery;
    QPointer<TARQuery> LooseWatch = Loose;
    ReleaseQuery(Loose);
    EXPECT_TRUE(LooseWatch.isNull());

    ReleaseQuery(nullptr);
}

TEST_F(ARQueryTest, FailedOpenLeavesNoReference) {
    IARQueryPtr Query;
    OpenQuery(&Conn, QStringLiteral("select 1"), Query);
    QPointer<TARQuery> Previous = Query->GetQuery();
    // The previous reference is dropped first, as with an out parameter.
    EXPECT_THROW(OpenQuery(&Conn, QStringLiteral("select * from nosuchtable"), Query),
                 EDatabaseError);
    EXPECT_FALSE(Query);
    EXPECT_TRUE(Previous.isNull());
    EXPECT_THROW(OpenQuery(&Conn, QStringLiteral("PRAGMA foreign_keys = 1"), Query),
                 EDatabaseError);
    EXPECT_FALSE(Query);
}

// Holds a reference and lets it go when its owner, the query, is destroyed.
class TReferenceHolder : public TComponent {
public:
    using TComponent::TComponent;
    ~TReferenceHolder() override { Reference.Clear(); }
    IARQueryPtr Reference;
};

TEST(ARQuery, LastReferenceDroppedDuringDestructionDoesNotFreeAgain) {
    auto* Query = new TARQuery;
    auto* Holder = new TReferenceHolder(Query);
    Holder->Reference = IARQueryPtr(Query);
    ASSERT_EQ(Query->RefCount(), 1);
    // Freeing the query frees the holder, whose reference is the last one.
    Query->Free();
    SUCCEED();
}

} // namespace
