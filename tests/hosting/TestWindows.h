#pragma once

#include "forms/TfrmBsCld.h"
#include "forms/TfrmBsDialog.h"

#include <functional>

// A child window whose destruction handler can run a test's code.
class TestChild : public TfrmBsCld {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TestChild(TComponent* AOwner = nullptr);
    std::function<void()> OnDestroy;

protected:
    void FormDestroy() override;
};

// A dialog with two fields, for focus and key handling.
class TestDialog : public TfrmBsDialog {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TestDialog(TComponent* AOwner = nullptr);
    QWidget* First = nullptr;
    QWidget* Second = nullptr;
};

// A component whose construction fails.
class FailingComponent : public TComponent {
    Q_OBJECT
public:
    Q_INVOKABLE explicit FailingComponent(TComponent* AOwner = nullptr);
};
