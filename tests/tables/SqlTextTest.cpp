// The SQL Server texts of the two table queries, written out here from the
// pieces the queries are made of, independently of the code: a text
// changed by one blank changes the servers' cached plans and what stored
// reports compare with.
#include "db/SharedLookups.h"
#include "platform/data/TSqlDialect.h"
#include "report/tables/DetailQuery.h"
#include "report/tables/ReportLookups.h"
#include "report/tables/SummaryQuery.h"
#include "report/tables/TEmptyTableHint.h"
#include "report/tables/TMarkedUnits.h"
#include "report/tables/TReportFilter.h"
#include "report/tables/WorksheetFit.h"

#include <gtest/gtest.h>

namespace {

const TSqlDialect& SqlServer = TSqlDialect::ForKind(TSqlKind::SqlServer);

QString Cs(const QString& AName, const QString& ARest) {
    return "ISNULL(sum( CASE   WHEN " + AName + "=" + ARest +
           " THEN BudgMoney  ELSE 0  END  ),'0')";
}
QString Ip(const char* ARest) {
    return Cs("ipid", QString::fromUtf8(ARest));
}

TReportFilter Filter() {
    TReportFilter F;
    F.Year = 2013;
    F.DeptClass = 1;
    F.BTypeIndex = "1";
    F.SubTypeIndex = 2;
    F.UnitPrefix = "101";
    F.UnitName = "省教育厅";
    return F;
}

} // namespace

