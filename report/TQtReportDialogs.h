#pragma once

#include "TReportDialogs.h"

// The dialogs a user answers: Qt's file and folder dialogs, message boxes.
// A message box is made at least as wide as its caption needs, with room
// for the title bar's icon and buttons, so the caption is never cut short.
class TQtReportDialogs : public TReportDialogs {
public:
    int RunDialog(QDialog& ADialog) override;
    bool RunSaveDialog(QFileDialog& ADialog, QString& AFileName) override;
    bool ChooseFolder(QWidget* AParent, const QString& ATitle, QString& AFolder) override;
    bool RunPrintDialog(QWidget* AParent, QPrinter& APrinter,
                        const TPrintRequest& ARequest) override;
    TModalResult ShowModalForm(TForm& AForm) override;
    void MessageBox(QWidget* AParent, const QString& AText, const QString& ACaption,
                    int AFlags) override;
    bool Confirm(QWidget* AParent, const QString& AText, const QString& ACaption) override;
};
