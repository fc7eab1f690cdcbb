#include "DetailQuery.h"

#include "ReportLookups.h"
#include "ReportSql.h"
#include "TReportFilter.h"
#include "db/SharedLookups.h"
#include "db/SqlLiteral.h"
#include "db/TARQuery.h"
#include "db/TQueryFailureWatch.h"
#include "platform/Exception.h"
#include "platform/data/TAdoConn.h"
#include "platform/data/TSqlDialect.h"

#include <algorithm>
#include <cmath>

namespace {

// Far more levels than unit codes have; a bad class in pubdept must not
// make a query of thousands of blocks.
constexpr int MaxLevels = 100;

QString Sum(const TSqlDialect& ADialect, const char* ARest) {
    return ConditionalSum(ADialect, QStringLiteral("ipid"), QString::fromLatin1(ARest));
}

QString ChannelSums(const TSqlDialect& D) {
    return Sum(D, "'11' and pid='10' ") + QStringLiteral(" as jbzj,") +
           Sum(D, "'11' and pid='20' ") + QStringLiteral(" as jbsq,") +
           Sum(D, "'12' and pid='10' ") + QStringLiteral(" as xmzj,") +
           Sum(D, "'12' and pid='20' ") + QStringLiteral(" as xmsq, ") +
           Sum(D, "'17' and pid='10' ") + QStringLiteral(" as gyzb,") +
           Sum(D, "'18' and pid='10' ") + QStringLiteral(" as gyfy,") +
           Sum(D, "'19' and pid='10' ") + QStringLiteral(" as gyqt ");
}

QString FormerChannelSums(const TSqlDialect& D) {
    return Sum(D, "'11' and pid='31' ") + QStringLiteral(" as jbsb,") +
           Sum(D, "'12' and pid='31' ") + QStringLiteral(" as xmsb,");
}

// The grand total sorts first by its orderid 0. When the levels start at 0
// (a prefix such as "001" or of one or two characters) the level-0 subtotal
// has orderid 0 and an empty code as well, and which of the two comes first
// is up to the database's plan: PostgreSQL puts the subtotal first, and so
// may SQL Server. The grand total then lands on the second table row, where
// a department's row takes the former-channel split, so the table would
// both misplace and split its total. On every engine the grand total of such
// a range takes orderid -1, which no reader of the rows looks at; every
// other range keeps its fixed text, byte for byte, since the servers' cached
// plans and the offices' stored reports depend on it.
QString GrandTotalOrder(const TLevelRange& ALevels) {
    return ALevels.First <= 0 ? QStringLiteral("-1") : QStringLiteral("0");
}

QString GrandTotal(const TSqlDialect& D, const QString& AOrder, const QString& AUnitName,
                   const QString& AFilter) {
    const char* const Rests[] = {"'11' and pid='31' ", "'12' and pid='31' ", "'11' and pid='10' ",
                                 "'11' and pid='20' ", "'12' and pid='10' ", "'12' and pid='20' ",
                                 "'17' and pid='10' ", "'18' and pid='10' ", "'19' and pid='10' "};
    const char* const Aliases[] = {"/10000 as jbsb,", "/10000 as xmsb,", "/10000 as jbzj,",
                                   "/10000 as jbsq,", "/10000 as xmzj,", "/10000 as xmsq, ",
                                   "/10000 as gyzb,", "/10000 as gyfy,", "/10000 as gyqt "};
    QString Text = QStringLiteral("select ") + AOrder + QStringLiteral(" as orderid,'' as eid,") +
                   QuotedSqlString(AUnitName + QStringLiteral("合计")) +
                   QStringLiteral(" as ename,") +
                   QStringLiteral("'' as bid,'' as bname,'' as iid,'' as iname,'' as lei,'' as "
                                  "kuan,'' as xiang,") +
                   QStringLiteral("sum(BudgMoney)/10000 as summ,");
    for (size_t I = 0; I < std::size(Rests); ++I)
        Text += Sum(D, Rests[I]) + QString::fromLatin1(Aliases[I]);
    return Text + QStringLiteral(" from vwbudgetadj") + QStringLiteral(" where 1=1 ") + AFilter +
           QStringLiteral(" union all ");
}

// The length of a unit code, as the text each database understands.
QString EidLength(const TSqlDialect& D) {
    return D.Kind() == TSqlKind::SqlServer ? QStringLiteral("len(eid)")
                                           : D.Length(QStringLiteral("eid"));
}

// Level 1 also takes the rows of the prefix's own code.
QString LevelCondition(const TSqlDialect& D, int ALevel, const QString& APrefix) {
    if (ALevel == 1)
        return QStringLiteral(" and ((") + EidLength(D) + QStringLiteral("/3-1)=") +
               QStringLiteral("1") + QStringLiteral(" or eid=") + QuotedSqlString(APrefix) +
               QStringLiteral(") ");
    return QStringLiteral(" and (") + EidLength(D) + QStringLiteral("/3-1)=") +
           QString::number(ALevel);
}

// A 3-character code is shown as its own-level unit, with "001" appended.
// SQL Server compares the length with '3' and converts; elsewhere a text
// never equals a number, so the length is compared with 3.
QString ShownCode(const TSqlDialect& D) {
    if (D.Kind() == TSqlKind::SqlServer)
        return D.Decode(
            QStringLiteral("len(eid)"),
            {QStringLiteral("'3'"), QStringLiteral("eid+'001'"), QStringLiteral("eid")});
    return D.Decode(D.Length(QStringLiteral("eid")),
                    {QStringLiteral("3"),
                     D.Concat({QStringLiteral("eid"), QStringLiteral("'001'")}),
                     QStringLiteral("eid")});
}

QString LevelBlock(const TSqlDialect& D, int ALevel, const TReportFilter& AFilter,
                   const QString& AWhere) {
    const QString Label = ALevel == 1 ? AFilter.UnitName + QStringLiteral("本级合计")
                                      : LevelNumeral(ALevel) + QStringLiteral("级单位合计");
    const QString Where =
        QStringLiteral("      where 1=1 ") + AWhere + LevelCondition(D, ALevel, AFilter.UnitPrefix);
    return QStringLiteral("select ") + QString::number(ALevel) +
           QStringLiteral(" as orderid,b.eid,b.ename,b.bid,b.bname,b.iid,b.iname,") +
           SubjectLevelColumns(D) +
           QStringLiteral("b.summ/10000 as summ,b.jbsb/10000 as jbsb,b.xmsb/10000 as xmsb,") +
           QStringLiteral("b.jbzj/10000 as jbzj,b.jbsq/10000 as jbsq,b.xmzj/10000 as "
                          "xmzj,b.xmsq/10000 as xmsq, ") +
           QStringLiteral("b.gyzb/10000 as gyzb,b.gyfy/10000 as gyfy,b.gyqt/10000 as gyqt ") +
           QStringLiteral("from (") + QStringLiteral("      select '' as eid,") +
           QuotedSqlString(Label) + QStringLiteral(" as ename,'' as bid,'' as bname,") +
           QStringLiteral("        '' as iid,'' as iname,sum(BudgMoney) as summ,0 as jbsb,0 as "
                          "xmsb,") +
           ChannelSums(D) + QStringLiteral("      from vwbudgetadj") + Where +
           QStringLiteral("      union all ") + QStringLiteral("      select ") + ShownCode(D) +
           QStringLiteral(" as eid, ename,bid,bname,iid,iname,sum(BudgMoney) as summ,") +
           FormerChannelSums(D) + ChannelSums(D) + QStringLiteral("      from vwbudgetadj") +
           Where + QStringLiteral("      group by eid,ename,bid,bname,iid,iname") +
           QStringLiteral(") b ") + QStringLiteral(" union all ");
}

enum TDetailColumn {
    Eid,
    Ename,
    Lei,
    Kuan,
    Xiang,
    Bname,
    Iid,
    Iname,
    Summ,
    Jbsb,
    Xmsb,
    Jbzj,
    Jbsq,
    Xmzj,
    Xmsq,
    Gyzb,
    Gyfy,
    Gyqt,
    Orderid
};

} // namespace