TEST(ReportSqlText, SummaryQueryOnSqlServer) {
    const QString W = " and datayear=2013 and eid like '101%'  and pid<>''   and BType='1'  and "
                      "deptclass='1'  and bkid='21' and btypechild='2' ";
    const QString TSum = Cs("(ipid", "'11' or ipid='17') and pid='10' ") + "/10000 as jbzj," +
                         Cs("(ipid", "'11' or ipid='17') and pid='20' ") + "/10000 as jbsq," +
                         Cs("(ipid", "'12' or ipid='18') and pid='10' ") + "/10000 as xmzj," +
                         Cs("(ipid", "'12' or ipid='18') and pid='20' ") + "/10000 as xmsq, " +
                         Ip("'19' and pid='10' ") + "/10000 as gyqtzj," + Ip("'19' and pid='20' ") +
                         "/10000 as gyqtsq ";
    const QString Block0 = "select 0 as orderid,'' as mid,'' as mname,'' as bid,'' as bname,'' as "
                           "lei,'' as kuan,'' as xiang,sum(BudgMoney)/10000 as summ,0 as jbsb,0 "
                           "as xmsb," +
                           TSum + " from vwbudgetAdj " + " where 1=1 " + W;
    const QString Head = "select %1 as orderid,b.mid,b.mname,b.bid,b.bname,SUBSTRING(b.bid,1,3) as "
                         "lei,SUBSTRING(b.bid,4,2) as kuan,SUBSTRING(b.bid,6,2) as xiang,";
    const QString Four = Ip("'11' and pid='10' ") + " as jbzj," + Ip("'11' and pid='20' ") +
                         " as jbsq," + Ip("'12' and pid='10' ") + " as xmzj," +
                         Ip("'12' and pid='20' ") + " as xmsq";
    const QString SbTwo = Ip("'11' and pid='31' ") + " as jbsb," + Ip("'12' and pid='31' ");
    const auto Block = [&](int N, const QString& Mid, const QString& Outer, const QString& THead,
                           const QString& TSums, const QString& DHead, const QString& DSums,
                           const QString& From, const QString& Group) {
        const QString Where = "      where 1=1 " + W + " and mid='" + Mid + "' ";
        return " union all " + Head.arg(N) + Outer + "from (" + THead + TSums + From + Where +
               "      union all " + DHead + DSums + From + Where + Group + ") b ";
    };
    const QString FundOuter =
        "b.jbzj/10000 as jbzj,b.jbsq/10000 as jbsq,b.xmzj/10000 as xmzj,b.xmsq/10000 as xmsq, ";
    const QString Sums1 = SbTwo + " as xmsb," + Four + ", " + "0 as gyqtzj,0 as gyqtsq ";
    const QString Sums4 = Ip("'17' and pid='10' ") + " as jbzj," + Ip("'17' and pid='20' ") +
                          " as jbsq," + Ip("'18' and pid='10' ") + " as xmzj," +
                          Ip("'18' and pid='20' ") + " as xmsq, " + Ip("'19' and pid='10' ") +
                          " as gyqtzj," + Ip("'19' and pid='20' ") + " as gyqtsq ";
    const QString Expected =
        "select * from (" + Block0 +
        Block(1, "11",
              "b.summ/10000 as summ,b.jbsb/10000 as jbsb,b.xmsb/10000 as xmsb," + FundOuter +
                  "0 as gyqtzj,0 as gyqtsq ",
              "      select '' as mid,'公共财政预算合计' as mname,'' as bid,'' as "
              "bname,sum(BudgMoney) as summ,",
              Sums1, "      select mid,'公共财政预算',bid,bname,sum(BudgMoney) as summ,", Sums1,
              "      from vwbudgetadj ", "      group by mid,mname,bid,bname") +
        Block(2, "12",
              "b.summ/10000 as summ,0 as jbsb,0 as xmsb," + FundOuter + "0 as gyqtzj,0 as gyqtsq  ",
              "      select '' as mid,'政府性基金合计' as mname,'' as bid,'' as "
              "bname,sum(BudgMoney) as summ,",
              Four + " ", "      select mid,'政府性'+mname,bid,bname,sum(BudgMoney) as summ,",
              Four + " ", "      from vwbudgetadj", "      group by mid,mname,bid,bname ") +
        Block(3, "21",
              "b.summ/10000 as summ,b.jbsb/10000 as jbsb,b.xmsb/10000 as xmsb,0 as jbzj,0 as "
              "jbsq,0 as xmzj,0 as xmsq,0 as gyqtzj,0 as gyqtsq ",
              "      select '' as mid,'财政专户管理资金合计' as mname,'' as bid,'' as bname,"
              "             sum(BudgMoney) as summ,0 as jbsb,0 as xmsb ",
              "", "      select mid,mname,bid,bname,sum(BudgMoney) as summ,", SbTwo + " as xmsb ",
              "      from vwbudgetadj", "      group by mid,mname,bid,bname ") +
        Block(4, "31",
              "b.summ/10000 as summ,0 as jbsb,0 as xmsb," + FundOuter +
                  "b.gyqtzj/10000 as gyqtzj,b.gyqtsq/10000 as gyqtsq ",
              "      select '' as mid,'国有资本经营预算合计' as mname,'' as bid,'' as "
              "bname,sum(BudgMoney) as summ,",
              Sums4, "      select mid,mname,bid,bname,sum(BudgMoney) as summ,", Sums4,
              "      from vwbudgetadj", "      group by mid,mname,bid,bname ") +
        ") t where summ>0 order by orderid,bid ";
    EXPECT_EQ(BuildSummarySql(Filter(), SqlServer).toStdString(), Expected.toStdString());
}

