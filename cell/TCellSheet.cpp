#include "TCellSheet.h"

#include <algorithm>
#include <cmath>

TCellSheet::TCellSheet() {
    Clear();
}

void TCellSheet::Clear() {
    FRows.assign(1, TRow{});
    FColWidths.clear();
    FColLefts.assign(1, 0);
    FMerges.clear();
    FFonts.assign(1, MakeFont(QStringLiteral("Noto Sans CJK SC"), 10.0, false));
    FPage = TCellPageSetup{};
    FDefaultRowHeight = DefaultRowHeightPx;
    FRowTops.assign(2, 0);
    FTopsValidTo = 0;
}

void TCellSheet::SetRowCount(int ACount) {
    const int Count = std::clamp(ACount, 1, MaxRows);
    if (Count < RowCount()) {
        for (int Index = static_cast<int>(FMerges.size()) - 1; Index >= 0; --Index)
            if (FMerges[Index].LastRow >= Count)
                Dissolve(Index);
    }
    TouchRow(std::min(Count, RowCount()));
    TRow Blank;
    Blank.Height = FDefaultRowHeight;
    FRows.resize(Count, Blank);
}

void TCellSheet::SetColCount(int ACount) {
    const int Count = std::clamp(ACount, 0, MaxColumns);
    if (Count < ColCount()) {
        for (int Index = static_cast<int>(FMerges.size()) - 1; Index >= 0; --Index)
            if (FMerges[Index].LastCol > Count)
                Dissolve(Index);
        for (TRow& Row : FRows)
            if (static_cast<int>(Row.Cells.size()) > Count)
                Row.Cells.resize(Count);
    }
    FColWidths.resize(Count, DefaultColWidth);
    UpdateColLefts();
}

void TCellSheet::UpdateColLefts() {
    FColLefts.resize(FColWidths.size() + 1);
    FColLefts[0] = 0;
    for (size_t Index = 0; Index < FColWidths.size(); ++Index)
        FColLefts[Index + 1] = FColLefts[Index] + FColWidths[Index];
}

int TCellSheet::ColWidth(int ACol) const {
    return ACol >= 1 && ACol <= ColCount() ? FColWidths[ACol - 1] : 0;
}

void TCellSheet::SetColWidth(int ACol, int AWidth) {
    if (ACol < 1 || ACol > ColCount())
        return;
    FColWidths[ACol - 1] = std::clamp(AWidth, 0, 4000);
    UpdateColLefts();
}

int TCellSheet::RowHeight(int ARow) const {
    return ARow >= 1 && ARow < RowCount() ? FRows[ARow].Height : 0;
}

void TCellSheet::SetRowHeight(int ARow, int AHeight) {
    if (ARow < 1 || ARow >= RowCount())
        return;
    const int Height = std::clamp(AHeight, 0, 4000);
    if (FRows[ARow].Height == Height)
        return;
    FRows[ARow].Height = Height;
    TouchRow(ARow);
}

void TCellSheet::SetDefaultRowHeight(int AHeight) {
    FDefaultRowHeight = std::clamp(AHeight, 1, 4000);
}

const TCell* TCellSheet::Cell(int ACol, int ARow) const {
    if (ARow < 1 || ARow >= RowCount() || ACol < 1)
        return nullptr;
    const TRow& Row = FRows[ARow];
    if (ACol > static_cast<int>(Row.Cells.size())) {
        static const TCell Empty;
        return ACol <= ColCount() ? &Empty : nullptr;
    }
    return &Row.Cells[ACol - 1];
}

TCell* TCellSheet::WritableCell(int ACol, int ARow) {
    if (ARow < 1 || ARow >= RowCount() || ACol < 1 || ACol > MaxColumns)
        return nullptr;
    if (ACol > ColCount())
        SetColCount(ACol);
    std::vector<TCell>& Cells = FRows[ARow].Cells;
    if (static_cast<int>(Cells.size()) < ACol)
        Cells.resize(ColCount());
    return &Cells[ACol - 1];
}

