#pragma once

#include "platform/ui/TForm.h"

#include <functional>

// A window as the window manager holds it; its destruction handler can run
// a test's code.
class HostedWindow : public TForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit HostedWindow(TComponent* AOwner = nullptr);
    std::function<void()> OnDestroy;
    int Creates = 0;

protected:
    void FormCreate() override;
    void FormDestroy() override;
};

// A second window class, derived from the first.
class HostedSubWindow : public HostedWindow {
    Q_OBJECT
public:
    Q_INVOKABLE explicit HostedSubWindow(TComponent* AOwner = nullptr);
};

// A component whose construction fails.
class FailingComponent : public TComponent {
    Q_OBJECT
public:
    Q_INVOKABLE explicit FailingComponent(TComponent* AOwner = nullptr);
};
