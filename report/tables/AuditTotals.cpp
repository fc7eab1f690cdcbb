#include "AuditTotals.h"

#include "ReportLookups.h"
#include "ReportSql.h"
#include "TDetailAudit.h"
#include "TQueryColumns.h"
#include "TReportFilter.h"
#include "TSummaryAudit.h"
#include "db/SharedLookups.h"
#include "db/SqlLiteral.h"
#include "db/TARQuery.h"
#include "platform/data/TSqlDialect.h"

#include <array>
#include <cstddef>

namespace {

QString KindSum(const TSqlDialect& D, const char* ARest, const QString& AAlias) {
    return QStringLiteral(",") +
           ConditionalSum(D, QStringLiteral("ipid"), QString::fromLatin1(ARest)) +
           QStringLiteral(" as ") + AAlias;
}

// The unit-code length as the detail query measures it.
QString CodeLength(const TSqlDialect& D) {
    return D.Kind() == TSqlKind::SqlServer ? QStringLiteral("len(eid)")
                                           : D.Length(QStringLiteral("eid"));
}

} // namespace

QString DetailTotalsSql(const TReportFilter& AFilter, const QString& AFundCode,
                        const TSqlDialect& D) {
    const QString Length = CodeLength(D);
    const QString Own = D.Decode(QStringLiteral("eid"), {QuotedSqlString(AFilter.UnitPrefix),
                                                         QStringLiteral("1"), QStringLiteral("0")});
    const struct {
        const char* Rest;
        const char* Alias;
    } Columns[] = {{"'11' and pid='31' ", "jbsb"}, {"'12' and pid='31' ", "xmsb"},
                   {"'11' and pid='10' ", "jbzj"}, {"'11' and pid='20' ", "jbsq"},
                   {"'12' and pid='10' ", "xmzj"}, {"'12' and pid='20' ", "xmsq"},
                   {"'17' and pid='10' ", "gyzb"}, {"'18' and pid='10' ", "gyfy"},
                   {"'19' and pid='10' ", "gyqt"}};
    QString Sql = QStringLiteral("select ") + Length + QStringLiteral(" as eidlen,") + Own +
                  QStringLiteral(" as own,count(*) as n,sum(BudgMoney) as summ");
    for (const auto& Column : Columns)
        Sql += KindSum(D, Column.Rest, QString::fromLatin1(Column.Alias));
    return Sql + QStringLiteral(" from vwbudgetadj where 1=1 ") + AFilter.DetailFilter(D) +
           QStringLiteral(" and mid=") + QuotedSqlString(AFundCode) + QStringLiteral(" group by ") +
           Length + QStringLiteral(",") + Own;
}

QString DetailDroppedSql(const TReportFilter& AFilter, const QString& AFundCode,
                         const TSqlDialect& D) {
    const QString Length = CodeLength(D);
    const QString Own = D.Decode(QStringLiteral("eid"), {QuotedSqlString(AFilter.UnitPrefix),
                                                         QStringLiteral("1"), QStringLiteral("0")});
    return QStringLiteral("select ") + Length + QStringLiteral(" as eidlen,") + Own +
           QStringLiteral(" as own,count(*) as n,sum(summ) as summ from (select eid,"
                          "sum(BudgMoney) as summ from vwbudgetadj where 1=1 ") +
           AFilter.DetailFilter(D) + QStringLiteral(" and mid=") + QuotedSqlString(AFundCode) +
           QStringLiteral(" group by eid,bid,iid) d where summ is null or summ<=0 group by ") +
           Length + QStringLiteral(",") + Own;
}

QString SummaryDroppedSql(const TReportFilter& AFilter, const TSqlDialect& D) {
    return QStringLiteral("select mid,count(*) as n,sum(summ) as summ from (select mid,"
                          "sum(BudgMoney) as summ from vwbudgetadj where 1=1 ") +
           AFilter.SummaryFilter(D) +
           QStringLiteral(" group by mid,bid) d where summ is null or summ<=0 group by mid");
}

QString SummaryTotalsSql(const TReportFilter& AFilter, const TSqlDialect& D) {
    const char* const Rests[KindChannelCount] = {
        "'11' and pid='10' ", "'11' and pid='20' ", "'12' and pid='10' ", "'12' and pid='20' ",
        "'17' and pid='10' ", "'17' and pid='20' ", "'18' and pid='10' ", "'18' and pid='20' ",
        "'19' and pid='10' ", "'19' and pid='20' ", "'11' and pid='31' ", "'12' and pid='31' "};
    QString Sql =
        QStringLiteral("select mid,max(mname) as mname,count(*) as n,sum(BudgMoney) as summ");
    for (int K = 0; K < KindChannelCount; ++K)
        Sql += KindSum(D, Rests[K], QStringLiteral("k") + QString::number(K));
    return Sql + QStringLiteral(" from vwbudgetadj where 1=1 ") + AFilter.SummaryFilter(D) +
           QStringLiteral(" group by mid");
}