bool TCellSheet::Join(const TCellRange& ARange) {
    if (ARange.FirstCol < 1 || ARange.FirstRow < 1 || ARange.LastCol > MaxColumns ||
        ARange.LastRow >= RowCount())
        return false;
    if (ARange.LastCol > ColCount())
        SetColCount(ARange.LastCol);
    // Highest index first: dissolving moves the last merge into the freed
    // slot, which must not be one still to be dissolved.
    std::vector<int> Overlapped = MergesIn(ARange);
    std::sort(Overlapped.rbegin(), Overlapped.rend());
    for (const int Index : Overlapped)
        Dissolve(Index);
    if (ARange.IsSingle())
        return true;
    FMerges.push_back(ARange);
    IndexMerge(static_cast<int>(FMerges.size()) - 1);
    return true;
}

const TCellRange* TCellSheet::MergeAt(int ACol, int ARow) const {
    const TMergeSpan* Span = SpanAt(ACol, ARow);
    return Span == nullptr ? nullptr : &FMerges[Span->Merge];
}

const TCellSheet::TMergeSpan* TCellSheet::SpanAt(int ACol, int ARow) const {
    if (FMerges.empty() || ARow < 1 || ARow >= RowCount())
        return nullptr;
    const std::vector<TMergeSpan>& Spans = FRows[ARow].Spans;
    // The last span starting at or before the column is the only candidate.
    auto After =
        std::upper_bound(Spans.begin(), Spans.end(), ACol, [](int AValue, const TMergeSpan& ASpan) {
            return AValue < ASpan.FirstCol;
        });
    if (After == Spans.begin())
        return nullptr;
    const TMergeSpan& Span = *(After - 1);
    return ACol <= Span.LastCol ? &Span : nullptr;
}

std::vector<int> TCellSheet::MergesIn(const TCellRange& ARange) const {
    std::vector<int> Found;
    if (FMerges.empty())
        return Found;
    const int Last = std::min(ARange.LastRow, RowCount() - 1);
    for (int Row = std::max(ARange.FirstRow, 1); Row <= Last; ++Row) {
        for (const TMergeSpan& Span : FRows[Row].Spans) {
            if (Span.FirstCol > ARange.LastCol)
                break;
            if (Span.LastCol >= ARange.FirstCol)
                Found.push_back(Span.Merge);
        }
    }
    std::sort(Found.begin(), Found.end());
    Found.erase(std::unique(Found.begin(), Found.end()), Found.end());
    return Found;
}

void TCellSheet::Dissolve(int AMergeIndex) {
    UnindexMerge(AMergeIndex);
    const int Last = static_cast<int>(FMerges.size()) - 1;
    if (AMergeIndex != Last) {
        // The last merge takes the freed slot; its spans learn the new index.
        UnindexMerge(Last);
        FMerges[AMergeIndex] = FMerges[Last];
        IndexMerge(AMergeIndex);
    }
    FMerges.pop_back();
}

void TCellSheet::IndexMerge(int AMergeIndex) {
    const TCellRange& Range = FMerges[AMergeIndex];
    for (int Row = Range.FirstRow; Row <= Range.LastRow; ++Row) {
        std::vector<TMergeSpan>& Spans = FRows[Row].Spans;
        const auto At = std::lower_bound(
            Spans.begin(), Spans.end(), Range.FirstCol,
            [](const TMergeSpan& ASpan, int AValue) { return ASpan.FirstCol < AValue; });
        Spans.insert(At, TMergeSpan{Range.FirstCol, Range.LastCol, AMergeIndex});
    }
}

void TCellSheet::UnindexMerge(int AMergeIndex) {
    const TCellRange& Range = FMerges[AMergeIndex];
    for (int Row = Range.FirstRow; Row <= Range.LastRow; ++Row) {
        std::vector<TMergeSpan>& Spans = FRows[Row].Spans;
        Spans.erase(std::remove_if(Spans.begin(), Spans.end(),
                                   [AMergeIndex](const TMergeSpan& ASpan) {
                                       return ASpan.Merge == AMergeIndex;
                                   }),
                    Spans.end());
    }
}

