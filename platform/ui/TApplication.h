#pragma once

#include "TInputPropagation.h"
#include "TMsg.h"
#include "platform/Exception.h"
#include "platform/TComponent.h"

#include <QEvent>
#include <QPointer>
#include <functional>

#include <QMdiArea>
class QWidget;

// Hook through which an application's input messages pass before they reach
// their window. Installers keep the handler they found and call it after
// their own, and put it back when they go.
using TMessageEvent = std::function<void(TMsg& Msg, bool& Handled)>;
using TExceptionEvent = std::function<void(QObject* Sender, const Exception& E)>;

// The application object: owner of windows, central error reporting, the
// application-wide message hook and, in a multi-document host, the MDI area.
class PLATFORM_EXPORT TApplication : public TComponent {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TApplication(TComponent* AOwner = nullptr);
    ~TApplication() override;

    QString Title() const { return FTitle; }
    void SetTitle(const QString& ATitle) { FTitle = ATitle; }

    QMdiArea* MdiArea() const { return FMdiArea.data(); }
    void SetMdiArea(QMdiArea* AArea) { FMdiArea = AArea; }
    QWidget* MainWindow() const { return FMainWindow.data(); }
    void SetMainWindow(QWidget* AWindow) { FMainWindow = AWindow; }

    // Reports the exception being handled; call it inside a catch block. With
    // OnException set, that handler reports it; otherwise a message box shows
    // it (or, without a GUI, standard error does).
    void HandleException(QObject* ASender);
    void ShowException(const Exception& E);
    void ProcessMessages();

    TMessageEvent OnMessage;
    TExceptionEvent OnException;

protected:
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

private:
    bool DispatchMessage(QObject* AReceiver, QEvent* AEvent);

    QString FTitle;
    QPointer<QMdiArea> FMdiArea;
    QPointer<QWidget> FMainWindow;
    // The hook sees each input message once, for its first receiver.
    TInputPropagation FDispatched;
};

// The platform's application object. A plug-in swaps it for the host's.
extern PLATFORM_EXPORT TApplication* Application;