bool TDetailRowAmounts::Finite() const {
    for (double Amount : {summ, jbsb, xmsb, jbzj, jbsq, xmzj, xmsq, gyzb, gyfy, gyqt}) {
        if (!std::isfinite(Amount))
            return false;
    }
    return true;
}

QString BuildDetailSql(const TReportFilter& AFilter, const TDetailQueryParts& AParts,
                       const TSqlDialect& ADialect) {
    QString Where = AFilter.DetailFilter(ADialect);
    if (!AParts.FundCode.isEmpty())
        Where += QStringLiteral(" and mid=") + QuotedSqlString(AParts.FundCode);
    QString Blocks;
    if (AParts.WithGrandTotal)
        Blocks = GrandTotal(ADialect, GrandTotalOrder(AParts.Levels), AFilter.UnitName, Where);
    for (int Level = AParts.Levels.First; Level <= AParts.Levels.Last; ++Level)
        Blocks += LevelBlock(ADialect, Level, AFilter, Where);
    Blocks.chop(QStringLiteral(" union all ").size());
    return QStringLiteral("select * from (") + Blocks +
           QStringLiteral(") t where summ>0 order by orderid,eid,bid,iid");
}

TLevelRange DetailLevelRange(const QString& APrefix, int AMaxLeafClass) {
    TLevelRange Range;
    const int Length = int(APrefix.size());
    const int OwnLevel = Length / 3 - 1;
    Range.First = APrefix.right(3) == QLatin1String("001") ? OwnLevel : Length / 3;
    // A unit without sub-units (no leaf below its own level) has rows only
    // at its own level: starting one level below it would give a table of
    // headings alone. Levels from 1 take the prefix's own rows anyway.
    if (Range.First > 1 && AMaxLeafClass <= OwnLevel)
        Range.First = OwnLevel;
    Range.Last = std::clamp(AMaxLeafClass, Range.First, Range.First + MaxLevels - 1);
    return Range;
}

