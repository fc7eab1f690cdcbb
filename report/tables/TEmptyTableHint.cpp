#include "TEmptyTableHint.h"

#include "IndicatorTypeNames.h"
#include "ReportLookups.h"
#include "TFillResult.h"
#include "db/SharedLookups.h"
#include "db/TARQuery.h"
#include "platform/data/TSqlDialect.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

enum : int { YearDiffers = 1, ClassDiffers = 2, TypeDiffers = 4, SubTypeDiffers = 8 };

constexpr int BudgetType = 1;

bool Selectable(const TEmptyTableHint::TSlice& ASlice) {
    const bool KnownType = ASlice.BType >= 0 && ASlice.BType <= 2;
    return KnownType && (ASlice.BType != BudgetType || ASlice.SubType >= 0);
}

QString TypeName(int AType) {
    const QString Name = IndicatorTypeName(AType);
    return Name.isEmpty() ? QString::number(AType) : Name;
}

// "预算数（当年预算）", or the type's name alone.
QString TypeText(const TEmptyTableHint::TSlice& ASlice) {
    const QString Sub = ASlice.BType == BudgetType ? SubTypeName(ASlice.SubType) : QString();
    return TypeName(ASlice.BType) + (Sub.isEmpty() ? QString() : QStringLiteral("（%1）").arg(Sub));
}

// The sub-type the two columns make, as TReportFilter::SubTypeCondition
// selects it; -1 for a pair no sub-type selects.
int SubTypeOf(const QString& ABkid, const QString& AChild) {
    if (ABkid == QLatin1String("22"))
        return 1;
    if (ABkid == QLatin1String("21") && AChild == QLatin1String("1"))
        return 0;
    if (ABkid == QLatin1String("21") && AChild == QLatin1String("2"))
        return 2;
    return -1;
}

// The parts of ASlice that AMask names, in words.
QStringList Described(const TEmptyTableHint::TSlice& ASlice, int AMask) {
    QStringList Parts;
    if (AMask & YearDiffers)
        Parts << QStringLiteral("%1 年").arg(ASlice.Year);
    if (AMask & ClassDiffers)
        Parts << QStringLiteral("单位类别 %1").arg(ASlice.DeptClass);
    if (AMask & TypeDiffers)
        Parts << QStringLiteral("指标类型“%1”").arg(TypeText(ASlice));
    if (AMask & SubTypeDiffers)
        Parts << QStringLiteral("指标子类型“%1”").arg(SubTypeName(ASlice.SubType));
    return Parts;
}

// The options of the batch tool (and of the reference host, for year and
// class) that reach ATarget.
QStringList Options(const TEmptyTableHint::TSlice& ATarget, int AMask) {
    QStringList Given;
    if (AMask & YearDiffers)
        Given << QStringLiteral("--year %1").arg(ATarget.Year);
    if (AMask & ClassDiffers)
        Given << QStringLiteral("--unit-class %1").arg(ATarget.DeptClass);
    if (AMask & TypeDiffers)
        Given << QStringLiteral("--btype %1").arg(ATarget.BType);
    if ((AMask & (TypeDiffers | SubTypeDiffers)) && ATarget.BType == BudgetType)
        Given << QStringLiteral("--subtype %1").arg(ATarget.SubType);
    return Given;
}

// What the window's clerk changes: the login (year, class) in the host,
// the lists (type, sub-type) in the window.
QString WindowAction(const TEmptyTableHint::TSlice& ATarget, int AMask) {
    QStringList Steps;
    const int HostMask = AMask & (YearDiffers | ClassDiffers);
    if (HostMask) {
        QStringList Login;
        if (HostMask & ClassDiffers)
            Login << QStringLiteral("单位类别 %1").arg(ATarget.DeptClass);
        if (HostMask & YearDiffers)
            Login << QStringLiteral("%1 年度").arg(ATarget.Year);
        Steps << QStringLiteral("以%1登录（参考宿主的选项 %2）")
                     .arg(Login.join(QStringLiteral("、")),
                          Options(ATarget, HostMask).join(QLatin1Char(' ')));
    }
    if (AMask & TypeDiffers)
        Steps << QStringLiteral("在“指标类型”中选“%1”").arg(TypeName(ATarget.BType));
    if ((AMask & (TypeDiffers | SubTypeDiffers)) && ATarget.BType == BudgetType)
        Steps << QStringLiteral("在“指标子类型”中选“%1”").arg(SubTypeName(ATarget.SubType));
    return QStringLiteral("请") + Steps.join(QStringLiteral("，"));
}

