// The report on a PostgreSQL server through a reporting role that holds
// nothing but SELECT on the four objects the tables read: the same tables as
// through the owner, and what a read-only transaction does not stop is
// refused to it.
#include "cell/TCellDocument.h"
#include "db/SharedLookups.h"
#include "platform/data/TAdoConn.h"
#include "report/tables/ReportFill.h"
#include "report/tables/ReportHost.h"
#include "report/tables/ReportLookups.h"
#include "report/tables/TReportFilter.h"
#include "support/EngineFixture.h"
#include "support/WorkbookCells.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// A login role of the server's, dropped with this object.
class TServerRole {
public:
    TServerRole()
        : FName(QStringLiteral("varnholt_report_%1")
                    .arg(QRandomGenerator::global()->bounded(1000000))) {
        TTestSession(PgTestServer()).Exec("create role " + FName + " login");
    }
    ~TServerRole() { TTestSession(PgTestServer()).Exec("drop role " + FName); }
    TServerRole(const TServerRole&) = delete;
    TServerRole& operator=(const TServerRole&) = delete;
    const QString& Name() const { return FName; }

private:
    QString FName;
};

// The summary table and every fund nature's detail table of one selection,
// as the host whose "Def" connection AConnection names draws them.
QList<TWorkbookCells> Tables(const QString& AConnection) {
    THostScope Host(AConnection);
    Host.SetUnit("101001", "1");
    const TReportFilter Filter{2024, 1, "1", 0, "101", "选定单位"};
    QStringList Codes{QString()};
    for (const auto& [Code, Name] : CodedFundNaturesWithData(Filter.WindowFilter(DefDialect())))
        Codes << Code;
    QList<TWorkbookCells> Grids;
    for (const QString& Code : Codes) {
        TCellDocument Grid;
        const TFillResult Filled =
            FillReport(Grid, MakeReportContext(Filter, "预算数", Code), Code, true);
        EXPECT_FALSE(Filled.Failed()) << Filled.Error().toStdString();
        Grids << GridCells(Grid);
    }
    return Grids;
}

TEST(ReportRole, ASelectOnlyRoleGetsTheSameTablesAndNothingBeyond) {
    VARNHOLT_REQUIRE_PG_SERVER();
    const TServerRole Role;
    const TDemoDatabase Province(TEngine::PostgreSQL, TDemoOptions{60, 3000});
    Province.Exec("grant select on pubdept, pubmoneykind, busibudgetadj, vwbudgetadj to " +
                  Role.Name());
    const QString AsRole = Province.ConnectionString() + ";User ID=" + Role.Name();

    const QList<TWorkbookCells> Owned = Tables(Province.ConnectionString());
    const QList<TWorkbookCells> Granted = Tables(AsRole);
    ASSERT_GT(Owned.size(), 2);
    ASSERT_EQ(Granted.size(), Owned.size());
    for (int I = 0; I < Owned.size(); ++I)
        EXPECT_EQ(FirstDifference(Granted[I], Owned[I]).toStdString(), "") << "table " << I;

    // Files and programs of the server, and replication slots, which a
    // rollback would not take back.
    THostScope Host(AsRole);
    const std::pair<const char*, const char*> Refused[] = {
        {"copy (select 1) to '/tmp/varnholt-report-role'", "pg_write_server_files"},
        {"copy (select 1) to program 'true'", "pg_execute_server_program"},
        {"select pg_create_physical_replication_slot('varnholt_report')", "replication"},
        {"select * from busiindicator", "permission denied"},
    };
    for (const auto& [Sql, Reason] : Refused) {
        IARQueryPtr Query;
        QString Error;
        EXPECT_FALSE(OpenDefQuery(QString::fromUtf8(Sql), Query, Error)) << Sql;
        EXPECT_TRUE(Error.contains(QString::fromUtf8(Reason))) << Error.toStdString();
    }
    EXPECT_FALSE(GetDefConnection()->SuperuserSession());
    THostScope Owner(Province.ConnectionString());
    GetDefConnection()->Open();
    EXPECT_TRUE(GetDefConnection()->SuperuserSession());
}

} // namespace
