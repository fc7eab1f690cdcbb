#include "TCell5.h"

#include "TCllReader.h"

#include <QDialog>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

TCell5::TCell5(QWidget* AParent)
    : QAbstractScrollArea(AParent)
    , FFitter(FSheet)
    , FDialogRunner([](QDialog& ADialog) { return ADialog.exec(); }) {
    setObjectName(QStringLiteral("TCell5"));
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
}

TCell5::~TCell5() = default;

int TCell5::LoadTemplate(const QString& AFileName, const QString& AReserved) {
    Q_UNUSED(AReserved);
    FinishEditing(false);
    TCllReader Reader;
    TCellSheet Loaded;
    const int Result = Reader.Read(AFileName, Loaded);
    FSheet = Result == TCllReader::Ok ? std::move(Loaded) : TCellSheet();
    FLastError = Reader.Error();
    FFitter.Reset();
    FCurrentCol = FCurrentRow = 0;
    Changed();
    return Result;
}

int TCell5::GetRowCount(int ASheet) const {
    return ASheet == 0 ? FSheet.RowCount() : 0;
}

void TCell5::SetRowCount(int ACount, int ASheet) {
    if (ASheet != 0)
        return;
    FSheet.SetRowCount(ACount);
    Changed();
}

TCell* TCell5::Target(int ACol, int ARow, int ASheet) {
    if (ASheet != 0)
        return nullptr;
    TCell* Cell = FSheet.WritableCell(ACol, ARow);
    if (Cell != nullptr)
        Changed();
    return Cell;
}

void TCell5::PutText(int ACol, int ARow, int ASheet, const QString& AText) {
    if (TCell* Cell = Target(ACol, ARow, ASheet)) {
        Cell->Kind = AText.isEmpty() ? TCell::TKind::Empty : TCell::TKind::Text;
        Cell->Text = AText;
    }
}

void TCell5::PutNumber(int ACol, int ARow, int ASheet, double ANumber) {
    if (TCell* Cell = Target(ACol, ARow, ASheet)) {
        Cell->Kind = TCell::TKind::Number;
        Cell->Number = ANumber;
        Cell->Text.clear();
    }
}

void TCell5::PutAlign(int ACol, int ARow, int ASheet, int AAlign) {
    if (TCell* Cell = Target(ACol, ARow, ASheet))
        Cell->Align = static_cast<std::uint8_t>(std::clamp(AAlign, 0, 63));
}

void TCell5::PutStyle(int ACol, int ARow, int ASheet, int AStyle) {
    if (TCell* Cell = Target(ACol, ARow, ASheet))
        Cell->Style = static_cast<std::uint8_t>(std::clamp(AStyle, 0, 2));
}

void TCell5::PutBorder(int ACol, int ARow, int ASheet, int AEdge, int ALine) {
    if (TCell* Cell = Target(ACol, ARow, ASheet))
        Cell->SetEdge(AEdge, ALine);
}

void TCell5::JoinCells(int AFirstCol, int AFirstRow, int ALastCol, int ALastRow) {
    if (FSheet.Join(TCellRange::Normalised(AFirstCol, AFirstRow, ALastCol, ALastRow)))
        Changed();
}

int TCell5::FitRowHeight(int ARow) {
    return FFitter.FitRowHeight(ARow);
}

void TCell5::PutRowHeight(int ARowCount, int AHeight, int ARow, int ASheet) {
    if (ASheet != 0)
        return;
    const int Last = std::min(ARow + std::max(ARowCount, 1) - 1, FSheet.RowCount() - 1);
    for (int Row = std::max(ARow, 1); Row <= Last; ++Row)
        FSheet.SetRowHeight(Row, AHeight);
    Changed();
}

void TCell5::FinishTable(int AHeadingRows, int ALine, int ASheet) {
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

void TCell5::MarkLastRows(int AFirstRow, int ALastRow) {
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

void TCell5::SetPageText(const QString& ALeft, const QString& ACentre, const QString& ARight) {
    TCellPageSetup& Page = FSheet.Page();
    Page.FooterLeft = ALeft;
    Page.FooterCentre = ACentre;
    Page.FooterRight = ARight;
}

void TCell5::SetWorkbookReadonly(bool AReadonly) {
    FReadonly = AReadonly;
    if (FReadonly)
        FinishEditing(false);
}

void TCell5::SetDialogRunner(TDialogRunner ARunner) {
    FDialogRunner = ARunner ? std::move(ARunner) : [](QDialog& ADialog) {
        return ADialog.exec();
    };
}

QString TCell5::CellText(int ACol, int ARow) const {
    const TCell* Cell = FSheet.Cell(ACol, ARow);
    return Cell != nullptr ? Cell->DisplayText() : QString();
}

void TCell5::Changed() {
    // A fill writes many thousands of cells without returning to the event
    // loop; the view catches up once, when it next can.
    if (FLayoutPending)
        return;
    FLayoutPending = true;
    QTimer::singleShot(0, this, [this] {
        FLayoutPending = false;
        UpdateScrollBars();
        viewport()->update();
    });
}
