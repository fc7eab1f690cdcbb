#include "TModalWatch.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <gtest/gtest.h>

namespace {

// The modal window on top. Qt does not always list a widget made modal
// before it is shown as the active modal one, so visible modal top-level
// widgets count too.
QWidget* OpenModalWindow() {
    if (QWidget* Active = QApplication::activeModalWidget())
        return Active;
    const QWidgetList Windows = QApplication::topLevelWidgets();
    for (QWidget* Window : Windows) {
        if (Window->isVisible() && Window->isModal())
            return Window;
    }
    return nullptr;
}

} // namespace

TModalWatch::TModalWatch(int APatienceMs)
    : FPatienceMs(APatienceMs) {
    connect(&FTimer, &QTimer::timeout, this, [this] { Check(); });
    FTimer.start(100);
}

void TModalWatch::Check() {
    QWidget* Modal = OpenModalWindow();
    if (Modal != FSeen) {
        FSeen = Modal;
        FSince.start();
        return;
    }
    if (!Modal || FSince.elapsed() < FPatienceMs)
        return;
    const auto* Box = qobject_cast<QMessageBox*>(Modal);
    ADD_FAILURE() << "a modal window waited for an answer: \"" << Modal->windowTitle().toStdString()
                  << "\" " << (Box ? Box->text().toStdString() : std::string());
    FSeen = nullptr;
    if (auto* Dialog = qobject_cast<QDialog*>(Modal))
        Dialog->reject();
    else
        Modal->close();
}
