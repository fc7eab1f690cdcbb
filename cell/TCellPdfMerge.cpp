#include "TCellPdfMerge.h"

#include "TCellPdfObjects.h"

#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <vector>

namespace {

// Where each object of a file begins and ends: from its offset to the next
// object's, or to the cross-reference table.
struct TExtent {
    int Number;
    qsizetype Start;
    qsizetype End;
};

std::vector<TExtent> Extents(const QByteArray& APdf, const TCellPdfObjects& AObjects) {
    std::vector<TExtent> Extents;
    for (int Number = 1; Number < AObjects.Count(); ++Number) {
        if (AObjects.Offset(Number) >= 0)
            Extents.push_back({Number, AObjects.Offset(Number), 0});
    }
    std::sort(Extents.begin(), Extents.end(),
              [](const TExtent& A, const TExtent& B) { return A.Start < B.Start; });
    const qsizetype Table = APdf.lastIndexOf("\nxref") + 1;
    for (size_t I = 0; I < Extents.size(); ++I)
        Extents[I].End = I + 1 < Extents.size() ? Extents[I + 1].Start : Table;
    return Extents;
}

// The object a dictionary names under AKey ("/Pages 3 0 R"), or -1.
int Reference(QByteArrayView ADictionary, QByteArrayView AKey) {
    const qsizetype Value = TCellPdfObjects::Number(ADictionary, AKey);
    return Value > 0 ? static_cast<int>(Value) : -1;
}

// The references of a page tree's kids, as written there.
QByteArray Kids(QByteArrayView APages) {
    const qsizetype Open = APages.indexOf("/Kids");
    const qsizetype Start = Open < 0 ? -1 : APages.indexOf('[', Open);
    const qsizetype End = Start < 0 ? -1 : APages.indexOf(']', Start);
    return End < 0 ? QByteArray() : APages.sliced(Start + 1, End - Start - 1).toByteArray();
}

class TJoin {
public:
    TJoin(const QByteArray& AFirst, const QByteArray& ASecond)
        : FFirst(AFirst)
        , FSecond(ASecond)
        , FA(AFirst)
        , FB(ASecond) {}

    bool Run(QByteArray& AResult);

private:
    bool Prepare();
    QByteArray Renumbered(const TExtent& AExtent) const;
    QByteArray JoinedPages() const;
    void Add(int ANumber, const QByteArray& AText);

