#include "ReportModel.h"

#include <QVariant>
#include <map>

namespace {

bool InFilter(const TAdjustment& A, const TReportFilter& F) {
    if (A.Year != F.Year || !A.Eid.startsWith(F.UnitPrefix) || A.Pid.isEmpty() ||
        A.BType != F.BTypeIndex || A.DeptClass != QString::number(F.DeptClass))
        return false;
    if (F.BTypeIndex != "1")
        return true;
    switch (F.SubTypeIndex) {
    case 0:
        return A.Bkid == "21" && A.BTypeChild == "1";
    case 1:
        return A.Bkid == "22";
    case 2:
        return A.Bkid == "21" && A.BTypeChild == "2";
    default:
        return true;
    }
}

// An amount slot of one block: the indicator kinds (ipid) and the channel
// (pid) an adjustment must have to count there, as "11,17/10"; null for a
// slot the block leaves at 0.
using TSlot = const char*;

bool In(const TAdjustment& A, TSlot ASlot) {
    if (!ASlot)
        return false;
    const QStringList Parts = QString::fromLatin1(ASlot).split('/');
    return Parts[0].split(',').contains(A.Ipid) && A.Pid == Parts[1];
}

struct TAccumulator {
    std::array<double, 10> Sums{};
    bool Any = false;
    void Add(const TAdjustment& A, const std::vector<TSlot>& ASlots) {
        Any = true;
        Sums[0] += A.Yuan / 10000;
        for (size_t I = 0; I < ASlots.size(); ++I) {
            if (In(A, ASlots[I]))
                Sums[I + 1] += A.Yuan / 10000;
        }
    }
};

void Keep(std::vector<TModelRow>& ARows, QStringList ATexts, const TAccumulator& AAcc) {
    if (AAcc.Any && AAcc.Sums[0] > 0)
        ARows.push_back({std::move(ATexts), AAcc.Sums});
}

QStringList Levels(const QString& ABid) {
    return {ABid.mid(0, 3), ABid.mid(3, 2), ABid.mid(5, 2)};
}

} // namespace

const char AdjustmentsSql[] = "select datayear, eid, ename, deptclass, mid, mname, bid, bname, "
                              "iid, iname, ipid, pid, BType, bkid, btypechild, BudgMoney from "
                              "vwbudgetadj";

std::vector<TAdjustment> ToAdjustments(const QList<QVariantList>& ARows) {
    std::vector<TAdjustment> All;
    for (const QVariantList& Row : ARows) {
        TAdjustment A;
        A.Year = Row.value(0).toInt();
        QString* Texts[] = {&A.Eid, &A.Ename, &A.DeptClass, &A.Mid,       &A.Mname,
                            &A.Bid, &A.Bname, &A.Iid,       &A.Iname,     &A.Ipid,
                            &A.Pid, &A.BType, &A.Bkid,      &A.BTypeChild};
        for (int I = 0; I < 14; ++I)
            *Texts[I] = Row.value(I + 1).toString();
        A.Yuan = Row.value(15).toDouble();
        All.push_back(A);
    }
    return All;
}

