#include "db/SharedLookups.h"
#include "db/TARQuery.h"
#include "hostcontext/HostContext.h"
#include "platform/data/TAdoConn.h"
#include "support/DbFixture.h"
#include "support/EngineFixture.h"
#include "support/TempDir.h"

#include <QPointer>
#include <algorithm>
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

class SharedLookupsOnEngines : public TEngineTest {};

// Every unit of a generated province, and codes holding LIKE's wildcards,
// which must count the units whose codes begin with them as text: a unit
// code %%%%%% once matched every unit.
TEST_P(SharedLookupsOnEngines, ParentHasFewUnitsOnAGeneratedProvince) {
    QStringList Codes;
    for (const QVariantList& Row : Database().Rows(QStringLiteral("select eid from pubdept")))
        Codes << Row.value(0).toString();
    ASSERT_EQ(Codes.size(), DemoOptions().Units);
    const auto GroupSize = [&](const QString& APrefix) {
        return std::count_if(Codes.begin(), Codes.end(),
                             [&](const QString& ACode) { return ACode.startsWith(APrefix); });
    };
    const QStringList Odd = {"%%%%%%", "___001", "1_1001", "10%001", "10\\001"};
    for (const QString& Code : Codes + Odd) {
        const QString Prefix = Code.size() > 3 ? Code.left(Code.size() - 3) : QString();
        const bool Department = Code.size() == 6 && Code.endsWith(QLatin1String("001"));
        for (const char* Mode : {"", "1"}) {
            Host().SetUnit(Code, QString::fromLatin1(Mode));
            const bool DeptMode = *Mode == '1';
            EXPECT_EQ(IsDepartmentUnit(&Host().Unit), DeptMode && Department) << Code.toStdString();
            EXPECT_EQ(ParentHasFewUnits(&Host().Unit),
                      !(DeptMode && Department) && GroupSize(Prefix) < 3)
                << Code.toStdString() << " mode '" << Mode << "'";
        }
    }
    Host().SetUnit(QStringLiteral("%%%%%%"), QString());
    EXPECT_TRUE(ParentHasFewUnits(&Host().Unit));
}

VARNHOLT_INSTANTIATE_ON_ENGINES(SharedLookupsOnEngines);

} // namespace
