#include "TCellDocument.h"

#include "TCellPrinter.h"
#include "TCellXlsxWriter.h"
#include "TCllReader.h"

#include <algorithm>

TCellDocument::TCellDocument()
    : FFitter(FSheet) {}

TCellDocument::~TCellDocument() = default;

int TCellDocument::LoadTemplate(const QString& AFileName, const QString& AReserved) {
    Q_UNUSED(AReserved);
    TCllReader Reader;
    TCellSheet Loaded;
    const int Result = Reader.Read(AFileName, Loaded);
    FSheet = Result == TCllReader::Ok ? std::move(Loaded) : TCellSheet();
    FLastError = Reader.Error();
    FPdfInfo = TCellPdfInfo();
    FFitter.Reset();
    Changed();
    return Result;
}

int TCellDocument::GetRowCount(int ASheet) const {
    return ASheet == 0 ? FSheet.RowCount() : 0;
}

void TCellDocument::SetRowCount(int ACount, int ASheet) {
    if (ASheet != 0)
        return;
    FSheet.SetRowCount(ACount);
    Changed();
}

TCell* TCellDocument::Target(int ACol, int ARow, int ASheet) {
    if (ASheet != 0)
        return nullptr;
    TCell* Cell = FSheet.WritableCell(ACol, ARow);
    if (Cell != nullptr)
        Changed();
    return Cell;
}

void TCellDocument::PutText(int ACol, int ARow, int ASheet, const QString& AText) {
    if (TCell* Cell = Target(ACol, ARow, ASheet)) {
        Cell->Kind = AText.isEmpty() ? TCell::TKind::Empty : TCell::TKind::Text;
        Cell->Text = AText;
    }
}

void TCellDocument::PutNumber(int ACol, int ARow, int ASheet, double ANumber) {
    if (TCell* Cell = Target(ACol, ARow, ASheet)) {
        Cell->Kind = TCell::TKind::Number;
        Cell->Number = ANumber;
        Cell->Text.clear();
    }
}

void TCellDocument::PutAlign(int ACol, int ARow, int ASheet, int AAlign) {
    if (TCell* Cell = Target(ACol, ARow, ASheet))
        Cell->Align = static_cast<std::uint8_t>(std::clamp(AAlign, 0, 63));
}

void TCellDocument::PutStyle(int ACol, int ARow, int ASheet, int AStyle) {
    if (TCell* Cell = Target(ACol, ARow, ASheet))
        Cell->Style = static_cast<std::uint8_t>(std::clamp(AStyle, 0, 2));
}

void TCellDocument::PutBorder(int ACol, int ARow, int ASheet, int AEdge, int ALine) {
    if (TCell* Cell = Target(ACol, ARow, ASheet))
        Cell->SetEdge(AEdge, ALine);
}

void TCellDocument::JoinCells(int AFirstCol, int AFirstRow, int ALastCol, int ALastRow) {
    if (FSheet.Join(TCellRange::Normalised(AFirstCol, AFirstRow, ALastCol, ALastRow)))
        Changed();
}

int TCellDocument::FitRowHeight(int ARow) {
    return FFitter.FitRowHeight(ARow);
}

void TCellDocument::PutRowHeight(int ARowCount, int AHeight, int ARow, int ASheet) {
    if (ASheet != 0)
        return;
    const int Last = std::min(ARow + std::max(ARowCount, 1) - 1, FSheet.RowCount() - 1);
    for (int Row = std::max(ARow, 1); Row <= Last; ++Row)
        FSheet.SetRowHeight(Row, AHeight);
    Changed();
}

void TCellDocument::FinishTable(int AHeadingRows, int ALine, int ASheet) {
    if (ASheet != 0)
        return;
    TCellPageSetup& Page = FSheet.Page();
    if (AHeadingRows >= 1 && AHeadingRows < FSheet.RowCount()) {
        Page.RepeatFirstRow = 1;
        Page.RepeatLastRow = AHeadingRows;
    }
    const int Line = std::clamp(ALine, 1, 2);
    for (int Row = std::max(AHeadingRows, 0) + 1; Row < FSheet.RowCount(); ++Row) {
        for (int Col = 1; Col <= FSheet.ColCount(); ++Col) {
            TCell* Cell = FSheet.WritableCell(Col, Row);
            if (Cell->HasAnyBorder())
                continue;
            for (int Edge = 0; Edge < 4; ++Edge)
                Cell->SetEdge(Edge, Line);
        }
    }
    Changed();
}

void TCellDocument::MarkLastRows(int AFirstRow, int ALastRow) {
    const int First = std::max(AFirstRow, 1);
    const int Last = std::min(ALastRow, FSheet.RowCount() - 1);
    if (First > Last)
        return;
    FSheet.Page().KeepFirstRow = First;
    FSheet.Page().KeepLastRow = Last;
    for (int Row = First; Row <= Last; ++Row)
        FSheet.SetRowHeight(Row, FFitter.FitRowHeight(Row));
    Changed();
}

void TCellDocument::SetPageText(const QString& ALeft, const QString& ACentre,
                                const QString& ARight) {
    TCellPageSetup& Page = FSheet.Page();
    Page.FooterLeft = ALeft;
    Page.FooterCentre = ACentre;
    Page.FooterRight = ARight;
}

int TCellDocument::ExportExcel(const QString& AFileName) {
    TCellXlsxWriter Writer(FSheet);
    const int Result = Writer.Write(AFileName);
    SetOutcome(Writer.Error(), Result == 0 ? AFileName : QString());
    return Result;
}

int TCellDocument::PrintToPdf(const QString& AFileName, TCellOutputFile::TMode AMode, int AFirst,
                              int AEnd) {
    QString Error;
    TCellPrinter Printer(FSheet);
    Printer.SetInfo(PdfInfo());
    Printer.SetParallel(FParallelPdf);
    Printer.SetPageRange(AFirst, AEnd);
    const int Result = Printer.PrintToPdf(AFileName, Error, AMode);
    SetOutcome(Error, Result == 0 ? AFileName : QString());
    return Result;
}

TCellPdfInfo TCellDocument::PdfInfo() const {
    TCellPdfInfo Result = FPdfInfo;
    if (Result.Title.isEmpty())
        Result.Title = CellText(1, 1);
    return Result;
}

void TCellDocument::SetOutcome(const QString& AError, const QString& AOutput) {
    FLastError = AError;
    FLastOutput = AOutput;
}

QString TCellDocument::CellText(int ACol, int ARow) const {
    const TCell* Cell = FSheet.Cell(ACol, ARow);
    return Cell != nullptr ? Cell->DisplayText() : QString();
}

void TCellDocument::Changed() {
    if (OnChanged)
        OnChanged();
}
