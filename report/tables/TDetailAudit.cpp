#include "TDetailAudit.h"

namespace {

enum TColumn { Summ, Jbsb, Xmsb, Jbzj, Jbsq, Xmzj, Xmsq, Gyzb, Gyfy, Gyqt };

QString ColumnName(int AColumn) {
    static const char* const Names[] = {"合计",
                                        "基本支出暂按原渠道",
                                        "项目支出暂按原渠道",
                                        "基本支出直接支付",
                                        "基本支出授权支付",
                                        "项目支出直接支付",
                                        "项目支出授权支付",
                                        "资本性支出",
                                        "费用性支出",
                                        "其他支出"};
    return QString::fromUtf8(Names[AColumn]);
}

TAuditAmounts ToAmounts(const TDetailRowAmounts& A) {
    TAuditAmounts Amounts;
    Amounts.Value = {A.summ, A.jbsb, A.xmsb, A.jbzj, A.jbsq,
                     A.xmzj, A.xmsq, A.gyzb, A.gyfy, A.gyqt};
    return Amounts;
}

} // namespace

TDetailAudit::TDetailAudit(const QString& APrefix, const TDetailQueryParts& AParts)
    : FParts(AParts)
    , FOwnLevel(int(APrefix.size()) / 3 - 1) {}

bool TDetailAudit::IsGrandTotal(int AOrder, const TDetailRowText& AText) const {
    const int GrandOrder = FParts.Levels.First <= 0 ? -1 : 0;
    return AText.eid.isEmpty() && FParts.WithGrandTotal && AOrder == GrandOrder;
}

void TDetailAudit::AddRow(int AOrder, const TDetailRowText& AText,
                          const TDetailRowAmounts& AAmounts) {
    const TAuditAmounts Amounts = ToAmounts(AAmounts);
    if (IsGrandTotal(AOrder, AText)) {
        FGrandListed = true;
        FGrand = Amounts;
        return;
    }
    TLevel& Level = FLevels[AOrder];
    if (AText.eid.isEmpty()) {
        Level.SubtotalListed = true;
        Level.Subtotal = Amounts;
        return;
    }
    Level.Units += Amounts;
    ++Level.UnitRows;
    if (!TAuditAmounts::IsZero(AAmounts.jbsb) || !TAuditAmounts::IsZero(AAmounts.xmsb)) {
        FFormerListed += AAmounts.jbsb + AAmounts.xmsb;
        ++FFormerRows;
    }
}

void TDetailAudit::AddCounted(int ALength, bool AOwn, int ARows, const TAuditAmounts& AAmounts) {
    FCounted = true;
    TCounted& Level = FCountedByLevel[ALength / 3 - 1];
    Level.Rows += ARows;
    Level.Amounts += AAmounts;
    if (AOwn) {
        FOwn.Rows += ARows;
        FOwn.Amounts += AAmounts;
    }
}

bool TDetailAudit::InRange(int ALevel) const {
    return ALevel >= FParts.Levels.First && ALevel <= FParts.Levels.Last;
}

// The level-1 block takes the rows of the selection's own code; when that
// code's own level is in the table too, they stand in both.
bool TDetailAudit::OwnCountedTwice() const {
    return InRange(1) && FOwnLevel != 1 && InRange(FOwnLevel);
}

TAuditAmounts TDetailAudit::SubtotalsSum() const {
    TAuditAmounts Sum;
    for (const auto& [Order, Level] : FLevels) {
        if (InRange(Order) && Level.SubtotalListed)
            Sum += Level.Subtotal;
    }
    return Sum;
}

bool TDetailAudit::NeedsCount() const {
    // Without a grand-total row the table's total, which the summary table
    // is held against, comes from the count.
    if (OwnCountedTwice() || !FParts.WithGrandTotal || !FGrandListed)
        return true;
    for (const auto& [Order, Level] : FLevels) {
        if (InRange(Order) && !Level.SubtotalListed && Level.UnitRows > 0)
            return true;
    }
    // Subtotals carry no former-channel parts; the grand total does.
    TAuditAmounts Grand = FGrand;
    Grand[Jbsb] = Grand[Xmsb] = 0;
    return TAuditAmounts::FirstDifference(Grand, SubtotalsSum()) >= 0;
}

QString TDetailAudit::LevelName(int ALevel) const {
    if (ALevel == 1)
        return QStringLiteral("本级");
    const QString Numeral = LevelNumeral(ALevel);
    return (Numeral.isEmpty() ? QString::number(ALevel) : Numeral) + QStringLiteral("级单位");
}

TAuditAmounts TDetailAudit::Counted() const {
    TAuditAmounts All;
    for (const auto& [Level, Counted] : FCountedByLevel)
        All += Counted.Amounts;
    return All;
}

