#include "SqlServerMatrix.h"

#include "TSqlServerTexts.h"
#include "db/SharedLookups.h"
#include "db/SqlLiteral.h"
#include "platform/data/TSqlDialect.h"
#include "report/tables/AuditTotals.h"
#include "report/tables/DetailQuery.h"
#include "report/tables/ReportLookups.h"
#include "report/tables/SummaryQuery.h"
#include "report/tables/TEmptyTableHint.h"
#include "report/tables/TMarkedUnits.h"
#include "report/tables/TReportFilter.h"
#include "report/tables/WorksheetFit.h"

#include <QSet>
#include <algorithm>

namespace {

const TSqlDialect& SqlServer() {
    return TSqlDialect::ForKind(TSqlKind::SqlServer);
}

struct TTypeChoice {
    const char* BType;
    int SubType;
    const char* Name;
};

constexpr TTypeChoice TypeChoices[] = {{"0", 0, "控制数"},
                                       {"1", 0, "预算数/当年预算"},
                                       {"1", 1, "预算数/结余预算"},
                                       {"1", 2, "预算数/追加预算"},
                                       {"2", 0, "临时指标"}};

struct TUnitChoice {
    const char* Prefix;
    const char* Name;
};

// A host without a logged-in unit (empty prefix), prefixes of one and two
// characters and "001" (levels from 0), a department and its own-level
// unit, units two and three levels down, and codes and names that hold
// quotes, wildcards and brackets, which go in as data.
constexpr TUnitChoice UnitChoices[] = {
    {"", "预算单位列表"},         {"1", "一号单位"},
    {"10", "十号单位"},           {"001", "省本级"},
    {"101", "省教育厅"},          {"101001", "省教育厅本级"},
    {"101002", "省实验中学"},     {"101002002", "省实验中学分校"},
    {"101002002003", "分校食堂"}, {"1_1'", "O'Brien"},
    {"10[1%", "[方括号]单位"}};

struct TFundChoice {
    const char* Code;
    const char* Name;
};

// The four fund natures of the summary's blocks, one outside them, one
// whose code holds a quote, and one without a code (a name the fund-nature
// table does not hold).
constexpr TFundChoice FundChoices[] = {{"11", "公共财政预算资金"}, {"12", "政府性基金"},
                                       {"21", "财政专户管理资金"}, {"31", "国有资本经营预算资金"},
                                       {"13", "其他资金"},         {"1'3", "引号资金"},
                                       {"", "没有编码的资金"}};

// The deepest leaf classes the level ranges are worked out for, from a
// unit's own level: none below it, one, two and three levels below it.
constexpr int LevelsBelow[] = {0, 1, 2, 3};
// Deep trees under the department: levels down to 九, beyond the
// numerals' labels, and far beyond any code, where the range stops at its
// cap.
constexpr int DeepLeafClasses[] = {9, 12, 100000};

TReportFilter MakeFilter(const TTypeChoice& AType, const TUnitChoice& AUnit) {
    TReportFilter Filter;
    Filter.Year = 2024;
    Filter.DeptClass = 1;
    Filter.BTypeIndex = QString::fromLatin1(AType.BType);
    Filter.SubTypeIndex = AType.SubType;
    Filter.UnitPrefix = QString::fromUtf8(AUnit.Prefix);
    Filter.UnitName = QString::fromUtf8(AUnit.Name);
    return Filter;
}

QString Describe(const TReportFilter& AFilter) {
    QString Type;
    for (const TTypeChoice& Choice : TypeChoices) {
        if (AFilter.BTypeIndex == QLatin1String(Choice.BType) &&
            (AFilter.BTypeIndex != QLatin1String("1") || AFilter.SubTypeIndex == Choice.SubType))
            Type = QString::fromUtf8(Choice.Name);
    }
    return QStringLiteral("year %1, class %2, %3, unit '%4' (%5)")
        .arg(AFilter.Year)
        .arg(AFilter.DeptClass)
        .arg(Type, AFilter.UnitPrefix, AFilter.UnitName);
}

QString DescribeFund(const QString& ACode) {
    return ACode.isEmpty() ? QStringLiteral("fund without code")
                           : QStringLiteral("fund '%1'").arg(ACode);
}

QString DescribeParts(const TDetailQueryParts& AParts) {
    return QStringLiteral("%1, levels %2..%3, grand total %4")
        .arg(DescribeFund(AParts.FundCode))
        .arg(AParts.Levels.First)
        .arg(AParts.Levels.Last)
        .arg(AParts.WithGrandTotal ? QStringLiteral("on") : QStringLiteral("off"));
}

// The lists the filter refills and the summary table's audit.
void AddFilterTexts(TSqlServerTexts& ATexts, const TReportFilter& AFilter) {
    const TSqlDialect& D = SqlServer();
    const QString Selection = Describe(AFilter);
    const auto Add = [&](const char* AWhat, const QString& AText) {
        ATexts.Add(QString::fromLatin1(AWhat) + QStringLiteral(": ") + Selection, AText);
    };
    Add("fund natures with data", FundNaturesSql(AFilter.WindowFilter(D)));
    Add("summary totals", SummaryTotalsSql(AFilter, D));
    Add("summary dropped rows", SummaryDroppedSql(AFilter, D));
    Add("summary adjustments count", WorksheetAdjustmentsSql(AFilter, QString(), D));
    Add("rows by selection, for an empty table", TEmptyTableHint::Sql(AFilter, D));
}

// The summary table's query, as the layout and the worksheet check send it.
void AddSummaryTexts(TSqlServerTexts& ATexts, const TReportFilter& AFilter) {
    const TSqlDialect& D = SqlServer();
    const QString Selection = Describe(AFilter);
    ATexts.Add(QStringLiteral("summary query: ") + Selection, BuildSummarySql(AFilter, D));
    ATexts.Add(QStringLiteral("summary rows count: ") + Selection,
               WorksheetSummaryRowsSql(AFilter, D));
}

// A detail table as the layout, the audit and the worksheet check send it:
// with department mode on the grand total is always on and rows with
// former-channel amounts are split (but in state capital's table).
void AddDetailTexts(TSqlServerTexts& ATexts, const TReportFilter& AFilter,
                    const TDetailQueryParts& AParts, bool ADepartment) {
    const TSqlDialect& D = SqlServer();
    const QString Selection = Describe(AFilter) + QStringLiteral(", ") + DescribeParts(AParts) +
                              QStringLiteral(", department mode ") +
                              (ADepartment ? QStringLiteral("on") : QStringLiteral("off"));
    const auto Add = [&](const char* AWhat, const QString& AText) {
        ATexts.Add(QString::fromLatin1(AWhat) + QStringLiteral(": ") + Selection, AText);
    };
    const bool Splits = ADepartment && AParts.FundCode != QLatin1String("31");
    Add("detail query", BuildDetailSql(AFilter, AParts, D));
    Add("detail totals", DetailTotalsSql(AFilter, AParts.FundCode, D));
    Add("detail dropped rows", DetailDroppedSql(AFilter, AParts.FundCode, D));
    Add("detail adjustments count", WorksheetAdjustmentsSql(AFilter, AParts.FundCode, D));
    Add("detail rows count", WorksheetDetailRowsSql(AFilter, AParts, Splits, D));
}

// Each department mode with the grand totals it allows: a department
// always has one; another unit has none when its parent group holds few
// units.
void AddDetailModes(TSqlServerTexts& ATexts, const TReportFilter& AFilter,
                    TDetailQueryParts AParts) {
    AParts.WithGrandTotal = true;
    AddDetailTexts(ATexts, AFilter, AParts, true);
    AParts.WithGrandTotal = false;
    AddDetailTexts(ATexts, AFilter, AParts, false);
}

QList<TLevelRange> LevelRanges(const QString& APrefix) {
    QList<TLevelRange> Ranges;
    QSet<QPair<int, int>> Seen;
    const int OwnLevel = int(APrefix.size()) / 3 - 1;
    for (int Below : LevelsBelow) {
        const TLevelRange Range = DetailLevelRange(APrefix, std::max(0, OwnLevel + Below));
        if (!Seen.contains({Range.First, Range.Last})) {
            Seen.insert({Range.First, Range.Last});
            Ranges.append(Range);
        }
    }
    return Ranges;
}

// The unit's own lookups, the tree under it and the batch tool's checks of
// a logged-in unit and a node.
void AddUnitTexts(TSqlServerTexts& ATexts, const TUnitChoice& AUnit) {
    const TSqlDialect& D = SqlServer();
    const QString Code = QString::fromUtf8(AUnit.Prefix);
    const QString Selection = QStringLiteral("unit '%1'").arg(Code);
    const auto Add = [&](const char* AWhat, const QString& AText) {
        ATexts.Add(QString::fromLatin1(AWhat) + QStringLiteral(": ") + Selection, AText);
    };
    const QString Quoted = QuotedSqlString(Code);
    Add("highest leaf class", MaxLeafClassSql(Code, D));
    Add("parent group", ParentGroupSql(Code.left(std::max<int>(0, int(Code.size()) - 3)), D));
    Add("units under", UnitsUnderSql(Code, D));
    Add("special account", SpecialAccountSql(Code));
    Add("unit name", LookupSql(QStringLiteral("pubdept"), QStringLiteral("ename"),
                               QStringLiteral(" eid=") + Quoted));
    Add("batch login check", LookupSql(QStringLiteral("pubdept"), QStringLiteral("eid"),
                                       QStringLiteral("eid=") + Quoted));
    Add("batch node check",
        LookupSql(QStringLiteral("pubdept"), QStringLiteral("ename"),
                  QStringLiteral("replaceflag='0' and useflag='0' and eid=") + Quoted +
                      QStringLiteral(" and eid like ") + D.LikePrefix(Code)));
    // The tree reads its table whole, or a node's children at a time,
    // ordered by the code.
    const QString Tree = UnitTreeSql(Code, D);
    Add("unit tree", Tree);
    Add("unit tree, whole",
        QStringLiteral("select a.* from (") + Tree + QStringLiteral(") a  Order by a.eid"));
    Add("unit tree, a node's children", QStringLiteral("select a.* from (") + Tree +
                                            QStringLiteral(") a where a.peid=") + Quoted +
                                            QStringLiteral(" Order by a.eid"));
}

void AddListTexts(TSqlServerTexts& ATexts) {
    for (int Variant = 0; Variant <= 3; ++Variant) {
        for (bool Descending : {false, true})
            ATexts.Add(QStringLiteral("fund-nature list %1%2")
                           .arg(Variant)
                           .arg(Descending ? QStringLiteral(", descending") : QString()),
                       MoneyKindListSql(Variant, Descending, QString()));
    }
    for (const TFundChoice& Fund : FundChoices)
        ATexts.Add(QStringLiteral("fund-nature code of '%1'").arg(QString::fromUtf8(Fund.Name)),
                   MoneyKindIdSql(QString::fromUtf8(Fund.Name)));
    ATexts.Add(QStringLiteral("fund-nature code of <全部>"),
               MoneyKindIdSql(QStringLiteral("<全部>")));
    ATexts.Add(QStringLiteral("fund-nature code of a quoted name"),
               MoneyKindIdSql(QStringLiteral("O'Brien基金")));
    ATexts.Add(QStringLiteral("special-account units"), TMarkedUnits::Sql());
    for (const char* Table : {"pubmoneykind", "pubdept", "vwbudgetadj"})
        ATexts.Add(QStringLiteral("batch probe of %1").arg(QString::fromLatin1(Table)),
                   QStringLiteral("select * from ") + QString::fromLatin1(Table) +
                       QStringLiteral(" where 1=0"));
}

} // namespace

