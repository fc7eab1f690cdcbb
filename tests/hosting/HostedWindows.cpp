#include "HostedWindows.h"

#include "platform/Exception.h"

HostedWindow::HostedWindow(TComponent* AOwner)
    : TForm(AOwner) {}

void HostedWindow::FormCreate() {
    ++Creates;
}

void HostedWindow::FormDestroy() {
    if (OnDestroy)
        OnDestroy();
}

HostedSubWindow::HostedSubWindow(TComponent* AOwner)
    : HostedWindow(AOwner) {}

FailingComponent::FailingComponent(TComponent* AOwner)
    : TComponent(AOwner) {
    throw Exception(QStringLiteral("construction failed"));
}
