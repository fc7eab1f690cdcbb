#include "TSummaryAudit.h"

namespace {

enum TColumn { Summ, Jbsb, Xmsb, Jbzj, Jbsq, Xmzj, Xmsq, Gyqtzj, Gyqtsq };

const char* const BlockFunds[] = {"11", "12", "21", "31"};

QString ColumnName(int AColumn) {
    // As the template's column headings name them.
    static const char* const Names[] = {
        "预算数",           "基本支出暂按原渠道", "项目支出暂按原渠道",
        "基本支出直接支付", "基本支出授权支付",   "项目支出直接支付",
        "项目支出授权支付", "其他支出直接支付",   "其他支出授权支付"};
    return QString::fromUtf8(Names[AColumn]);
}

QString BlockName(const QString& AMid) {
    if (AMid == QLatin1String("11"))
        return QStringLiteral("公共财政预算");
    if (AMid == QLatin1String("12"))
        return QStringLiteral("政府性基金");
    if (AMid == QLatin1String("21"))
        return QStringLiteral("财政专户管理资金");
    return QStringLiteral("国有资本经营预算");
}

int OrderOf(const QString& AMid) {
    for (int I = 0; I < 4; ++I) {
        if (AMid == QLatin1String(BlockFunds[I]))
            return I + 1;
    }
    return 0;
}

TAuditAmounts ToAmounts(const TSummaryRowAmounts& A) {
    TAuditAmounts Amounts;
    Amounts.Value = {A.summ, A.jbsb, A.xmsb, A.jbzj, A.jbsq, A.xmzj, A.xmsq, A.gyqtzj, A.gyqtsq, 0};
    return Amounts;
}

bool Positive(double AAmount) {
    return AAmount > 0 && !TAuditAmounts::IsZero(AAmount);
}

} // namespace

void TSummaryAudit::AddRow(int AOrder, const TSummaryRowText& AText,
                           const TSummaryRowAmounts& AAmounts) {
    const TAuditAmounts Amounts = ToAmounts(AAmounts);
    if (AOrder == 0) {
        FGrandListed = true;
        FGrand = Amounts;
        return;
    }
    TBlock& Block = FBlocks[AOrder];
    if (AText.mid.isEmpty()) {
        Block.TotalListed = true;
        Block.Total = Amounts;
    } else {
        Block.Subjects += Amounts;
    }
}

void TSummaryAudit::AddCounted(const QString& AMid, const QString& AName, int ARows, double ASumm,
                               const std::array<double, KindChannelCount>& AKinds) {
    TCounted& Fund = FCounted[AMid];
    Fund.Name = AName;
    Fund.Rows += ARows;
    Fund.Summ += ASumm;
    for (int K = 0; K < KindChannelCount; ++K)
        Fund.Kinds[size_t(K)] += AKinds[size_t(K)];
}

TSummaryAudit::TCounted TSummaryAudit::CountedOf(const QString& AMid) const {
    const auto Found = FCounted.find(AMid);
    return Found != FCounted.end() ? Found->second : TCounted();
}

// A block's total row as the summary query builds it: fund 11 with its
// former-channel parts, 11 and 12 by basic and project expenditure, 31 by
// capital, expense and other expenditure, 21 with its total alone.
TAuditAmounts TSummaryAudit::ExpectedTotal(const QString& AMid) const {
    const TCounted C = CountedOf(AMid);
    TAuditAmounts E;
    E[Summ] = C.Summ;
    if (AMid == QLatin1String("11")) {
        E[Jbsb] = C.K(BasicFormer);
        E[Xmsb] = C.K(ProjectFormer);
    }
    if (AMid == QLatin1String("11") || AMid == QLatin1String("12")) {
        E[Jbzj] = C.K(Basic10);
        E[Jbsq] = C.K(Basic20);
        E[Xmzj] = C.K(Project10);
        E[Xmsq] = C.K(Project20);
    } else if (AMid == QLatin1String("31")) {
        E[Jbzj] = C.K(Capital10);
        E[Jbsq] = C.K(Capital20);
        E[Xmzj] = C.K(Expense10);
        E[Xmsq] = C.K(Expense20);
        E[Gyqtzj] = C.K(Other10);
        E[Gyqtsq] = C.K(Other20);
    }
    return E;
}

