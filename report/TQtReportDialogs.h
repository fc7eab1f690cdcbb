#pragma once

#include "TReportDialogs.h"

// The dialogs a user answers: Qt's file and folder dialogs, message boxes.
class TQtReportDialogs : public TReportDialogs {
public:
    int RunDialog(QDialog& ADialog) override;
    bool RunSaveDialog(QFileDialog& ADialog, QString& AFileName) override;
    bool ChooseFolder(QWidget* AParent, const QString& ATitle, QString& AFolder) override;
    TModalResult ShowModalForm(TForm& AForm) override;
    void MessageBox(QWidget* AParent, const QString& AText, const QString& ACaption,
                    int AFlags) override;
};
