// Workbook export of the tables and the export-settings dialog.
#include "TbfrmVarnholt.h"

#include "BrowseForFolder.h"
#include "ReportTexts.h"
#include "TReportDialogs.h"
#include "TfrmPrintExpSet.h"
#include "cell/view/TCell5.h"
#include "report/tables/ReportFileNames.h"
#include "report/tables/ReportHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <memory>

void TbfrmVarnholt::EXCEL1Click() {
    if (ExportTables())
        Dialogs().MessageBox(Widget(), QString::fromUtf8(ExportDoneText),
                             QString::fromUtf8(MessageCaption), MbIconInformation);
}

bool TbfrmVarnholt::ExportTables() {
    return cbNum->isChecked() ? ExportContinuous() : ExportSingle();
}

bool TbfrmVarnholt::ExportContinuous() {
    QString Folder;
    if (!BrowseForFolder(Dialogs(), Widget(), QString::fromUtf8(ChooseFolderTitle), QString(),
                         Folder))
        return false;
    // The shown grid keeps its table: only the export grid is refilled, and
    // the list is left on the last entry.
    int Written = 0;
    for (int Index = 0; Index < cobMid->count(); ++Index) {
        cobMid->setCurrentIndex(Index);
        PrepareExportGrid();
        const QString Path = ContinuousExportPath(Folder, HostYear(), cobBType->currentText(),
                                                  cobMid->currentText());
        if (!ExportGrid(Path, Written))
            return false;
        ++Written;
    }
    return Written > 0;
}

bool TbfrmVarnholt::ExportSingle() {
    PrepareExportGrid();
    sd->setNameFilter(QString::fromUtf8(SaveFilter));
    QString FileName =
        SingleExportFileName(FUnitName, HostYear(), cobBType->currentText(), cobMid->currentText());
    if (!Dialogs().RunSaveDialog(*sd, FileName))
        return false;
    return ExportGrid(FileName, -1);
}

bool TbfrmVarnholt::ExportGrid(const QString& AFileName, int AWrittenBefore) {
    if (cllExpExcel->ExportExcel(AFileName) == 0)
        return true;
    QString Text = QStringLiteral("数据导出失败：%1\n原因：%2\n文件：%3")
                       .arg(QFileInfo(AFileName).fileName(), cllExpExcel->LastError(),
                            QDir::toNativeSeparators(AFileName));
    if (AWrittenBefore >= 0)
        Text += QStringLiteral("\n连续导出已停止，此前已导出 %1 个文件。").arg(AWrittenBefore);
    Dialogs().MessageBox(Widget(), Text, QString::fromUtf8(MessageCaption), MbIconError);
    return false;
}

void TbfrmVarnholt::mitemExpSetClick() {
    // The dialog lives only while it is shown, and is freed however the
    // showing ends.
    const auto Free = [](TfrmPrintExpSet* ADialog) {
        ADialog->Free();
    };
    std::unique_ptr<TfrmPrintExpSet, decltype(Free)> Dialog(
        TComponent::Create<TfrmPrintExpSet>(nullptr), Free);
    Dialogs().ShowModalForm(*Dialog);
}
