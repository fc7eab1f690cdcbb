#include "SummaryQuery.h"

#include "ReportSql.h"
#include "TQueryColumns.h"
#include "TReportFilter.h"
#include "platform/data/TSqlDialect.h"

#include <cmath>

namespace {

// The conditional sums of the summary query, by the column they feed. The
// "(ipid" sums open a parenthesis that their rest closes, so they count two
// expenditure kinds at once: basic with capital, project with expense.
struct TSums {
    explicit TSums(const TSqlDialect& ADialect)
        : D(ADialect) {}

    QString Sum(const char* AName, const char* ARest) const {
        return ConditionalSum(D, QString::fromLatin1(AName), QString::fromLatin1(ARest));
    }
    QString TJbzj() const { return Sum("(ipid", "'11' or ipid='17') and pid='10' "); }
    QString TJbsq() const { return Sum("(ipid", "'11' or ipid='17') and pid='20' "); }
    QString TXmzj() const { return Sum("(ipid", "'12' or ipid='18') and pid='10' "); }
    QString TXmsq() const { return Sum("(ipid", "'12' or ipid='18') and pid='20' "); }
    QString Jbsb() const { return Sum("ipid", "'11' and pid='31' "); }
    QString Xmsb() const { return Sum("ipid", "'12' and pid='31' "); }
    QString Jbzj() const { return Sum("ipid", "'11' and pid='10' "); }
    QString Jbsq() const { return Sum("ipid", "'11' and pid='20' "); }
    QString Xmzj() const { return Sum("ipid", "'12' and pid='10' "); }
    QString Xmsq() const { return Sum("ipid", "'12' and pid='20' "); }
    QString KJbzj() const { return Sum("ipid", "'17' and pid='10' "); }
    QString KJbsq() const { return Sum("ipid", "'17' and pid='20' "); }
    QString KXmzj() const { return Sum("ipid", "'18' and pid='10' "); }
    QString KXmsq() const { return Sum("ipid", "'18' and pid='20' "); }
    QString Gyqtzj() const { return Sum("ipid", "'19' and pid='10' "); }
    QString Gyqtsq() const { return Sum("ipid", "'19' and pid='20' "); }

    // The four channel sums of basic and project expenditure.
    QString ChannelSums(const QString& ALastSeparator) const {
        return Jbzj() + QStringLiteral(" as jbzj,") + Jbsq() + QStringLiteral(" as jbsq,") +
               Xmzj() + QStringLiteral(" as xmzj,") + Xmsq() + QStringLiteral(" as xmsq") +
               ALastSeparator;
    }

