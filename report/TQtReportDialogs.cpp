#include "TQtReportDialogs.h"

#include "OutputTexts.h"
#include "platform/ui/TForm.h"

#include <QBoxLayout>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpacerItem>

namespace {

// What a title bar takes beside the caption: the window icon and the
// close button, with their margins.
constexpr int TitleBarExtra = 120;

// A message box sizes itself to its text; a spacer across its layout makes
// it wide enough for the caption too.
void FitCaption(QMessageBox& ABox) {
    auto* Layout = qobject_cast<QGridLayout*>(ABox.layout());
    if (!Layout)
        return;
    const int Width = ABox.fontMetrics().horizontalAdvance(ABox.windowTitle()) + TitleBarExtra;
    Layout->addItem(new QSpacerItem(Width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                    Layout->rowCount(), 0, 1, Layout->columnCount());
}

// The count goes above the dialog's own controls too (a title bar may not
// show), and the options (pages, copies) are shown open when the dialog
// folds them away.
void ShowCountAndOptions(QPrintDialog& ADialog, const QString& ACount) {
    if (auto* Box = qobject_cast<QBoxLayout*>(ADialog.layout())) {
        auto* Count = new QLabel(ACount, &ADialog);
        Count->setObjectName(QStringLiteral("PrintCount"));
        QFont Bold = Count->font();
        Bold.setBold(true);
        Count->setFont(Bold);
        Box->insertWidget(0, Count);
    }
    for (QPushButton* Button : ADialog.findChildren<QPushButton*>()) {
        if (Button->text().endsWith(QStringLiteral(">>"))) {
            Button->click();
            break;
        }
    }
}

} // namespace

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

bool TQtReportDialogs::RunPrintDialog(QWidget* AParent, QPrinter& APrinter,
                                      const TPrintRequest& ARequest) {
    QPrintDialog Dialog(&APrinter, AParent);
    Dialog.setWindowTitle(PrintDialogTitle(ARequest));
    QAbstractPrintDialog::PrintDialogOptions Options = QAbstractPrintDialog::PrintToFile |
                                                       QAbstractPrintDialog::PrintShowPageSize |
                                                       QAbstractPrintDialog::PrintCollateCopies;
    if (!ARequest.Continuous()) {
        // The page range offered is the table's.
        Options |= QAbstractPrintDialog::PrintPageRange;
        Dialog.setMinMax(1, ARequest.PageCount);
        APrinter.setFromTo(1, ARequest.PageCount);
        APrinter.setPrintRange(QPrinter::AllPages);
    }
    Dialog.setOptions(Options);
    ShowCountAndOptions(Dialog, PrintDialogTitle(ARequest));
    return Dialog.exec() == QDialog::Accepted;
}

TModalResult TQtReportDialogs::ShowModalForm(TForm& AForm) {
    return AForm.ShowModal();
}

void TQtReportDialogs::MessageBox(QWidget* AParent, const QString& AText, const QString& ACaption,
                                  int AFlags) {
    const QMessageBox::Icon Icon =
        AFlags == MbIconError ? QMessageBox::Critical : QMessageBox::Information;
    QMessageBox Box(Icon, ACaption, AText, QMessageBox::Ok, AParent);
    FitCaption(Box);
    Box.exec();
}

bool TQtReportDialogs::Confirm(QWidget* AParent, const QString& AText, const QString& ACaption) {
    QMessageBox Box(QMessageBox::Question, ACaption, AText, QMessageBox::NoButton, AParent);
    QPushButton* Yes = Box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
    QPushButton* No = Box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
    Box.setDefaultButton(No);
    Box.setEscapeButton(No);
    FitCaption(Box);
    Box.exec();
    return Box.clickedButton() == Yes;
}