TLevelRange DetailLevelRange(const QString& APrefix) {
    return DetailLevelRange(APrefix, MaxLeafClass(APrefix));
}

QString MaxLeafClassSql(const QString& APrefix, const TSqlDialect& ADialect) {
    return QStringLiteral("select max(class) as class from pubdept where eid like ") +
           ADialect.LikePrefix(APrefix) + QStringLiteral("  and leafflag='1' ");
}

int MaxLeafClass(const QString& APrefix) {
    const QString Sql = MaxLeafClassSql(APrefix, DefDialect());
    IARQueryPtr Query;
    if (!OpenDefQuery(Sql, Query))
        return 0;
    try {
        return Query->GetQuery()->Fields(0).AsInteger();
    } catch (const Exception& E) {
        // A class that is not a number: the query gave nothing usable.
        TQueryFailureWatch::Record(Sql, E.Message());
        return 0;
    }
}

QString LevelNumeral(int ALevel) {
    static const char* const Numerals[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};
    if (ALevel < 1 || ALevel > 9)
        return QString();
    return QString::fromUtf8(Numerals[ALevel - 1]);
}

TDetailRowReader::TDetailRowReader(const TADOQuery& AQuery)
    : FColumns(AQuery, {QStringLiteral("eid"), QStringLiteral("ename"), QStringLiteral("lei"),
                        QStringLiteral("kuan"), QStringLiteral("xiang"), QStringLiteral("bname"),
                        QStringLiteral("iid"), QStringLiteral("iname"), QStringLiteral("summ"),
                        QStringLiteral("jbsb"), QStringLiteral("xmsb"), QStringLiteral("jbzj"),
                        QStringLiteral("jbsq"), QStringLiteral("xmzj"), QStringLiteral("xmsq"),
                        QStringLiteral("gyzb"), QStringLiteral("gyfy"), QStringLiteral("gyqt"),
                        QStringLiteral("orderid")}) {}

int TDetailRowReader::Order() const {
    return int(FColumns.Amount(Orderid));
}

void TDetailRowReader::Read(TDetailRowText& AText, TDetailRowAmounts& AAmounts) const {
    AText = {FColumns.Text(Eid),   FColumns.Text(Ename), FColumns.Text(Lei), FColumns.Text(Kuan),
             FColumns.Text(Xiang), FColumns.Text(Bname), FColumns.Text(Iid), FColumns.Text(Iname)};
    AAmounts = {FColumns.Amount(Summ), FColumns.Amount(Jbsb), FColumns.Amount(Xmsb),
                FColumns.Amount(Jbzj), FColumns.Amount(Jbsq), FColumns.Amount(Xmzj),
                FColumns.Amount(Xmsq), FColumns.Amount(Gyzb), FColumns.Amount(Gyfy),
                FColumns.Amount(Gyqt)};
}

void ReadDetailRow(const TADOQuery& AQuery, TDetailRowText& AText, TDetailRowAmounts& AAmounts) {
    TDetailRowReader(AQuery).Read(AText, AAmounts);
}