    const TSqlDialect& D;
};

// The pieces of one fund nature's block.
struct TBlock {
    int Number;
    const char* Mid;
    QString OuterAmounts;
    QString TotalHead;
    QString TotalSums;
    QString DetailHead;
    QString DetailSums;
    QString From;
    QString GroupBy;
};

QString GrandTotal(const TSums& ASums, const QString& AFilter) {
    return QStringLiteral("select 0 as orderid,'' as mid,'' as mname,'' as bid,'' as bname,'' as "
                          "lei,'' as kuan,'' as xiang,sum(BudgMoney)/10000 as summ,0 as jbsb,0 "
                          "as xmsb,") +
           ASums.TJbzj() + QStringLiteral("/10000 as jbzj,") + ASums.TJbsq() +
           QStringLiteral("/10000 as jbsq,") + ASums.TXmzj() + QStringLiteral("/10000 as xmzj,") +
           ASums.TXmsq() + QStringLiteral("/10000 as xmsq, ") + ASums.Gyqtzj() +
           QStringLiteral("/10000 as gyqtzj,") + ASums.Gyqtsq() +
           QStringLiteral("/10000 as gyqtsq ") + QStringLiteral(" from vwbudgetAdj ") +
           QStringLiteral(" where 1=1 ") + AFilter;
}

QString BlockText(const TBlock& ABlock, const TSqlDialect& ADialect, const QString& AFilter) {
    const QString FundCondition =
        QStringLiteral(" and mid='") + QString::fromLatin1(ABlock.Mid) + QStringLiteral("' ");
    const QString Where = QStringLiteral("      where 1=1 ") + AFilter + FundCondition;
    return QStringLiteral(" union all ") + QStringLiteral("select ") +
           QString::number(ABlock.Number) +
           QStringLiteral(" as orderid,b.mid,b.mname,b.bid,b.bname,") +
           SubjectLevelColumns(ADialect) + ABlock.OuterAmounts + QStringLiteral("from (") +
           ABlock.TotalHead + ABlock.TotalSums + ABlock.From + Where +
           QStringLiteral("      union all ") + ABlock.DetailHead + ABlock.DetailSums +
           ABlock.From + Where + ABlock.GroupBy + QStringLiteral(") b ");
}

const QString FundOuterAmounts = QStringLiteral(
    "b.jbzj/10000 as jbzj,b.jbsq/10000 as jbsq,b.xmzj/10000 as xmzj,b.xmsq/10000 as xmsq, ");

TBlock PublicBudgetBlock(const TSums& ASums) {
    const QString Sums = ASums.Jbsb() + QStringLiteral(" as jbsb,") + ASums.Xmsb() +
                         QStringLiteral(" as xmsb,") + ASums.ChannelSums(QStringLiteral(", ")) +
                         QStringLiteral("0 as gyqtzj,0 as gyqtsq ");
    return {1,
            "11",
            QStringLiteral("b.summ/10000 as summ,b.jbsb/10000 as jbsb,b.xmsb/10000 as xmsb,") +
                FundOuterAmounts + QStringLiteral("0 as gyqtzj,0 as gyqtsq "),
            QStringLiteral("      select '' as mid,'公共财政预算合计' as mname,'' as bid,'' as "
                           "bname,sum(BudgMoney) as summ,"),
            Sums,
            QStringLiteral("      select mid,'公共财政预算',bid,bname,sum(BudgMoney) as summ,"),
            Sums,
            QStringLiteral("      from vwbudgetadj "),
            QStringLiteral("      group by mid,mname,bid,bname")};
}

TBlock GovernmentFundBlock(const TSums& ASums) {
    const QString Sums = ASums.ChannelSums(QStringLiteral(" "));
    // "政府性" joined before the fund nature's own name, with the database's
    // own concatenation.
    const QString Label = ASums.D.Concat({QStringLiteral("'政府性'"), QStringLiteral("mname")});
    return {2,
            "12",
            QStringLiteral("b.summ/10000 as summ,0 as jbsb,0 as xmsb,") + FundOuterAmounts +
                QStringLiteral("0 as gyqtzj,0 as gyqtsq  "),
            QStringLiteral("      select '' as mid,'政府性基金合计' as mname,'' as bid,'' as "
                           "bname,sum(BudgMoney) as summ,"),
            Sums,
            QStringLiteral("      select mid,") + Label +
                QStringLiteral(",bid,bname,sum(BudgMoney) as summ,"),
            Sums,
            QStringLiteral("      from vwbudgetadj"),
            QStringLiteral("      group by mid,mname,bid,bname ")};
}

TBlock SpecialAccountBlock(const TSums& ASums) {
    return {3,
            "21",
            QStringLiteral("b.summ/10000 as summ,b.jbsb/10000 as jbsb,b.xmsb/10000 as xmsb,") +
                QStringLiteral("0 as jbzj,0 as jbsq,0 as xmzj,0 as xmsq,0 as gyqtzj,0 as gyqtsq "),
            QStringLiteral("      select '' as mid,'财政专户管理资金合计' as mname,'' as bid,'' "
                           "as bname,") +
                QStringLiteral("             sum(BudgMoney) as summ,0 as jbsb,0 as xmsb "),
            QString(),
            QStringLiteral("      select mid,mname,bid,bname,sum(BudgMoney) as summ,"),
            ASums.Jbsb() + QStringLiteral(" as jbsb,") + ASums.Xmsb() + QStringLiteral(" as xmsb "),
            QStringLiteral("      from vwbudgetadj"),
            QStringLiteral("      group by mid,mname,bid,bname ")};
}

TBlock StateCapitalBlock(const TSums& ASums) {
    const QString Sums = ASums.KJbzj() + QStringLiteral(" as jbzj,") + ASums.KJbsq() +
                         QStringLiteral(" as jbsq,") + ASums.KXmzj() + QStringLiteral(" as xmzj,") +
                         ASums.KXmsq() + QStringLiteral(" as xmsq, ") + ASums.Gyqtzj() +
                         QStringLiteral(" as gyqtzj,") + ASums.Gyqtsq() +
                         QStringLiteral(" as gyqtsq ");
    return {4,
            "31",
            QStringLiteral("b.summ/10000 as summ,0 as jbsb,0 as xmsb,") + FundOuterAmounts +
                QStringLiteral("b.gyqtzj/10000 as gyqtzj,b.gyqtsq/10000 as gyqtsq "),
            QStringLiteral("      select '' as mid,'国有资本经营预算合计' as mname,'' as bid,'' as "
                           "bname,sum(BudgMoney) as summ,"),
            Sums,
            QStringLiteral("      select mid,mname,bid,bname,sum(BudgMoney) as summ,"),
            Sums,
            QStringLiteral("      from vwbudgetadj"),
            QStringLiteral("      group by mid,mname,bid,bname ")};
}

enum TSummaryColumn {
    Mid,
    Mname,
    Lei,
    Kuan,
    Xiang,
    Bname,
    Summ,
    Jbsb,
    Xmsb,
    Jbzj,
    Jbsq,
    Xmzj,
    Xmsq,
    Gyqtzj,
    Gyqtsq,
    Orderid
};

} // namespace