// The level-1 block also takes the rows of the selection's own code,
// whatever its length.
TAuditAmounts TDetailAudit::ExpectedAt(int ALevel) const {
    const auto Found = FCountedByLevel.find(ALevel);
    TAuditAmounts Expected =
        Found != FCountedByLevel.end() ? Found->second.Amounts : TAuditAmounts();
    if (ALevel == 1 && FOwnLevel != 1)
        Expected += FOwn.Amounts;
    return Expected;
}

TAuditAmounts TDetailAudit::GrandTotal() const {
    return FGrandListed || !FCounted ? FGrand : Counted();
}

void TDetailAudit::CheckGrandTotal(TAuditResult& AResult) const {
    if (!FParts.WithGrandTotal || !FCounted)
        return;
    const TAuditAmounts All = Counted();
    if (!FGrandListed) {
        if (All[Summ] > 0 && !TAuditAmounts::IsZero(All[Summ]))
            AResult.Fail(QStringLiteral("合计行未列出，而数据库中的合计大于零"), All[Summ]);
        return;
    }
    const int Column = TAuditAmounts::FirstDifference(FGrand, All);
    if (Column >= 0)
        AResult.Fail(QStringLiteral("合计行的%1与数据库中的数据相差").arg(ColumnName(Column)),
                     FGrand[Column] - All[Column]);
}

TDetailAudit::TLevel TDetailAudit::LevelAt(int ALevel) const {
    const auto Found = FLevels.find(ALevel);
    return Found != FLevels.end() ? Found->second : TLevel();
}

// What a level holds: as counted, or without a count as its subtotal says,
// the former-channel parts it does not show taken from the rows.
TAuditAmounts TDetailAudit::ExpectedOf(int ALevel, const TLevel& ALevelRows) const {
    if (FCounted)
        return ExpectedAt(ALevel);
    TAuditAmounts Expected = ALevelRows.Subtotal;
    Expected[Jbsb] = ALevelRows.Units[Jbsb];
    Expected[Xmsb] = ALevelRows.Units[Xmsb];
    return Expected;
}

bool TDetailAudit::NeedsDropped() const {
    for (int Level = FParts.Levels.First; Level <= FParts.Levels.Last; ++Level) {
        const TLevel Rows = LevelAt(Level);
        if (!(ExpectedOf(Level, Rows) - Rows.Units).IsZero())
            return true;
    }
    return false;
}

void TDetailAudit::AddDropped(int ALength, bool AOwn, int ARows, double ASumm) {
    TDropped& Level = FDroppedByLevel[ALength / 3 - 1];
    Level.Rows += ARows;
    Level.Summ += ASumm;
    if (AOwn) {
        FDroppedOwn.Rows += ARows;
        FDroppedOwn.Summ += ASumm;
    }
}

// The dropped rows of a level; the level-1 block also takes those of the
// selection's own code.
TDetailAudit::TDropped TDetailAudit::DroppedAt(int ALevel) const {
    const auto Found = FDroppedByLevel.find(ALevel);
    TDropped Dropped = Found != FDroppedByLevel.end() ? Found->second : TDropped();
    if (ALevel == 1 && FOwnLevel != 1) {
        Dropped.Rows += FDroppedOwn.Rows;
        Dropped.Summ += FDroppedOwn.Summ;
    }
    return Dropped;
}

// A level's rows that are not listed must be the rows that net to zero or
// less, when those were counted.
void TDetailAudit::ExplainHidden(int ALevel, double AHidden, TAuditResult& AResult) const {
    const QString Name = LevelName(ALevel);
    const TDropped Dropped = FDroppedCounted ? DroppedAt(ALevel) : TDropped{-1, AHidden};
    if (!TAuditAmounts::Same(Dropped.Summ, AHidden))
        AResult.Fail(QStringLiteral("%1未列出的行之和不是净额不大于零的行之和").arg(Name),
                     AHidden - Dropped.Summ);
    else
        AResult.ExplainPrinted(QStringLiteral("%1净额不大于零而未列出的行").arg(Name), AHidden,
                               Dropped.Rows, QStringLiteral("合计含未列出的行"));
}