void AddSqlServerTexts(TSqlServerTexts& ATexts) {
    AddListTexts(ATexts);
    const TTypeChoice& Budget = TypeChoices[1];
    const TUnitChoice& Department = UnitChoices[4];
    // Every type with every unit: the lists and the counts; the summary
    // itself for every type and for every unit.
    for (const TUnitChoice& Unit : UnitChoices) {
        AddUnitTexts(ATexts, Unit);
        for (const TTypeChoice& Type : TypeChoices)
            AddFilterTexts(ATexts, MakeFilter(Type, Unit));
        AddSummaryTexts(ATexts, MakeFilter(Budget, Unit));
    }
    for (const TTypeChoice& Type : TypeChoices)
        AddSummaryTexts(ATexts, MakeFilter(Type, Department));
    // Every type with every fund nature, on a department of three levels.
    for (const TTypeChoice& Type : TypeChoices) {
        for (const TFundChoice& Fund : FundChoices) {
            TDetailQueryParts Parts;
            Parts.FundCode = QString::fromLatin1(Fund.Code);
            Parts.Levels = {1, 3};
            AddDetailTexts(ATexts, MakeFilter(Type, Department), Parts, true);
        }
    }
    // Every unit with every kind of level range its tree can give.
    for (const TUnitChoice& Unit : UnitChoices) {
        const TReportFilter Filter = MakeFilter(Budget, Unit);
        for (const TLevelRange& Range : LevelRanges(Filter.UnitPrefix)) {
            TDetailQueryParts Parts;
            Parts.FundCode = QStringLiteral("11");
            Parts.Levels = Range;
            AddDetailModes(ATexts, Filter, Parts);
        }
    }
    for (int MaxLeafClass : DeepLeafClasses) {
        TDetailQueryParts Parts;
        Parts.FundCode = QStringLiteral("11");
        Parts.Levels = DetailLevelRange(QString::fromUtf8(Department.Prefix), MaxLeafClass);
        AddDetailTexts(ATexts, MakeFilter(Budget, Department), Parts, true);
    }
}