namespace {

// The detail query's blocks on SQL Server, from the pieces it is made of.
const QString DetailW = " and datayear=2013 and eid like '101%'  and pid<>''  and BType='1'  and "
                        "deptclass='1'  and bkid='21' and btypechild='2'  and mid='11'";

QString Channels() {
    return Ip("'11' and pid='10' ") + " as jbzj," + Ip("'11' and pid='20' ") + " as jbsq," +
           Ip("'12' and pid='10' ") + " as xmzj," + Ip("'12' and pid='20' ") + " as xmsq, " +
           Ip("'17' and pid='10' ") + " as gyzb," + Ip("'18' and pid='10' ") + " as gyfy," +
           Ip("'19' and pid='10' ") + " as gyqt ";
}

QString GrandTotalBlock(const QString& AOrder, const QString& AW) {
    return "select " + AOrder +
           " as orderid,'' as eid,'省教育厅合计' as ename,"
           "'' as bid,'' as bname,'' as iid,'' as iname,'' as lei,'' as kuan,'' as "
           "xiang,sum(BudgMoney)/10000 as summ," +
           Ip("'11' and pid='31' ") + "/10000 as jbsb," + Ip("'12' and pid='31' ") +
           "/10000 as xmsb," + Ip("'11' and pid='10' ") + "/10000 as jbzj," +
           Ip("'11' and pid='20' ") + "/10000 as jbsq," + Ip("'12' and pid='10' ") +
           "/10000 as xmzj," + Ip("'12' and pid='20' ") + "/10000 as xmsq, " +
           Ip("'17' and pid='10' ") + "/10000 as gyzb," + Ip("'18' and pid='10' ") +
           "/10000 as gyfy," + Ip("'19' and pid='10' ") + "/10000 as gyqt " +
           " from vwbudgetadj where 1=1 " + AW + " union all ";
}

QString LevelBlock(int I, const QString& ALabel, const QString& AL, const QString& AW) {
    return "select " + QString::number(I) +
           " as orderid,b.eid,b.ename,b.bid,b.bname,b.iid,b.iname,SUBSTRING(b.bid,1,3) as "
           "lei,SUBSTRING(b.bid,4,2) as kuan,SUBSTRING(b.bid,6,2) as xiang,"
           "b.summ/10000 as summ,b.jbsb/10000 as jbsb,b.xmsb/10000 as xmsb,"
           "b.jbzj/10000 as jbzj,b.jbsq/10000 as jbsq,b.xmzj/10000 as xmzj,b.xmsq/10000 as "
           "xmsq, b.gyzb/10000 as gyzb,b.gyfy/10000 as gyfy,b.gyqt/10000 as gyqt from ("
           "      select '' as eid,'" +
           ALabel +
           "' as ename,'' as bid,'' as bname,"
           "        '' as iid,'' as iname,sum(BudgMoney) as summ,0 as jbsb,0 as xmsb," +
           Channels() + "      from vwbudgetadj      where 1=1 " + AW + AL +
           "      union all       select  CASE   WHEN len(eid)='3' THEN eid+'001'  ELSE "
           "eid  END   as eid, ename,bid,bname,iid,iname,sum(BudgMoney) as summ," +
           Ip("'11' and pid='31' ") + " as jbsb," + Ip("'12' and pid='31' ") + " as xmsb," +
           Channels() + "      from vwbudgetadj      where 1=1 " + AW + AL +
           "      group by eid,ename,bid,bname,iid,iname) b  union all ";
}

QString Level(int I, const QString& AW = DetailW) {
    const char* const Labels[] = {"级单位合计",   "",
                                  "二级单位合计", "三级单位合计",
                                  "四级单位合计", "五级单位合计",
                                  "六级单位合计", "七级单位合计",
                                  "八级单位合计", "九级单位合计"};
    if (I == 1)
        return LevelBlock(1, "省教育厅本级合计", " and ((len(eid)/3-1)=1 or eid='101') ", AW);
    return LevelBlock(I, Labels[I], " and (len(eid)/3-1)=" + QString::number(I), AW);
}

QString DetailQuery(QString ABlocks) {
    ABlocks.chop(11);
    return "select * from (" + ABlocks + ") t where summ>0 order by orderid,eid,bid,iid";
}

} // namespace

TEST(ReportSqlText, DetailQueryOnSqlServer) {
    TDetailQueryParts Parts;
    Parts.FundCode = "11";
    Parts.WithGrandTotal = true;
    Parts.Levels = {1, 2};
    EXPECT_EQ(BuildDetailSql(Filter(), Parts, SqlServer).toStdString(),
              DetailQuery(GrandTotalBlock("0", DetailW) + Level(1) + Level(2)).toStdString());
}