void TDetailAudit::CheckLevel(int ALevel, TAuditResult& AResult) const {
    const TLevel Level = LevelAt(ALevel);
    const TAuditAmounts Expected = ExpectedOf(ALevel, Level);
    const QString Name = LevelName(ALevel);
    if (Level.SubtotalListed) {
        // A subtotal shows no former-channel parts: its jbsb and xmsb are 0.
        TAuditAmounts Shown = Level.Subtotal;
        Shown[Jbsb] = Expected[Jbsb];
        Shown[Xmsb] = Expected[Xmsb];
        const int Column = TAuditAmounts::FirstDifference(Shown, Expected);
        if (Column >= 0)
            AResult.Fail(
                QStringLiteral("%1合计的%2与数据库中该级的数据相差").arg(Name, ColumnName(Column)),
                Shown[Column] - Expected[Column]);
    } else if (Expected[Summ] > 0 && !TAuditAmounts::IsZero(Expected[Summ])) {
        AResult.Fail(QStringLiteral("%1合计未列出，而数据库中该级合计大于零").arg(Name),
                     Expected[Summ]);
    } else if (!Expected.IsZero()) {
        AResult.Explain(QStringLiteral("%1合计净额不大于零，未列出合计行").arg(Name),
                        Expected[Summ]);
    }
    const TAuditAmounts Hidden = Expected - Level.Units;
    if (Hidden[Summ] > 0 && !TAuditAmounts::IsZero(Hidden[Summ]))
        AResult.Fail(QStringLiteral("%1所列各行之和比该级合计少").arg(Name), Hidden[Summ]);
    else if (!Hidden.IsZero())
        ExplainHidden(ALevel, Hidden[Summ], AResult);
}

void TDetailAudit::ExplainOutside(TAuditResult& AResult) const {
    if (!FCounted)
        return;
    TCounted Outside;
    for (const auto& [Level, Counted] : FCountedByLevel) {
        if (!InRange(Level)) {
            Outside.Amounts += Counted.Amounts;
            Outside.Rows += Counted.Rows;
        }
    }
    if (InRange(1) && FOwnLevel != 1 && !InRange(FOwnLevel)) {
        Outside.Amounts -= FOwn.Amounts;
        Outside.Rows -= FOwn.Rows;
    }
    if (!Outside.Amounts.IsZero())
        AResult.Explain(QStringLiteral("级次在第%1至%2级以外的单位，不列入各级（明细数据）")
                            .arg(FParts.Levels.First)
                            .arg(FParts.Levels.Last),
                        Outside.Amounts[Summ], Outside.Rows);
    if (OwnCountedTwice() && !FOwn.Amounts.IsZero())
        AResult.Explain(
            QStringLiteral("本单位的数据同时列入%1和本级（明细数据）").arg(LevelName(FOwnLevel)),
            FOwn.Amounts[Summ], FOwn.Rows);
}

// The former-channel amounts of the total, as the listed rows carry them
// (a net reduction when negative) and the rest, which lies in rows the
// table does not list, or lists twice.
void TDetailAudit::ExplainFormer(double AFormer, TAuditResult& AResult) const {
    if (FFormerRows > 0 && !TAuditAmounts::IsZero(FFormerListed))
        AResult.Explain(FFormerListed > 0
                            ? QStringLiteral("暂按原渠道拨付的金额，不在支付方式各栏")
                            : QStringLiteral("暂按原渠道拨付的金额净额为负（调减多于拨付），"
                                             "不在支付方式各栏"),
                        FFormerListed, FFormerRows);
    const double Rest = AFormer - FFormerListed;
    if (!TAuditAmounts::IsZero(Rest))
        AResult.Explain(QStringLiteral("暂按原渠道拨付的金额中不在所列各行的部分（未列出或重复列出"
                                       "的行），不在支付方式各栏"),
                        Rest);
}

// The columns of the table show the treasury channels of basic and project
// expenditure (state capital: its three kinds); the rest of a total is in
// no column of its own.
void TDetailAudit::ExplainColumns(TAuditResult& AResult) const {
    const TAuditAmounts Total = GrandTotal();
    const double Former = Total[Jbsb] + Total[Xmsb];
    ExplainFormer(Former, AResult);
    const bool StateCapital = FParts.FundCode == QLatin1String("31");
    const double Shown = StateCapital ? Total[Gyzb] + Total[Gyfy] + Total[Gyqt]
                                      : Total[Jbzj] + Total[Jbsq] + Total[Xmzj] + Total[Xmsq];
    const double Rest = Total[Summ] - Former - Shown;
    if (!TAuditAmounts::IsZero(Rest))
        AResult.Explain(QStringLiteral("不属于表中各栏的支出类型或支付方式的金额，只计入合计栏"),
                        Rest);
}

TAuditResult TDetailAudit::Finish() const {
    TAuditResult Result;
    Result.Ran = true;
    CheckGrandTotal(Result);
    for (int Level = FParts.Levels.First; Level <= FParts.Levels.Last; ++Level)
        CheckLevel(Level, Result);
    ExplainOutside(Result);
    ExplainColumns(Result);
    return Result;
}
