#include "db/SharedLookups.h"
#include "DbFixture.h"
#include "db/TARQuery.h"
#include "db/TAdoConn.h"
#include "hosting/PlugInEntry.h"
#include "support/TempDir.h"

#include <QPointer>
#include <gtest/gtest.h>

namespace {

TEST(SharedLookups, DefConnectionComesFromTheHostsRegistry) {
    THostScope Host(QStringLiteral("Provider=SQLite;Data Source=/nowhere.db"));
    TAdoConn* Def = GetDefConnection();
    ASSERT_NE(Def, nullptr);
    EXPECT_EQ(GetDefConnection(), Def);
    EXPECT_EQ(Host.Manager->IndexOfConnection(QStringLiteral("DEF")), 0);
    EXPECT_FALSE(Def->Connected());
}

TEST(SharedLookups, OpenDefQueryReportsFailureAndKeepsTheCallersReference) {
    TempDir Dir;
    const QString File = MakeUnitsDb(Dir, {{"101"}, {"101001", "101"}});
    THostScope Host(SqliteConnectionString(File));

    IARQueryPtr Query;
    ASSERT_TRUE(OpenDefQuery(QStringLiteral("select * from pubdept order by eid"), Query));
    TARQuery* Held = Query->GetQuery();
    QPointer<TARQuery> Watch = Held;
    EXPECT_EQ(Held->RefCount(), 1);
    EXPECT_EQ(Held->RecordCount(), 2);

    for (const char* Bad : {"select * from pubdept where", "select * from nosuch",
                            "delete from pubdept", "PRAGMA foreign_keys = 1"}) {
        EXPECT_FALSE(OpenDefQuery(QString::fromLatin1(Bad), Query)) << Bad;
        EXPECT_EQ(Query.Get(), static_cast<IARQuery*>(Held)) << Bad;
        EXPECT_EQ(Held->RefCount(), 1) << Bad;
    }
    Query.Clear();
    EXPECT_TRUE(Watch.isNull());
}

TEST(SharedLookups, OpenDefQueryIsFalseWithoutADatabase) {
    TempDir Dir;
    THostScope Host(SqliteConnectionString(Dir.File(QStringLiteral("missing.db"))));
    IARQueryPtr Query;
    EXPECT_FALSE(OpenDefQuery(QStringLiteral("select 1"), Query));
    EXPECT_FALSE(Query);

    HostContext->DbManager = nullptr;
    EXPECT_FALSE(OpenDefQuery(QStringLiteral("select 1"), Query));
}

struct TDepartmentCase {
    QVariant Code;
    const char* DeptMode;
    bool Department;
};

TEST(SharedLookups, IsDepartmentUnit) {
    THostScope Host(QStringLiteral("Provider=SQLite;Data Source=/nowhere.db"));
    const TDepartmentCase Cases[] = {
        {QStringLiteral("101001"), "1", true},
        {QStringLiteral("101001"), "0", false},
        {QStringLiteral("101001"), "", false},
        {QStringLiteral("101001"), " 1", false},
        {QStringLiteral("101002"), "1", false},
        {QStringLiteral("101001001"), "1", false},
        {QStringLiteral("001001"), "1", true},
        {QStringLiteral("101"), "1", false},
        {QVariant(), "1", false},
        {101001, "1", true},
    };
    for (const auto& Case : Cases) {
        Host.SetUnit(Case.Code, QString::fromLatin1(Case.DeptMode));
        EXPECT_EQ(IsDepartmentUnit(&Host.Unit), Case.Department)
            << Case.Code.toString().toStdString() << " mode '" << Case.DeptMode << "'";
    }
    EXPECT_FALSE(IsDepartmentUnit(nullptr));
}

struct TFewUnitsCase {
    QVariant Code;
    const char* DeptMode;
    bool Few;
};

TEST(SharedLookups, ParentHasFewUnitsCountsThePubdeptRowsOfTheGroup) {
    TempDir Dir;
    // 101: its own row and two units; 102: its own row and one unit; 10' and
    // 10'001: codes with a quote; 2xx: a group of its own.
    const QString File = MakeUnitsDb(Dir, {{"101"},
                                           {"101001", "101"},
                                           {"101002", "101"},
                                           {"102"},
                                           {"102001", "102"},
                                           {"10'"},
                                           {"10'001", "10'"},
                                           {"201"},
                                           {"201001", "201"}});
    THostScope Host(SqliteConnectionString(File));
    const TFewUnitsCase Cases[] = {
        // A department is never asked about: no query, false.
        {QStringLiteral("101001"), "1", false},
        {QStringLiteral("101001"), "0", false},
        {QStringLiteral("101002"), "", false},
        {QStringLiteral("102001"), "", true},
        {QStringLiteral("102001"), "1", false},
        // A quote in the code is part of the prefix, not the end of the text.
        {QStringLiteral("10'001"), "", true},
        // No code, or one of three characters: every unit counts.
        {QVariant(), "", false},
        {QStringLiteral("201"), "", false},
    };
    for (const auto& Case : Cases) {
        Host.SetUnit(Case.Code, QString::fromLatin1(Case.DeptMode));
        EXPECT_EQ(ParentHasFewUnits(&Host.Unit), Case.Few)
            << Case.Code.toString().toStdString() << " mode '" << Case.DeptMode << "'";
    }
    EXPECT_FALSE(ParentHasFewUnits(nullptr));
}

TEST(SharedLookups, ParentHasFewUnitsIsFalseWhenTheLookupFails) {
    TempDir Dir;
    THostScope Host(SqliteConnectionString(Dir.File(QStringLiteral("missing.db"))));
    Host.SetUnit(QStringLiteral("102001"), QString());
    EXPECT_FALSE(ParentHasFewUnits(&Host.Unit));
}

TEST(SharedLookups, ParentHasFewUnitsOnAGeneratedProvince) {
    TempDir Dir;
    const QString File = MakeDemoDb(Dir);
    THostScope Host(SqliteConnectionString(File));
    for (const QString& Code :
         ReadColumn(File, QStringLiteral("select eid from pubdept where length(eid) > 3 "
                                         "order by eid limit 40"))) {
        const int Group =
            ReadColumn(File, QStringLiteral("select count(*) from pubdept where substr(eid, 1, "
                                            "%1) = '%2'")
                                 .arg(Code.size() - 3)
                                 .arg(Code.left(Code.size() - 3)))
                .value(0)
                .toInt();
        Host.SetUnit(Code, QString());
        EXPECT_EQ(ParentHasFewUnits(&Host.Unit), Group < 3) << Code.toStdString();
    }
}

} // namespace