int TCellSheet::RangeEdge(const TCellRange& ARange, int AEdge) const {
    const bool Vertical = AEdge == TCell::EdgeLeft || AEdge == TCell::EdgeRight;
    const int Fixed = AEdge == TCell::EdgeLeft    ? ARange.FirstCol
                      : AEdge == TCell::EdgeRight ? ARange.LastCol
                      : AEdge == TCell::EdgeTop   ? ARange.FirstRow
                                                  : ARange.LastRow;
    const int From = Vertical ? ARange.FirstRow : ARange.FirstCol;
    const int To = Vertical ? ARange.LastRow : ARange.LastCol;
    int Line = 0;
    for (int Index = From; Index <= To; ++Index) {
        const TCell* Cell = Vertical ? this->Cell(Fixed, Index) : this->Cell(Index, Fixed);
        if (Cell != nullptr)
            Line = std::max(Line, Cell->Edge(AEdge));
    }
    return Line;
}

int TCellSheet::AddFont(const QFont& AFont) {
    FFonts.push_back(AFont);
    return FontCount() - 1;
}

void TCellSheet::SetFont(int AIndex, const QFont& AFont) {
    if (AIndex >= 0 && AIndex < FontCount())
        FFonts[AIndex] = AFont;
}

const QFont& TCellSheet::Font(int AIndex) const {
    return AIndex >= 0 && AIndex < FontCount() ? FFonts[AIndex] : FFonts.front();
}

QFont TCellSheet::CellFont(const TCell& ACell) const {
    QFont Result = Font(ACell.Font);
    if (ACell.IsBold())
        Result.setBold(true);
    return Result;
}

QFont TCellSheet::MakeFont(const QString& AFamily, double APointSize, bool ABold) {
    QFont Result(AFamily);
    const double Points = APointSize > 0 ? APointSize : 10.0;
    Result.setPixelSize(std::max(1, static_cast<int>(std::lround(Points * 96.0 / 72.0))));
    Result.setBold(ABold);
    // Outlines must not snap to the screen's pixel grid: the same layout is
    // drawn at printer resolution.
    Result.setHintingPreference(QFont::PreferNoHinting);
    // Every glyph straight from the character map. Shaped, the CJK fonts
    // swap digits after Latin letters ("ZB000123") for glyphs that no
    // character maps to, and a PDF's text layer then drops those digits.
    // The tables' scripts need no shaping, and their widths are then just
    // the sum of their characters' advances, as the row fitting sums them.
    Result.setStyleStrategy(QFont::PreferNoShaping);
    return Result;
}

void TCellSheet::UpdateRowTops() const {
    const int Count = RowCount();
    if (FTopsValidTo >= Count && static_cast<int>(FRowTops.size()) == Count + 1)
        return;
    FRowTops.resize(Count + 1);
    int From = std::max(1, std::min(FTopsValidTo, Count));
    FRowTops[0] = 0;
    FRowTops[1] = 0;
    for (int Row = From; Row < Count; ++Row)
        FRowTops[Row + 1] = FRowTops[Row] + FRows[Row].Height;
    FTopsValidTo = Count;
}

int TCellSheet::RowTop(int ARow) const {
    UpdateRowTops();
    return FRowTops[std::clamp(ARow, 0, RowCount())];
}

int TCellSheet::ColLeft(int ACol) const {
    return FColLefts[std::clamp(ACol - 1, 0, ColCount())];
}

int TCellSheet::RowAt(int AY) const {
    UpdateRowTops();
    if (RowCount() <= 1)
        return 0;
    const auto Begin = FRowTops.begin() + 1;
    const auto End = FRowTops.begin() + RowCount();
    const int Row = static_cast<int>(std::upper_bound(Begin, End, AY) - FRowTops.begin()) - 1;
    return std::clamp(Row, 1, RowCount() - 1);
}

int TCellSheet::ColAt(int AX) const {
    if (ColCount() == 0)
        return 0;
    const auto Found = std::upper_bound(FColLefts.begin() + 1, FColLefts.end(), AX);
    return std::clamp(static_cast<int>(Found - FColLefts.begin()), 1, ColCount());
}

QRect TCellSheet::CellRect(int ACol, int ARow) const {
    if (const TCellRange* Merge = MergeAt(ACol, ARow))
        return RangeRect(*Merge);
    return RangeRect({ACol, ARow, ACol, ARow});
}

QRect TCellSheet::RangeRect(const TCellRange& ARange) const {
    const int Left = ColLeft(ARange.FirstCol);
    const int Top = RowTop(ARange.FirstRow);
    return {Left, Top, ColLeft(ARange.LastCol + 1) - Left, RowTop(ARange.LastRow + 1) - Top};
}