    const QByteArray& FFirst;
    const QByteArray& FSecond;
    TCellPdfObjects FA;
    TCellPdfObjects FB;
    int FPagesA = -1;
    int FPagesB = -1;
    std::map<int, int> FNewNumber; // the second file's numbers
    QByteArray FOut;
    std::vector<qsizetype> FOffsets; // by new number, -1 for a free one
};

bool TJoin::Prepare() {
    if (!FA.IsValid() || !FB.IsValid())
        return false;
    const int RootA = FA.TrailerReference("/Root");
    const int RootB = FB.TrailerReference("/Root");
    if (RootA < 0 || RootB < 0)
        return false;
    FPagesA = Reference(FA.Object(RootA, true), "/Pages");
    FPagesB = Reference(FB.Object(RootB, true), "/Pages");
    if (FPagesA < 0 || FPagesB < 0)
        return false;
    // The second's catalog, page tree and information are not carried over;
    // its pages name the first's page tree as their parent.
    const int InfoB = FB.TrailerReference("/Info");
    int Next = FA.Count();
    for (int Number = 1; Number < FB.Count(); ++Number) {
        if (FB.Offset(Number) < 0 || Number == RootB || Number == FPagesB || Number == InfoB)
            continue;
        FNewNumber[Number] = Next++;
    }
    FNewNumber[FPagesB] = FPagesA;
    FOffsets.assign(size_t(Next), -1);
    return true;
}

// An object of the second file under its new number, every reference in
// its dictionary (not in its stream) renumbered.
QByteArray TJoin::Renumbered(const TExtent& AExtent) const {
    const QByteArray Whole = FSecond.mid(AExtent.Start, AExtent.End - AExtent.Start);
    const qsizetype Stream = Whole.indexOf("stream");
    const QByteArray Head = Stream < 0 ? Whole : Whole.first(Stream);
    static const QRegularExpression Refs(QStringLiteral("(?<![0-9])(\\d+) 0 (R|obj)"));
    QByteArray Text;
    qsizetype Done = 0;
    const QString HeadText = QString::fromLatin1(Head);
    for (auto Match = Refs.globalMatch(HeadText); Match.hasNext();) {
        const auto M = Match.next();
        const auto Found = FNewNumber.find(M.captured(1).toInt());
        const int Number = Found != FNewNumber.end() ? Found->second : M.captured(1).toInt();
        Text += Head.mid(Done, M.capturedStart() - Done) + QByteArray::number(Number) + " 0 " +
                M.captured(2).toLatin1();
        Done = M.capturedEnd();
    }
    Text += Head.mid(Done);
    return Stream < 0 ? Text : Text + Whole.mid(Stream);
}

QByteArray TJoin::JoinedPages() const {
    const QByteArrayView PagesA = FA.Object(FPagesA);
    const QByteArray KidsB = Kids(FB.Object(FPagesB));
    QByteArray Moved;
    static const QRegularExpression Ref(QStringLiteral("(\\d+) 0 R"));
    for (auto Match = Ref.globalMatch(QString::fromLatin1(KidsB)); Match.hasNext();)
        Moved += QByteArray::number(FNewNumber.at(Match.next().captured(1).toInt())) + " 0 R\n";
    const qsizetype CountA = TCellPdfObjects::Number(PagesA, "/Count");
    const qsizetype CountB = TCellPdfObjects::Number(FB.Object(FPagesB), "/Count");
    QByteArray Text = PagesA.toByteArray();
    const qsizetype KidsEnd = Text.indexOf(']', Text.indexOf("/Kids"));
    Text.insert(KidsEnd, Moved);
    const qsizetype CountAt = Text.indexOf("/Count");
    const qsizetype CountEnd = Text.indexOf('\n', CountAt);
    Text.replace(CountAt, CountEnd - CountAt, "/Count " + QByteArray::number(CountA + CountB));
    return Text + '\n';
}

void TJoin::Add(int ANumber, const QByteArray& AText) {
    FOffsets[size_t(ANumber)] = FOut.size();
    FOut += AText;
}

bool TJoin::Run(QByteArray& AResult) {
    if (!Prepare())
        return false;
    const std::vector<TExtent> First = Extents(FFirst, FA);
    const std::vector<TExtent> Second = Extents(FSecond, FB);
    if (First.empty())
        return false;
    // Grown once: doubling on the way would hold half as much again.
    FOut.reserve(FFirst.size() + FSecond.size() + 32 * (FA.Count() + FB.Count()) + 1024);
    FOut += FFirst.first(First.front().Start);
    for (const TExtent& Object : First) {
        Add(Object.Number, Object.Number == FPagesA
                               ? JoinedPages()
                               : FFirst.mid(Object.Start, Object.End - Object.Start));
    }
    for (const TExtent& Object : Second) {
        const auto Found = FNewNumber.find(Object.Number);
        if (Found != FNewNumber.end() && Object.Number != FPagesB)
            Add(Found->second, Renumbered(Object));
    }
    const int Size = int(FOffsets.size());
    const qsizetype Table = FOut.size();
    FOut += TCellPdfObjects::CrossReference(FOffsets);
    FOut += "trailer\n<<\n/Size " + QByteArray::number(Size) + "\n/Info " +
            QByteArray::number(FA.TrailerReference("/Info")) + " 0 R\n/Root " +
            QByteArray::number(FA.TrailerReference("/Root")) + " 0 R\n>>\nstartxref\n" +
            QByteArray::number(Table) + "\n%%EOF\n";
    AResult = FOut;
    return true;
}

} // namespace

bool TCellPdfMerge::Append(QByteArray& AFirst, const QByteArray& ASecond) {
    QByteArray Joined;
    if (!TJoin(AFirst, ASecond).Run(Joined))
        return false;
    AFirst = Joined;
    return true;
}