std::vector<TModelRow> SummaryModel(const std::vector<TAdjustment>& AAll,
                                    const TReportFilter& AFilter) {
    const std::vector<TSlot> Grand = {nullptr,    nullptr,    "11,17/10", "11,17/20",
                                      "12,18/10", "12,18/20", "19/10",    "19/20"};
    const std::vector<TSlot> Public = {"11/31", "12/31", "11/10", "11/20", "12/10", "12/20"};
    const std::vector<TSlot> Fund = {nullptr, nullptr, "11/10", "11/20", "12/10", "12/20"};
    const std::vector<TSlot> Special = {"11/31", "12/31"};
    const std::vector<TSlot> Capital = {nullptr, nullptr, "17/10", "17/20",
                                        "18/10", "18/20", "19/10", "19/20"};
    struct TBlock {
        const char* Mid;
        const char* Total;
        std::vector<TSlot> TotalSlots;
        std::vector<TSlot> DetailSlots;
    };
    const TBlock Blocks[] = {{"11", "公共财政预算合计", Public, Public},
                             {"12", "政府性基金合计", Fund, Fund},
                             {"21", "财政专户管理资金合计", {}, Special},
                             {"31", "国有资本经营预算合计", Capital, Capital}};
    std::vector<TModelRow> Rows;
    TAccumulator All;
    for (const TAdjustment& A : AAll) {
        if (InFilter(A, AFilter))
            All.Add(A, Grand);
    }
    Keep(Rows, {"", "", "", "", "", ""}, All);
    for (const TBlock& Block : Blocks) {
        TAccumulator Total;
        std::map<QString, std::pair<QStringList, TAccumulator>> Subjects; // by bid
        for (const TAdjustment& A : AAll) {
            if (!InFilter(A, AFilter) || A.Mid != Block.Mid)
                continue;
            Total.Add(A, Block.TotalSlots);
            QString Label = A.Mname;
            if (A.Mid == "11")
                Label = "公共财政预算";
            else if (A.Mid == "12")
                Label = "政府性" + A.Mname;
            auto& Entry = Subjects[A.Bid];
            Entry.first = QStringList{A.Mid, Label} + Levels(A.Bid) + QStringList{A.Bname};
            Entry.second.Add(A, Block.DetailSlots);
        }
        Keep(Rows, {"", Block.Total, "", "", "", ""}, Total);
        for (const auto& [Bid, Entry] : Subjects)
            Keep(Rows, Entry.first, Entry.second);
    }
    return Rows;
}

std::vector<TModelRow> DetailModel(const std::vector<TAdjustment>& AAll,
                                   const TReportFilter& AFilter, const QString& AFund,
                                   bool AWithGrandTotal, int AFirstLevel, int ALastLevel) {
    const std::vector<TSlot> All = {"11/31", "12/31", "11/10", "11/20", "12/10",
                                    "12/20", "17/10", "18/10", "19/10"};
    std::vector<TSlot> Subtotal = All;
    Subtotal[0] = Subtotal[1] = nullptr;

    std::vector<const TAdjustment*> Rows;
    for (const TAdjustment& A : AAll) {
        if (InFilter(A, AFilter) && A.Mid == AFund)
            Rows.push_back(&A);
    }
    const QStringList NoTexts = {"", "", "", "", "", "", "", ""};
    std::vector<TModelRow> Result;
    if (AWithGrandTotal) {
        TAccumulator Grand;
        for (const TAdjustment* A : Rows)
            Grand.Add(*A, All);
        QStringList Texts = NoTexts;
        Texts[1] = AFilter.UnitName + "合计";
        Keep(Result, Texts, Grand);
    }
    for (int Level = AFirstLevel; Level <= ALastLevel; ++Level) {
        TAccumulator Total;
        // By shown code, subject and indicator, as the table orders them.
        std::map<std::tuple<QString, QString, QString, QString>,
                 std::pair<QStringList, TAccumulator>>
            Lines;
        for (const TAdjustment* A : Rows) {
            const bool AtLevel =
                A->Eid.size() / 3 - 1 == Level || (Level == 1 && A->Eid == AFilter.UnitPrefix);
            if (!AtLevel)
                continue;
            Total.Add(*A, Subtotal);
            const QString Shown = A->Eid.size() == 3 ? A->Eid + "001" : A->Eid;
            auto& Line = Lines[{Shown, A->Bid, A->Iid, A->Eid}];
            Line.first = QStringList{Shown, A->Ename} + Levels(A->Bid) +
                         QStringList{A->Bname, A->Iid, A->Iname};
            Line.second.Add(*A, All);
        }
        QStringList Texts = NoTexts;
        Texts[1] = Level == 1 ? AFilter.UnitName + "本级合计"
                              : QString(Level >= 1 && Level <= 9
                                            ? QString("一二三四五六七八九").mid(Level - 1, 1)
                                            : QString()) +
                                    "级单位合计";
        Keep(Result, Texts, Total);
        for (const auto& [Key, Line] : Lines)
            Keep(Result, Line.first, Line.second);
    }
    return Result;
}