// A blank between a number and a Chinese character next to it, as the
// other messages write "2024 年".
QString Spaced(const QString& AText) {
    static const QRegularExpression DigitThenHan(QStringLiteral("(\\d)(?=[\\x{4e00}-\\x{9fff}])"));
    static const QRegularExpression HanThenDigit(QStringLiteral("([\\x{4e00}-\\x{9fff}])(?=\\d)"));
    return QString(AText)
        .replace(DigitThenHan, QStringLiteral("\\1 "))
        .replace(HanThenDigit, QStringLiteral("\\1 "));
}

} // namespace

QString TEmptyTableHint::Sql(const TReportFilter& AFilter, const TSqlDialect& ADialect) {
    return QStringLiteral("select datayear,deptclass,BType,bkid,btypechild,count(*) as adjrows "
                          "from busibudgetadj where eid like ") +
           ADialect.LikePrefix(AFilter.UnitPrefix) +
           QStringLiteral(" and pid<>'' group by datayear,deptclass,BType,bkid,btypechild");
}

TEmptyTableHint TEmptyTableHint::Read(const TReportFilter& AFilter) {
    QList<TSlice> Slices;
    IARQueryPtr Query;
    if (OpenDefQuery(Sql(AFilter, DefDialect()), Query)) {
        TARQuery& Rows = *Query->GetQuery();
        for (Rows.First(); !Rows.Eof(); Rows.Next()) {
            TSlice Slice;
            bool ClassRead = false, TypeRead = false;
            Slice.Year = Rows.Fields(0).AsInteger();
            Slice.DeptClass = Rows.Fields(1).AsString().trimmed().toInt(&ClassRead);
            Slice.BType = Rows.Fields(2).AsString().trimmed().toInt(&TypeRead);
            if (Slice.BType == BudgetType)
                Slice.SubType = SubTypeOf(Rows.Fields(3).AsString().trimmed(),
                                          Rows.Fields(4).AsString().trimmed());
            Slice.Rows = Rows.Fields(5).AsInteger();
            if (ClassRead && TypeRead)
                Slices << Slice;
        }
    }
    return TEmptyTableHint(AFilter, std::move(Slices));
}

QString TEmptyTableHint::StatusLine(const TFillResult& AFill, const TReportFilter& AFilter) {
    const QString Line = AFill.StatusLine();
    if (AFill.Failed() || !AFill.Audit.NoData || !AFill.Audit.Passed())
        return Line;
    const QString Hint = Read(AFilter).Text(WindowReader);
    return Hint.isEmpty() ? Line : Line + QStringLiteral("：") + Hint;
}

TEmptyTableHint::TEmptyTableHint(const TReportFilter& AFilter, QList<TSlice> ASlices)
    : FFilter(AFilter) {
    // Rows of one selection come in several groups (the sub-type's columns
    // hold more pairs than the three sub-types): they are added up here.
    for (const TSlice& Slice : ASlices) {
        TSlice Key = Slice;
        if (Key.BType != BudgetType)
            Key.SubType = -1;
        if (!Selectable(Key) || Key.Rows <= 0)
            continue;
        const auto Same = std::find_if(FSlices.begin(), FSlices.end(), [&](const TSlice& S) {
            return S.Year == Key.Year && S.DeptClass == Key.DeptClass && S.BType == Key.BType &&
                   S.SubType == Key.SubType;
        });
        if (Same == FSlices.end())
            FSlices << Key;
        else
            Same->Rows += Key.Rows;
    }
}