// The grand total counts basic with capital and project with expense
// expenditure, of every fund nature.
TAuditAmounts TSummaryAudit::ExpectedGrand() const {
    TAuditAmounts E;
    for (const auto& [Mid, C] : FCounted) {
        E[Summ] += C.Summ;
        E[Jbzj] += C.K(Basic10) + C.K(Capital10);
        E[Jbsq] += C.K(Basic20) + C.K(Capital20);
        E[Xmzj] += C.K(Project10) + C.K(Expense10);
        E[Xmsq] += C.K(Project20) + C.K(Expense20);
        E[Gyqtzj] += C.K(Other10);
        E[Gyqtsq] += C.K(Other20);
    }
    return E;
}

TAuditAmounts TSummaryAudit::BlockTotal(const QString& AMid) const {
    const auto Found = FBlocks.find(OrderOf(AMid));
    if (Found != FBlocks.end() && Found->second.TotalListed)
        return Found->second.Total;
    return ExpectedTotal(AMid);
}

void TSummaryAudit::CheckGrand(TAuditResult& AResult) const {
    const TAuditAmounts Expected = ExpectedGrand();
    if (!FGrandListed) {
        if (Positive(Expected[Summ]))
            AResult.Fail(QStringLiteral("总计行未列出，而数据库中的合计大于零"), Expected[Summ]);
        return;
    }
    const int Column = TAuditAmounts::FirstDifference(FGrand, Expected);
    if (Column >= 0)
        AResult.Fail(QStringLiteral("总计行的%1与数据库中的数据相差").arg(ColumnName(Column)),
                     FGrand[Column] - Expected[Column]);
}

void TSummaryAudit::CheckBlock(int AOrder, TAuditResult& AResult) const {
    const QString Mid = QString::fromLatin1(BlockFunds[AOrder - 1]);
    const QString Name = BlockName(Mid);
    const TBlock Block = BlockAt(AOrder);
    const TAuditAmounts Expected = ExpectedTotal(Mid);
    if (Block.TotalListed) {
        const int Column = TAuditAmounts::FirstDifference(Block.Total, Expected);
        if (Column >= 0)
            AResult.Fail(
                QStringLiteral("%1合计的%2与数据库中的数据相差").arg(Name, ColumnName(Column)),
                Block.Total[Column] - Expected[Column]);
    } else if (Positive(Expected[Summ])) {
        AResult.Fail(QStringLiteral("%1合计未列出，而数据库中的合计大于零").arg(Name),
                     Expected[Summ]);
    } else if (!Expected.IsZero()) {
        AResult.Explain(QStringLiteral("%1合计净额不大于零，未列出合计行").arg(Name),
                        Expected[Summ]);
    }
    const TAuditAmounts Hidden = HiddenOf(AOrder);
    if (Positive(Hidden[Summ]))
        AResult.Fail(QStringLiteral("%1所列各科目之和比其合计少").arg(Name), Hidden[Summ]);
    else if (!Hidden.IsZero())
        ExplainHidden(Mid, Hidden[Summ], AResult);
}

TSummaryAudit::TBlock TSummaryAudit::BlockAt(int AOrder) const {
    const auto Found = FBlocks.find(AOrder);
    return Found != FBlocks.end() ? Found->second : TBlock();
}

// What a block holds as counted less what its subject rows list. The
// special-account block's subject rows carry the former-channel parts that
// its total row leaves out.
TAuditAmounts TSummaryAudit::HiddenOf(int AOrder) const {
    const QString Mid = QString::fromLatin1(BlockFunds[AOrder - 1]);
    TAuditAmounts Rows = ExpectedTotal(Mid);
    if (Mid == QLatin1String("21")) {
        const TCounted C = CountedOf(Mid);
        Rows[Jbsb] = C.K(BasicFormer);
        Rows[Xmsb] = C.K(ProjectFormer);
    }
    return Rows - BlockAt(AOrder).Subjects;
}