// The filters of the summary and the detail query for each indicator type
// and sub-type, whole: the detail's has one blank fewer after pid<>''.
TEST(ReportSqlText, FiltersOfEachTypeOnSqlServer) {
    const QString Head = " and datayear=2013 and eid like '101%'  and pid<>''   and BType='";
    const struct {
        const char* What;
        const char* BType;
        int SubType;
        const char* Tail;
    } Cases[] = {
        {"当年预算", "1", 0, "1'  and deptclass='1'  and bkid='21' and btypechild='1'"},
        {"结余预算", "1", 1, "1'  and deptclass='1'  and bkid='22' "},
        {"控制数", "0", 1, "0'  and deptclass='1' "},
        {"临时指标", "2", 0, "2'  and deptclass='1' "},
    };
    for (const auto& Case : Cases) {
        TReportFilter F = Filter();
        F.BTypeIndex = QString::fromLatin1(Case.BType);
        F.SubTypeIndex = Case.SubType;
        const QString SummaryFilter = Head + Case.Tail;
        const QString DetailFilter = QString(SummaryFilter).replace("pid<>''   ", "pid<>''  ");
        EXPECT_EQ(F.SummaryFilter(SqlServer).toStdString(), SummaryFilter.toStdString())
            << Case.What;
        EXPECT_EQ(F.DetailFilter(SqlServer).toStdString(), DetailFilter.toStdString()) << Case.What;
        // The queries carry the filters where every block selects.
        const QString Summary = BuildSummarySql(F, SqlServer);
        EXPECT_EQ(Summary.count(" where 1=1 " + SummaryFilter), 9) << Case.What;
        const QString Detail = BuildDetailSql(F, {"11", true, {1, 2}}, SqlServer);
        EXPECT_EQ(Detail.count(" where 1=1 " + DetailFilter + " and mid='11'"), 5) << Case.What;
    }
}

// A fund nature without a code leaves out the fund-nature condition; a
// unit four levels down lists levels 四 to 九 under their labels.
TEST(ReportSqlText, DetailQueryWithoutFundAndDeepLevelsOnSqlServer) {
    const QString NoFundW = QString(DetailW).remove(" and mid='11'");
    EXPECT_EQ(BuildDetailSql(Filter(), {"", true, {1, 2}}, SqlServer).toStdString(),
              DetailQuery(GrandTotalBlock("0", NoFundW) + Level(1, NoFundW) + Level(2, NoFundW))
                  .toStdString());

    TReportFilter Deep = Filter();
    Deep.UnitPrefix = "101002002003";
    Deep.UnitName = "分校食堂";
    const QString DeepW = QString(DetailW).replace("'101%'", "'101002002003%'");
    QString Levels;
    for (int I = 4; I <= 9; ++I)
        Levels += Level(I, DeepW);
    EXPECT_EQ(BuildDetailSql(Deep, {"11", false, {4, 9}}, SqlServer).toStdString(),
              DetailQuery(Levels).toStdString());
}

// The worksheet check counts a table's rows over its query as a derived
// table, where SQL Server refuses an ORDER BY: the order is left out.
TEST(ReportSqlText, RowCountsOnSqlServer) {
    const QString Order = " order by orderid,eid,bid,iid";
    QString Detail = DetailQuery(GrandTotalBlock("0", DetailW) + Level(1) + Level(2));
    ASSERT_TRUE(Detail.endsWith(Order));
    Detail.chop(Order.size());
    const QString Former = "(jbsb>0.001 or xmsb>0.001)";
    const QString Split = "CASE WHEN " + Former +
                          " THEN (CASE WHEN (jbsb>0.001 and xmsb>0.001) THEN 1 ELSE 0 END+CASE "
                          "WHEN (jbzj>0.001 or jbsq>0.001 or xmzj>0.001 or xmsq>0.001) THEN 1 "
                          "ELSE 0 END) ELSE 0 END";
    const auto Count = [&](const QString& ASplit) {
        return "select count(*) as n,sum(" + ASplit +
               ") as split,sum(CASE WHEN (eid is null or eid='') THEN " + ASplit +
               " ELSE 0 END) as totalsplit,min(orderid) as firstorder,min(CASE WHEN (eid is null "
               "or eid='') THEN orderid ELSE NULL END) as firsttotal from (" +
               Detail + ") c";
    };
    const TDetailQueryParts Parts{"11", true, {1, 2}};
    EXPECT_EQ(WorksheetDetailRowsSql(Filter(), Parts, true, SqlServer).toStdString(),
              Count(Split).toStdString());
    EXPECT_EQ(WorksheetDetailRowsSql(Filter(), Parts, false, SqlServer).toStdString(),
              Count("0").toStdString());

    QString Summary = BuildSummarySql(Filter(), SqlServer);
    ASSERT_TRUE(Summary.endsWith(") t where summ>0 order by orderid,bid "));
    Summary.chop(QString(" order by orderid,bid ").size());
    EXPECT_EQ(WorksheetSummaryRowsSql(Filter(), SqlServer).toStdString(),
              ("select count(*) as n from (" + Summary + ") c").toStdString());
}

