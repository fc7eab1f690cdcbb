#pragma once

#include "forms/TfrmBsDialog.h"

#include <QString>

class QCheckBox;
class QPushButton;
class TRadioGroup;

// 导出设置: the export preferences, kept in the section "bwnCorrandel" of the
// host's INI file: which units an export covers ("expType") and whether the
// dialog comes before every export ("ShowSaveExpSet"). OK stores both;
// Escape leaves the store as it was.
class TfrmPrintExpSet : public TfrmBsDialog {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TfrmPrintExpSet(TComponent* AOwner = nullptr);
    ~TfrmPrintExpSet() override;

    TRadioGroup* rgExpSet = nullptr;
    QCheckBox* chkbShowDlg = nullptr;
    QPushButton* btnOK = nullptr;

    void btnOKClick();
    // Stores the dialog's choices; always true.
    bool SaveSettings();

    // The last values read or written.
    const QString& ShowSaveExpSet() const { return FShowSaveExpSet; }
    const QString& ExpType() const { return FExpType; }

protected:
    void FormShow() override;

private:
    QString FShowSaveExpSet;
    QString FExpType;
};
