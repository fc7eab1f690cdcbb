// The report on a PostgreSQL server through a role that holds nothing but
// SELECT on the four objects the tables read.
#include "cell/TCellDocument.h"
#include "db/SharedLookups.h"
#include "platform/data/TAdoConn.h"
#include "report/tables/ReportFill.h"
#include "report/tables/ReportHost.h"
#include "report/tables/ReportLookups.h"
#include "report/tables/TReportFilter.h"
#include "support/EngineFixture.h"
#include "support/WorkbookCells.h"

#include <gtest/gtest.h>

namespace {

// The summary table and every fund nature's detail table of one selection,
// drawn through a host whose "Def" connection is AConnection.
QList<TWorkbookCells> Tables(const QString& AConnection) {
    THostScope Host(AConnection);
    Host.SetUnit("101001", "1");
    const TReportFilter Filter{2024, 1, "1", 0, "101", "选定单位"};
    QList<TWorkbookCells> Grids;
    for (const auto& [Code, Name] : CodedFundNaturesWithData(Filter.WindowFilter(DefDialect())) +
                                        QList<QPair<QString, QString>>{{}}) {
        TCellDocument Grid;
        EXPECT_FALSE(
            FillReport(Grid, MakeReportContext(Filter, "预算数", Code), Code, true).Failed());
        Grids << GridCells(Grid);
    }
    return Grids;
}

TEST(ReportRole, ASelectOnlyRoleGetsTheSameTablesAndIsNoSuperuser) {
    VARNHOLT_REQUIRE_PG_SERVER();
    const TTestSession Server(PgTestServer());
    Server.Exec("drop role if exists varnholt_report");
    Server.Exec("create role varnholt_report login");
    {
        const TDemoDatabase Province(TEngine::PostgreSQL, TDemoOptions{60, 3000});
        Province.Exec("grant select on pubdept, pubmoneykind, busibudgetadj, vwbudgetadj to "
                      "varnholt_report");
        const QString AsRole = Province.ConnectionString() + ";User ID=varnholt_report";
        const QList<TWorkbookCells> Owned = Tables(Province.ConnectionString());
        const QList<TWorkbookCells> Granted = Tables(AsRole);
        ASSERT_EQ(Granted.size(), Owned.size());
        EXPECT_GT(Owned.size(), 2);
        for (int I = 0; I < Owned.size(); ++I)
            EXPECT_EQ(FirstDifference(Granted[I], Owned[I]).toStdString(), "") << "table " << I;

        THostScope Host(AsRole);
        GetDefConnection()->Open();
        EXPECT_FALSE(GetDefConnection()->SuperuserSession());
        THostScope Owner(Province.ConnectionString());
        GetDefConnection()->Open();
        EXPECT_TRUE(GetDefConnection()->SuperuserSession());
    }
    Server.Exec("drop role varnholt_report");
}

} // namespace
