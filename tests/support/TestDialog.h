#pragma once

#include "forms/TfrmBsDialog.h"

// A dialog with two fields, for focus, key handling and modal showing.
class TestDialog : public TfrmBsDialog {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TestDialog(TComponent* AOwner = nullptr);
    QWidget* First = nullptr;
    QWidget* Second = nullptr;
};
