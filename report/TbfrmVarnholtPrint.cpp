// Preview and printing of the table shown.
#include "TbfrmVarnholt.h"

#include "OutputTexts.h"
#include "ReportTexts.h"
#include "SystemErrorText.h"
#include "TReportDialogs.h"
#include "TStatusLine.h"
#include "cell/view/TCell5.h"
#include "report/tables/ReportPdfInfo.h"
#include "report/tables/TReportFilter.h"

#include <QCheckBox>
#include <QComboBox>

namespace {

// A PDF of the table names it and the choices it was drawn for.
void DescribePdf(TbfrmVarnholt& AWindow) {
    AWindow.cllBudget->Document().SetPdfInfo(
        ReportPdfInfo(AWindow.cllBudget->CellText(1, 1), AWindow.CurrentFilter(),
                      AWindow.cobBType->currentText(), AWindow.cobMid->currentText()));
}

} // namespace

void TbfrmVarnholt::btnPrintViewClick() {
    // A print from the preview's own button tells where it went like any
    // other print.
    FPrinted.clear();
    // The table as last drawn: a preview never refills the grid.
    cllBudget->SetPageText(QString(), QString::fromUtf8(PageLine), QString());
    DescribePdf(*this);
    cllBudget->PreviewSheet(0, 0);
}

void TbfrmVarnholt::tbnPrintClick() {
    FPrinted.clear();
    FStatus->Clear();
    if (cbNum->isChecked())
        PrintContinuous();
    else
        PrintShown();
}

void TbfrmVarnholt::PrintContinuous() {
    // Every entry's table in list order; the list stays on the last one
    // printed, which is the table the grid then shows.
    for (int Index = 0; Index < cobMid->count(); ++Index) {
        cobMid->setCurrentIndex(Index);
        ShowReport();
        if (!PrintShown())
            return;
    }
}

void TbfrmVarnholt::Printed(const QString& AOutput) {
    FPrinted << AOutput;
    FStatus->Set(PrintedLine(FPrinted));
}

// A table whose query or template failed, or whose amounts are not numbers,
// is not handed out as if it were sound.
bool TbfrmVarnholt::Deliverable(const TFillResult& AFill, const QString& AWhat) {
    if (!AFill.Failed() && !AFill.Unsound())
        return true;
    const QString Reason = AFill.Unsound()
                               ? QStringLiteral("有金额不是有限数（溢出或不是数字）：") +
                                     AFill.NotFiniteRows.join(QStringLiteral("；"))
                               : AFill.StatusLine();
    Dialogs().MessageBox(Widget(),
                         QStringLiteral("未%1“%2”：%3").arg(AWhat, cobMid->currentText(), Reason),
                         QString::fromUtf8(MessageCaption), MbIconError);
    return false;
}

bool TbfrmVarnholt::PrintShown() {
    if (!Deliverable(FShownFill, QStringLiteral("打印")))
        return false;
    cllBudget->SetPageText(QString(), QString::fromUtf8(PageLine), QString());
    DescribePdf(*this);
    if (cllBudget->PrintSheet(0, 0) == 0)
        return true;
    // A print that did not happen must not pass for one that did.
    Dialogs().MessageBox(
        Widget(),
        QStringLiteral("打印失败：%1\n原因：%2")
            .arg(cobMid->currentText(), ExplainSystemError(cllBudget->LastError())),
        QString::fromUtf8(MessageCaption), MbIconError);
    return false;
}