bool TSummaryAudit::NeedsDropped() const {
    for (int Order = 1; Order <= 4; ++Order) {
        if (!HiddenOf(Order).IsZero())
            return true;
    }
    return false;
}

void TSummaryAudit::AddDropped(const QString& AMid, int ARows, double ASumm) {
    TDropped& Fund = FDropped[AMid];
    Fund.Rows += ARows;
    Fund.Summ += ASumm;
}

// A block's subjects that are not listed must be the subjects that net to
// zero or less, when those were counted.
void TSummaryAudit::ExplainHidden(const QString& AMid, double AHidden,
                                  TAuditResult& AResult) const {
    const QString Name = BlockName(AMid);
    const auto Found = FDropped.find(AMid);
    TDropped Dropped = Found != FDropped.end() ? Found->second : TDropped();
    if (!FDroppedCounted)
        Dropped = {-1, AHidden};
    if (!TAuditAmounts::Same(Dropped.Summ, AHidden))
        AResult.Fail(QStringLiteral("%1未列出的科目之和不是净额不大于零的科目之和").arg(Name),
                     AHidden - Dropped.Summ);
    else
        AResult.ExplainPrinted(QStringLiteral("%1净额不大于零而未列出的科目").arg(Name), AHidden,
                               Dropped.Rows, QStringLiteral("合计含未列出的行"));
}

void TSummaryAudit::ExplainGrandAgainstBlocks(TAuditResult& AResult) const {
    double SpecialTreasury = 0;
    double OtherKinds = 0;
    double Former = 0;
    for (const auto& [Mid, C] : FCounted) {
        Former += C.K(BasicFormer) + C.K(ProjectFormer);
        const double Basic = C.K(Basic10) + C.K(Basic20) + C.K(Project10) + C.K(Project20);
        const double Capital = C.K(Capital10) + C.K(Capital20) + C.K(Expense10) + C.K(Expense20);
        const double Other = C.K(Other10) + C.K(Other20);
        if (OrderOf(Mid) == 0)
            AResult.Explain(
                QStringLiteral("资金性质 %1（%2）不在四个板块之内，只计入总计（明细数据）")
                    .arg(Mid, C.Name),
                C.Summ, C.Rows);
        else if (Mid == QLatin1String("21"))
            SpecialTreasury += Basic + Capital + Other;
        else if (Mid == QLatin1String("31"))
            OtherKinds += Basic;
        else
            OtherKinds += Capital + Other;
    }
    if (!TAuditAmounts::IsZero(SpecialTreasury))
        AResult.Explain(
            QStringLiteral("财政专户管理资金的直接支付和授权支付金额，板块内只列暂按原渠道"
                           "拨付的金额，只计入总计各栏"),
            SpecialTreasury);
    if (!TAuditAmounts::IsZero(OtherKinds))
        AResult.Explain(QStringLiteral("支出类型不属于所在板块各栏的金额，只计入总计各栏"),
                        OtherKinds);
    if (!TAuditAmounts::IsZero(Former))
        AResult.Explain(QStringLiteral("暂按原渠道拨付的金额，不在总计的支付方式各栏"), Former);
    const TAuditAmounts Grand = FGrandListed ? FGrand : ExpectedGrand();
    const double Rest = Grand[Summ] - Former - Grand[Jbzj] - Grand[Jbsq] - Grand[Xmzj] -
                        Grand[Xmsq] - Grand[Gyqtzj] - Grand[Gyqtsq];
    if (!TAuditAmounts::IsZero(Rest))
        AResult.Explain(QStringLiteral("不属于表中各栏的支出类型或支付方式的金额，只计入合计栏"),
                        Rest);
}

TAuditResult TSummaryAudit::Finish() const {
    TAuditResult Result;
    Result.Ran = true;
    CheckGrand(Result);
    for (int Order = 1; Order <= 4; ++Order)
        CheckBlock(Order, Result);
    ExplainGrandAgainstBlocks(Result);
    return Result;
}