TEmptyTableHint::TSlice TEmptyTableHint::Current() const {
    TSlice Slice;
    Slice.Year = FFilter.Year;
    Slice.DeptClass = FFilter.DeptClass;
    Slice.BType = FFilter.BTypeIndex.toInt();
    Slice.SubType = Slice.BType == BudgetType ? FFilter.SubTypeIndex : -1;
    return Slice;
}

int TEmptyTableHint::Differences(const TSlice& ASlice) const {
    const TSlice Now = Current();
    int Mask = 0;
    if (ASlice.Year != Now.Year)
        Mask |= YearDiffers;
    if (ASlice.DeptClass != Now.DeptClass)
        Mask |= ClassDiffers;
    if (ASlice.BType != Now.BType)
        Mask |= TypeDiffers;
    else if (ASlice.SubType != Now.SubType)
        Mask |= SubTypeDiffers;
    return Mask;
}

// The fewest changes win, a change of year counting a little more than
// another (the year is the one the clerk logged in for); then the most
// rows, then the latest year.
const TEmptyTableHint::TSlice* TEmptyTableHint::Nearest() const {
    const auto Cost = [this](const TSlice& ASlice) {
        const int Mask = Differences(ASlice);
        int Changes = 0;
        for (int Bit = YearDiffers; Bit <= SubTypeDiffers; Bit <<= 1)
            Changes += (Mask & Bit) ? 2 : 0;
        return Changes + ((Mask & YearDiffers) ? 1 : 0);
    };
    const TSlice* Best = nullptr;
    for (const TSlice& Slice : FSlices) {
        if (Differences(Slice) == 0)
            continue;
        if (!Best || Cost(Slice) < Cost(*Best) ||
            (Cost(Slice) == Cost(*Best) &&
             (Slice.Rows > Best->Rows || (Slice.Rows == Best->Rows && Slice.Year > Best->Year))))
            Best = &Slice;
    }
    return Best;
}

// Only the year differs: every year of the selection that has rows.
QString TEmptyTableHint::YearsText(TReader AReader, const TSlice& ANearest) const {
    QList<int> Years;
    for (const TSlice& Slice : FSlices) {
        if (Differences(Slice) == YearDiffers)
            Years << Slice.Year;
    }
    std::sort(Years.begin(), Years.end());
    QStringList Texts;
    for (int Year : Years)
        Texts << QString::number(Year);
    const QString Found = QStringLiteral("数据库中该单位的%1只有这些年度的数据：%2")
                              .arg(TypeText(ANearest), Texts.join(QStringLiteral("、")));
    return Found + (AReader == BatchReader
                        ? QStringLiteral("（用 --year 选择年度）")
                        : QStringLiteral("（请以其中一个年度登录，参考宿主的选项 --year）"));
}

QString TEmptyTableHint::Text(TReader AReader) const {
    const TSlice* Target = Nearest();
    if (!Target)
        return QString();
    const int Mask = Differences(*Target);
    if (Mask == YearDiffers)
        return YearsText(AReader, *Target);
    const TSlice Now = Current();
    const bool TypeSame = !(Mask & (TypeDiffers | SubTypeDiffers));
    const QString Subject =
        QStringLiteral("数据库中该单位%1的%2数据")
            .arg(Mask & YearDiffers ? QString() : QStringLiteral(" %1 年").arg(Now.Year),
                 TypeSame ? TypeText(Now) : QString());
    const QString Action =
        AReader == BatchReader
            ? QStringLiteral("请用 ") + Options(*Target, Mask).join(QLatin1Char(' '))
            : WindowAction(*Target, Mask);
    return Spaced(QStringLiteral("%1在%2下（%3 行），当前为%4；%5")
                      .arg(Subject, Described(*Target, Mask).join(QStringLiteral("、")))
                      .arg(Target->Rows)
                      .arg(Described(Now, Mask).join(QStringLiteral("、")), Action));
}
