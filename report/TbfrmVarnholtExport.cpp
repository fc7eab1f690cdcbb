// Workbook export of the tables and the export-settings dialog.
#include "TbfrmVarnholt.h"

#include "BrowseForFolder.h"
#include "OutputTexts.h"
#include "ReportLists.h"
#include "ReportTexts.h"
#include "SystemErrorText.h"
#include "TExportSet.h"
#include "TReportDialogs.h"
#include "TStatusLine.h"
#include "TfrmPrintExpSet.h"
#include "UserSettings.h"
#include "cell/view/TCell5.h"
#include "report/tables/ReportFileNames.h"
#include "report/tables/ReportHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <memory>

namespace {

QString DocumentsFolder() {
    const QString Folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(Folder).isDir() ? Folder : QDir::homePath();
}

} // namespace

void TbfrmVarnholt::EXCEL1Click() {
    // The line of an earlier print or export no longer tells the latest.
    FStatus->Clear();
    if (!ExportTables())
        return;
    FStatus->Set(ExportedLine(FExported));
    Dialogs().MessageBox(Widget(), FExportDone, QString::fromUtf8(MessageCaption),
                         MbIconInformation);
    // After the workbooks: a store that cannot be written is reported as an
    // error of its own and costs the clerk no export.
    WriteUserSetting(SaveFolderKey, QFileInfo(FExported.constFirst()).absolutePath());
}

bool TbfrmVarnholt::ExportTables() {
    FExported.clear();
    FExportDone.clear();
    return cbNum->isChecked() ? ExportContinuous() : ExportSingle();
}

QString TbfrmVarnholt::SaveFolder() const {
    const QString Last = ReadUserSetting(SaveFolderKey);
    return QFileInfo(Last).isDir() ? Last : DocumentsFolder();
}

bool TbfrmVarnholt::ExportContinuous() {
    QString Folder = SaveFolder();
    if (!BrowseForFolder(Dialogs(), Widget(), ContinuousExportFolderTitle(cobMid->count()),
                         DocumentsFolder(), Folder))
        return false;
    // The names carry no unit: files of an earlier export to this folder
    // would be replaced, or kept beside the new ones, without a word.
    // Fund natures of one name get their codes in the file names: no two
    // tables of the set go to one file.
    const TExportSet Set(Folder, HostYear(), cobBType->currentText(),
                         FileFundTexts(ListEntries(*cobMid)));
    if (!Set.Existing().isEmpty() &&
        !Dialogs().Confirm(Widget(), ReplaceQuestion(Set), QString::fromUtf8(MessageCaption))) {
        FStatus->Set(QStringLiteral("连续导出已取消，没有替换任何文件。"));
        return false;
    }
    // Only the export grid is refilled; the list goes back to the entry
    // whose table the shown grid holds, so list and grid agree.
    const int Shown = cobMid->currentIndex();
    const bool Written = ExportSet(Set);
    cobMid->setCurrentIndex(Shown);
    BuildTitles(cobMid->currentText());
    if (Written)
        FExportDone = ContinuousExportDone(Set);
    return Written;
}

bool TbfrmVarnholt::ExportSet(const TExportSet& ASet) {
    for (int Index = 0; Index < cobMid->count(); ++Index) {
        cobMid->setCurrentIndex(Index);
        PrepareExportGrid();
        if (!ExportGrid(ASet.Paths().value(Index), FExported.size()))
            return false;
        FExported << ASet.Paths().value(Index);
    }
    return !FExported.isEmpty();
}

bool TbfrmVarnholt::ExportSingle() {
    PrepareExportGrid();
    sd->setNameFilter(QString::fromUtf8(SaveFilter));
    sd->setDirectory(SaveFolder());
    QString FileName =
        SingleExportFileName(FUnitName, HostYear(), cobBType->currentText(), cobMid->currentText());
    if (!Dialogs().RunSaveDialog(*sd, FileName))
        return false;
    if (!ExportGrid(FileName, -1))
        return false;
    FExported << FileName;
    FExportDone = SingleExportDone(FileName);
    return true;
}

bool TbfrmVarnholt::ExportGrid(const QString& AFileName, int AWrittenBefore) {
    if (!Deliverable(FExportFill, QStringLiteral("导出")))
        return false;
    if (cllExpExcel->ExportExcel(AFileName) == 0)
        return true;
    QString Text =
        QStringLiteral("数据导出失败：%1\n原因：%2\n文件：%3")
            .arg(QFileInfo(AFileName).fileName(), ExplainSystemError(cllExpExcel->LastError()),
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