bool TSummaryRowAmounts::Finite() const {
    for (double Amount : {summ, jbsb, xmsb, jbzj, jbsq, xmzj, xmsq, gyqtzj, gyqtsq}) {
        if (!std::isfinite(Amount))
            return false;
    }
    return true;
}

QString BuildSummarySql(const TReportFilter& AFilter, const TSqlDialect& ADialect) {
    const TSums Sums(ADialect);
    const QString Filter = AFilter.SummaryFilter(ADialect);
    QString Blocks = GrandTotal(Sums, Filter);
    for (const TBlock& Block : {PublicBudgetBlock(Sums), GovernmentFundBlock(Sums),
                                SpecialAccountBlock(Sums), StateCapitalBlock(Sums)})
        Blocks += BlockText(Block, ADialect, Filter);
    return QStringLiteral("select * from (") + Blocks +
           QStringLiteral(") t where summ>0 order by orderid,bid ");
}

TSummaryRowReader::TSummaryRowReader(const TADOQuery& AQuery)
    : FColumns(AQuery, {QStringLiteral("mid"), QStringLiteral("mname"), QStringLiteral("lei"),
                        QStringLiteral("kuan"), QStringLiteral("xiang"), QStringLiteral("bname"),
                        QStringLiteral("summ"), QStringLiteral("jbsb"), QStringLiteral("xmsb"),
                        QStringLiteral("jbzj"), QStringLiteral("jbsq"), QStringLiteral("xmzj"),
                        QStringLiteral("xmsq"), QStringLiteral("gyqtzj"), QStringLiteral("gyqtsq"),
                        QStringLiteral("orderid")}) {}

int TSummaryRowReader::Order() const {
    return int(FColumns.Amount(Orderid));
}

void TSummaryRowReader::Read(TSummaryRowText& AText, TSummaryRowAmounts& AAmounts) const {
    AText = {FColumns.Text(Mid),  FColumns.Text(Mname), FColumns.Text(Lei),
             FColumns.Text(Kuan), FColumns.Text(Xiang), FColumns.Text(Bname)};
    AAmounts = {FColumns.Amount(Summ), FColumns.Amount(Jbsb),   FColumns.Amount(Xmsb),
                FColumns.Amount(Jbzj), FColumns.Amount(Jbsq),   FColumns.Amount(Xmzj),
                FColumns.Amount(Xmsq), FColumns.Amount(Gyqtzj), FColumns.Amount(Gyqtsq)};
}

void ReadSummaryRow(const TADOQuery& AQuery, TSummaryRowText& AText, TSummaryRowAmounts& AAmounts) {
    TSummaryRowReader(AQuery).Read(AText, AAmounts);
}
