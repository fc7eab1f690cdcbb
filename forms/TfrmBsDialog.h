#pragma once

#include "TfrmBase.h"

// Base of the modal dialogs: Enter moves to the next field, Escape cancels.
class TfrmBsDialog : public TfrmBase {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TfrmBsDialog(TComponent* AOwner = nullptr);
    ~TfrmBsDialog() override;

    bool EnterAsTab() const { return FEnterAsTab; }
    void SetEnterAsTab(bool AValue) { FEnterAsTab = AValue; }

protected:
    void FormCreate() override;
    void FormKeyPress(QChar& Key) override;
    void FormKeyDown(int& Key, Qt::KeyboardModifiers Shift) override;

private:
    bool FEnterAsTab = false;
};