bool CountDetailTotals(TDetailAudit& AAudit, const TReportFilter& AFilter, const QString& AFundCode,
                       QString& AError) {
    IARQueryPtr Query;
    if (!OpenDefQuery(DetailTotalsSql(AFilter, AFundCode, DefDialect()), Query, AError))
        return false;
    TARQuery& Rows = *Query->GetQuery();
    const TQueryColumns Columns(
        Rows, {QStringLiteral("eidlen"), QStringLiteral("own"), QStringLiteral("n"),
               QStringLiteral("summ"), QStringLiteral("jbsb"), QStringLiteral("xmsb"),
               QStringLiteral("jbzj"), QStringLiteral("jbsq"), QStringLiteral("xmzj"),
               QStringLiteral("xmsq"), QStringLiteral("gyzb"), QStringLiteral("gyfy"),
               QStringLiteral("gyqt")});
    for (Rows.First(); !Rows.Eof(); Rows.Next()) {
        TAuditAmounts Amounts;
        for (std::size_t I = 0; I < TAuditAmounts::Count; ++I)
            Amounts[I] = Columns.Amount(int(I) + 3) / 10000;
        AAudit.AddCounted(int(Columns.Amount(0)), Columns.Amount(1) != 0, int(Columns.Amount(2)),
                          Amounts);
    }
    return true;
}

bool CountSummaryTotals(TSummaryAudit& AAudit, const TReportFilter& AFilter, QString& AError) {
    IARQueryPtr Query;
    if (!OpenDefQuery(SummaryTotalsSql(AFilter, DefDialect()), Query, AError))
        return false;
    TARQuery& Rows = *Query->GetQuery();
    QStringList Names = {QStringLiteral("mid"), QStringLiteral("mname"), QStringLiteral("n"),
                         QStringLiteral("summ")};
    for (int K = 0; K < KindChannelCount; ++K)
        Names << QStringLiteral("k") + QString::number(K);
    const TQueryColumns Columns(Rows, Names);
    for (Rows.First(); !Rows.Eof(); Rows.Next()) {
        std::array<double, KindChannelCount> Kinds{};
        for (int K = 0; K < KindChannelCount; ++K)
            Kinds[std::size_t(K)] = Columns.Amount(4 + K) / 10000;
        AAudit.AddCounted(Columns.Text(0), Columns.Text(1), int(Columns.Amount(2)),
                          Columns.Amount(3) / 10000, Kinds);
    }
    return true;
}

bool CountDetailDropped(TDetailAudit& AAudit, const TReportFilter& AFilter,
                        const QString& AFundCode, QString& AError) {
    IARQueryPtr Query;
    if (!OpenDefQuery(DetailDroppedSql(AFilter, AFundCode, DefDialect()), Query, AError))
        return false;
    TARQuery& Rows = *Query->GetQuery();
    const TQueryColumns Columns(Rows, {QStringLiteral("eidlen"), QStringLiteral("own"),
                                       QStringLiteral("n"), QStringLiteral("summ")});
    AAudit.StartDropped();
    for (Rows.First(); !Rows.Eof(); Rows.Next())
        AAudit.AddDropped(int(Columns.Amount(0)), Columns.Amount(1) != 0, int(Columns.Amount(2)),
                          Columns.Amount(3) / 10000);
    return true;
}

bool CountSummaryDropped(TSummaryAudit& AAudit, const TReportFilter& AFilter, QString& AError) {
    IARQueryPtr Query;
    if (!OpenDefQuery(SummaryDroppedSql(AFilter, DefDialect()), Query, AError))
        return false;
    TARQuery& Rows = *Query->GetQuery();
    const TQueryColumns Columns(
        Rows, {QStringLiteral("mid"), QStringLiteral("n"), QStringLiteral("summ")});
    AAudit.StartDropped();
    for (Rows.First(); !Rows.Eof(); Rows.Next())
        AAudit.AddDropped(Columns.Text(0), int(Columns.Amount(1)), Columns.Amount(2) / 10000);
    return true;
}
