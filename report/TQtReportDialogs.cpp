#include "TQtReportDialogs.h"

#include "platform/ui/TForm.h"

#include <QFileDialog>
#include <QMessageBox>

int TQtReportDialogs::RunDialog(QDialog& ADialog) {
    return ADialog.exec();
}

bool TQtReportDialogs::RunSaveDialog(QFileDialog& ADialog, QString& AFileName) {
    ADialog.selectFile(AFileName);
    if (ADialog.exec() != QDialog::Accepted || ADialog.selectedFiles().isEmpty())
        return false;
    AFileName = ADialog.selectedFiles().constFirst();
    return !AFileName.isEmpty();
}

bool TQtReportDialogs::ChooseFolder(QWidget* AParent, const QString& ATitle, QString& AFolder) {
    const QString Chosen = QFileDialog::getExistingDirectory(AParent, ATitle, AFolder);
    if (Chosen.isEmpty())
        return false;
    AFolder = Chosen;
    return true;
}

TModalResult TQtReportDialogs::ShowModalForm(TForm& AForm) {
    return AForm.ShowModal();
}

void TQtReportDialogs::MessageBox(QWidget* AParent, const QString& AText, const QString& ACaption,
                                  int AFlags) {
    const QMessageBox::Icon Icon =
        AFlags == MbIconError ? QMessageBox::Critical : QMessageBox::Information;
    QMessageBox Box(Icon, ACaption, AText, QMessageBox::Ok, AParent);
    Box.exec();
}