// Every other text the report sends to SQL Server, byte for byte: the
// blanks inside them are part of the texts the offices' servers receive.
TEST(ReportSqlText, EveryOtherTextOnSqlServer) {
    TReportFilter Budget = Filter();
    const auto WithType = [](const char* AType, int ASubType) {
        TReportFilter F = Filter();
        F.BTypeIndex = QString::fromLatin1(AType);
        F.SubTypeIndex = ASubType;
        return F;
    };
    TReportFilter Zero = Filter();
    Zero.UnitPrefix = "001";
    const QString ZeroW = QString(DetailW).replace("'101%'", "'001%'");
    const auto Detail = [](const TReportFilter& F, bool AGrand, TLevelRange ALevels) {
        return BuildDetailSql(F, {"11", AGrand, ALevels}, SqlServer);
    };
    const QString Window = " where datayear=2013 and eid like '101%'  and pid<>''    and  "
                           "BType='%1'  and deptclass='1' ";
    const QString Kinds = "select mid as id,mname as name from pubmoneykind where leafflag='0' ";
    const struct {
        const char* What;
        QString Text;
        QString Expected;
    } Cases[] = {
        {"window filter, 当年预算", WithType("1", 0).WindowFilter(SqlServer),
         Window.arg(1) + " and bkid='21' and btypechild='1'"},
        {"window filter, 结余预算", WithType("1", 1).WindowFilter(SqlServer),
         Window.arg(1) + " and bkid='22' "},
        {"window filter, 追加预算", Budget.WindowFilter(SqlServer),
         Window.arg(1) + " and bkid='21' and btypechild='2' "},
        {"window filter, 控制数", WithType("0", 2).WindowFilter(SqlServer), Window.arg(0)},
        {"window filter, 临时指标", WithType("2", 1).WindowFilter(SqlServer), Window.arg(2)},
        {"sub-type out of range", WithType("1", 3).SubTypeCondition(), ""},
        {"detail without grand total", Detail(Budget, false, {2, 3}),
         DetailQuery(Level(2) + Level(3))},
        {"detail of three levels", Detail(Budget, true, {1, 3}),
         DetailQuery(GrandTotalBlock("0", DetailW) + Level(1) + Level(2) + Level(3))},
        {"detail from level 0", Detail(Zero, true, {0, 1}),
         DetailQuery(
             GrandTotalBlock("-1", ZeroW) + Level(0, ZeroW) +
             LevelBlock(1, "省教育厅本级合计", " and ((len(eid)/3-1)=1 or eid='001') ", ZeroW))},
        {"lookup", LookupSql("pubdept", "ename", " eid='101001'"),
         " select ename from pubdept where 1=1 and  eid='101001'"},
        {"lookup without condition", LookupSql("pubdept", "ename", "  "),
         " select ename from pubdept where 1=1"},
        {"fund-nature code", MoneyKindIdSql(" 政府性基金 "),
         " select Mid from PubMoneyKind where 1=1 and  MName='政府性基金'"},
        {"fund natures", MoneyKindListSql(0, false, ""), Kinds},
        {"fund natures, descending", MoneyKindListSql(0, true, ""), Kinds + "order by mid desc "},
        {"fund natures 11, 12, 31", MoneyKindListSql(1, false, ""),
         Kinds + "and mid in ('11','12','31')"},
        {"fund natures 11, 21", MoneyKindListSql(2, false, " and 1=1 "),
         Kinds + "and mid in ('11','21') and 1=1 order by mid desc "},
        {"fund natures 11, 12", MoneyKindListSql(3, true, ""),
         Kinds + "and mid in ('11','12')order by mid desc "},
        {"no such variant", MoneyKindListSql(4, true, " and 1=1"), ""},
        {"fund natures with data", FundNaturesSql(Budget.WindowFilter(SqlServer)),
         Kinds + " and mid in (select distinct mid from busibudgetadj " + Window.arg(1) +
             " and bkid='21' and btypechild='2' )"},
        {"unit tree", UnitTreeSql("101", SqlServer),
         "select eid,peid,leafflag,ename,eid+' '+ename as tname from pubdept where "
         "replaceflag='0' and useflag='0' and eid like '101%'"},
        {"highest leaf class", MaxLeafClassSql("101", SqlServer),
         "select max(class) as class from pubdept where eid like '101%'  and leafflag='1' "},
        {"special account", SpecialAccountSql("101001"),
         " select specialaccount from pubdept where eid='101001'"},
        {"special-account units", TMarkedUnits::Sql(),
         "select eid from pubdept where specialaccount='是'"},
        {"units under", UnitsUnderSql("101", SqlServer),
         "select eid as id,ename as name from pubdept where replaceflag='0' and useflag='0' and "
         "eid like '101%' and eid<>'101' order by eid"},
        {"adjustments of the summary", WorksheetAdjustmentsSql(Budget, "", SqlServer),
         "select count(*) as n,sum(CASE WHEN pid='31' and ipid in ('11','12') THEN 1 ELSE 0 END) "
         "as former,sum(CASE WHEN eid='101' THEN 1 ELSE 0 END) as own from vwbudgetadj where 1=1 " +
             Budget.SummaryFilter(SqlServer)},
        {"adjustments of a detail table", WorksheetAdjustmentsSql(Budget, "21", SqlServer),
         "select count(*) as n,sum(CASE WHEN pid='31' and ipid in ('11','12') THEN 1 ELSE 0 END) "
         "as former,sum(CASE WHEN eid='101' THEN 1 ELSE 0 END) as own from vwbudgetadj where 1=1 " +
             Budget.DetailFilter(SqlServer) + " and mid='21'"},
        {"parent group", ParentGroupSql("101", SqlServer),
         "select * from pubdept where eid like '101%'"},
        {"rows by selection, for an empty table", TEmptyTableHint::Sql(Budget, SqlServer),
         "select datayear,deptclass,BType,bkid,btypechild,count(*) as adjrows from busibudgetadj "
         "where eid like '101%' and pid<>'' group by datayear,deptclass,BType,bkid,btypechild"},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(Case.Text.toStdString(), Case.Expected.toStdString()) << Case.What;
}

// The same queries in the other dialects keep the SQL Server text but for
// the dialect's own pieces; a code that holds wildcards or a quote is data.
TEST(ReportSqlText, OtherDialectsAndOddCodes) {
    TReportFilter F = Filter();
    const TSqlDialect& Sqlite = TSqlDialect::ForKind(TSqlKind::SQLite);
    const QString Summary = BuildSummarySql(F, Sqlite);
    EXPECT_TRUE(Summary.contains("select mid,'政府性'||mname,bid")) << Summary.toStdString();
    EXPECT_FALSE(Summary.contains("ISNULL("));
    TDetailQueryParts Parts;
    Parts.Levels = {1, 1};
    const QString Detail = BuildDetailSql(F, Parts, Sqlite);
    EXPECT_TRUE(Detail.contains("IIF(LENGTH(eid)=3,eid||'001',eid) as eid"))
        << Detail.toStdString();
    EXPECT_TRUE(Detail.contains(" and ((LENGTH(eid)/3-1)=1 or eid='101') "));
    EXPECT_FALSE(Detail.contains(" and mid="));

    F.UnitPrefix = "1_1'";
    F.UnitName = "O'Brien";
    const QString Odd = BuildDetailSql(F, {"11", true, {1, 1}}, Sqlite);
    EXPECT_TRUE(Odd.contains(" eid like '1\\_1''%' escape '\\' ")) << Odd.toStdString();
    EXPECT_TRUE(Odd.contains("'O''Brien合计' as ename"));
    EXPECT_TRUE(Odd.contains("or eid='1_1''') "));
}
