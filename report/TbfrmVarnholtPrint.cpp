// Preview and printing of the table shown.
#include "TbfrmVarnholt.h"

#include "OutputTexts.h"
#include "ReportTexts.h"
#include "SystemErrorText.h"
#include "TReportDialogs.h"
#include "TStatusLine.h"
#include "UserSettings.h"
#include "cell/view/TCell5.h"
#include "cell/view/TCellPreviewDialog.h"
#include "report/tables/ReportPageSelection.h"
#include "report/tables/ReportPdfInfo.h"
#include "report/tables/TReportFilter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QPrinter>

namespace {

// A PDF of the table names it and the choices it was drawn for.
void DescribePdf(TbfrmVarnholt& AWindow) {
    AWindow.cllBudget->Document().SetPdfInfo(
        ReportPdfInfo(AWindow.cllBudget->CellText(1, 1), AWindow.CurrentFilter(),
                      AWindow.cobBType->currentText(), AWindow.cobMid->currentText()));
}

const QString PrintCancelled = QStringLiteral("打印已取消，没有打印任何页。");

} // namespace

void TbfrmVarnholt::btnPrintViewClick() {
    FPrinted.clear();
    // The table as last drawn: a preview never refills the grid.
    PrepareOutput();
    if (cllBudget->PreviewSheet(0, 0) != TCellPreviewDialog::PrintChosen)
        return;
    // 打印 in the preview prints the table it showed, asking as 打印 does.
    FStatus->Clear();
    PrintShown();
}

void TbfrmVarnholt::tbnPrintClick() {
    FPrinted.clear();
    FStatus->Clear();
    if (cbNum->isChecked())
        PrintContinuous();
    else
        PrintShown();
}

void TbfrmVarnholt::PrepareOutput() {
    cllBudget->SetPageText(ReportPageSelection(CurrentFilter(), cobBType->currentText()),
                           QString::fromUtf8(PageLine), QString());
    DescribePdf(*this);
    // Without a printer the PDF is proposed where the clerk exported last;
    // before the first export, in the documents folder.
    cllBudget->SetPdfFolder(ReadUserSetting(SaveFolderKey));
}

bool TbfrmVarnholt::PrintShown() {
    if (!Deliverable(FShownFill, QStringLiteral("打印")))
        return false;
    PrepareOutput();
    const std::unique_ptr<QPrinter> Printer = cllBudget->NewPrinter();
    TPrintRequest Request;
    Request.PageCount = std::max(1, cllBudget->PageCount(*Printer));
    if (!Dialogs().RunPrintDialog(Widget(), *Printer, Request)) {
        FStatus->Set(PrintCancelled);
        return false;
    }
    return PrintSucceeded(cllBudget->PrintOn(*Printer));
}

void TbfrmVarnholt::PrintContinuous() {
    // Every entry's table in list order; the list stays on the last one
    // printed, which is the table the grid then shows. The clerk is asked
    // once, before the first table, where and how many.
    const int Count = cobMid->count();
    if (Count == 0)
        return;
    PrepareOutput();
    const std::unique_ptr<QPrinter> Printer = cllBudget->NewPrinter();
    TPrintRequest Request;
    Request.TableCount = Count;
    if (!Dialogs().RunPrintDialog(Widget(), *Printer, Request)) {
        FStatus->Set(PrintCancelled);
        return;
    }
    // To a file, every table gets a PDF of its own in the folder chosen.
    const bool ToFile = Printer->outputFormat() == QPrinter::PdfFormat;
    const QString Folder = QFileInfo(Printer->outputFileName()).absolutePath();
    QList<TPrintedTable> Done;
    for (int Index = 0; Index < Count; ++Index) {
        cobMid->setCurrentIndex(Index);
        ShowReport();
        if (!Deliverable(FShownFill, QStringLiteral("打印")))
            return;
        PrepareOutput();
        Printer->setDocName(cllBudget->CellText(1, 1));
        const int Pages = cllBudget->PageCount(*Printer);
        const bool OneFile = !ToFile || !cllBudget->PrintFile().isEmpty();
        if (!PrintSucceeded(OneFile ? cllBudget->PrintOn(*Printer)
                                    : cllBudget->PrintToNewPdf(Folder)))
            return;
        Done << TPrintedTable{cobMid->currentText(), Pages, cllBudget->LastOutputFile()};
    }
    Dialogs().MessageBox(Widget(),
                         ContinuousPrintDone(Done, !ToFile, ToFile ? 1 : Printer->copyCount()),
                         QString::fromUtf8(MessageCaption), MbIconInformation);
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

bool TbfrmVarnholt::PrintSucceeded(int AResult) {
    if (AResult == 0)
        return true;
    // A print that did not happen must not pass for one that did.
    Dialogs().MessageBox(
        Widget(),
        QStringLiteral("打印失败：%1\n原因：%2")
            .arg(cobMid->currentText(), ExplainSystemError(cllBudget->LastError())),
        QString::fromUtf8(MessageCaption), MbIconError);
    return false;
}
