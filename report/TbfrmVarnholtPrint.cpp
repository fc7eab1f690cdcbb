// Preview and printing of the table shown.
#include "TbfrmVarnholt.h"

#include "ReportTexts.h"
#include "TReportDialogs.h"
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
    // The table as last drawn: a preview never refills the grid.
    cllBudget->SetPageText(QString(), QString::fromUtf8(PageLine), QString());
    DescribePdf(*this);
    cllBudget->PreviewSheet(0, 0);
}

void TbfrmVarnholt::tbnPrintClick() {
    if (!cbNum->isChecked()) {
        PrintShown();
        return;
    }
    // Every entry's table in list order; the list stays on the last one
    // printed, as if the user had chosen it.
    for (int Index = 0; Index < cobMid->count(); ++Index) {
        cobMid->setCurrentIndex(Index);
        ShowReport();
        if (!PrintShown())
            return;
    }
}

bool TbfrmVarnholt::PrintShown() {
    cllBudget->SetPageText(QString(), QString::fromUtf8(PageLine), QString());
    DescribePdf(*this);
    if (cllBudget->PrintSheet(0, 0) == 0)
        return true;
    // A print that did not happen must not pass for one that did.
    Dialogs().MessageBox(
        Widget(),
        QStringLiteral("打印失败：%1\n%2").arg(cobMid->currentText(), cllBudget->LastError()),
        QString::fromUtf8(MessageCaption), MbIconError);
    return false;
}
