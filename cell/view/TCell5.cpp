#include "TCell5.h"

#include <QDialog>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

TCell5::TCell5(QWidget* AParent)
    : QAbstractScrollArea(AParent)
    , FDialogRunner([](QDialog& ADialog) { return ADialog.exec(); }) {
    setObjectName(QStringLiteral("TCell5"));
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    FDocument.OnChanged = [this] {
        Changed();
    };
}

TCell5::~TCell5() {
    FDocument.OnChanged = nullptr;
}

int TCell5::LoadTemplate(const QString& AFileName, const QString& AReserved) {
    ShowTopLeft();
    return FDocument.LoadTemplate(AFileName, AReserved);
}

void TCell5::ShowTopLeft() {
    FinishEditing(false);
    FCurrentCol = FCurrentRow = 0;
    // The ranges follow the new content later; a value of 0 is in every
    // range, so the view stays at the top left.
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

int TCell5::GetRowCount(int ASheet) const {
    return FDocument.GetRowCount(ASheet);
}

void TCell5::SetRowCount(int ACount, int ASheet) {
    FDocument.SetRowCount(ACount, ASheet);
}

void TCell5::PutText(int ACol, int ARow, int ASheet, const QString& AText) {
    FDocument.PutText(ACol, ARow, ASheet, AText);
}

void TCell5::PutNumber(int ACol, int ARow, int ASheet, double ANumber) {
    FDocument.PutNumber(ACol, ARow, ASheet, ANumber);
}

void TCell5::PutAlign(int ACol, int ARow, int ASheet, int AAlign) {
    FDocument.PutAlign(ACol, ARow, ASheet, AAlign);
}

void TCell5::PutStyle(int ACol, int ARow, int ASheet, int AStyle) {
    FDocument.PutStyle(ACol, ARow, ASheet, AStyle);
}

void TCell5::PutBorder(int ACol, int ARow, int ASheet, int AEdge, int ALine) {
    FDocument.PutBorder(ACol, ARow, ASheet, AEdge, ALine);
}

void TCell5::JoinCells(int AFirstCol, int AFirstRow, int ALastCol, int ALastRow) {
    FDocument.JoinCells(AFirstCol, AFirstRow, ALastCol, ALastRow);
}

int TCell5::FitRowHeight(int ARow) {
    return FDocument.FitRowHeight(ARow);
}

void TCell5::PutRowHeight(int ARowCount, int AHeight, int ARow, int ASheet) {
    FDocument.PutRowHeight(ARowCount, AHeight, ARow, ASheet);
}

void TCell5::FinishTable(int AHeadingRows, int ALine, int ASheet) {
    FDocument.FinishTable(AHeadingRows, ALine, ASheet);
}

void TCell5::MarkLastRows(int AFirstRow, int ALastRow) {
    FDocument.MarkLastRows(AFirstRow, ALastRow);
}

void TCell5::SetPageText(const QString& ALeft, const QString& ACentre, const QString& ARight) {
    FDocument.SetPageText(ALeft, ACentre, ARight);
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
