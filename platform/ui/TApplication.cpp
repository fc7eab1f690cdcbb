#include "TApplication.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QWidget>
#include <cstdio>

#include "VirtualKeys.h"

TApplication* Application = nullptr;

TApplication::TApplication(TComponent* AOwner)
    : TComponent(AOwner) {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

TApplication::~TApplication() {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

namespace {
Exception CurrentException() {
    try {
        throw;
    } catch (const Exception& E) {
        return E;
    } catch (const std::exception& E) {
        return Exception(QString::fromLocal8Bit(E.what()));
    } catch (...) {
        return Exception(QStringLiteral("未知错误"));
    }
}
} // namespace

void TApplication::HandleException(QObject* ASender) {
    if (!std::current_exception())
        return;
    try {
        const Exception E = CurrentException();
        if (OnException)
            OnException(ASender, E);
        else
            ShowException(E);
    } catch (...) {
        // An error while reporting an error must not escape into the caller's
        // error path.
    }
}

void TApplication::ShowException(const Exception& E) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QMessageBox::critical(FMainWindow, FTitle.isEmpty() ? QStringLiteral("错误") : FTitle,
                              E.Message());
        return;
    }
    std::fprintf(stderr, "%s\n", E.Message().toUtf8().constData());
}

void TApplication::ProcessMessages() {
    QCoreApplication::processEvents();
}

bool TApplication::eventFilter(QObject* AWatched, QEvent* AEvent) {
    // Only the platform's current application object runs the hook, so a
    // saved application object stays quiet while a host's stands in for it.
    if (this == Application && OnMessage && DispatchMessage(AWatched, AEvent))
        return true;
    return TComponent::eventFilter(AWatched, AEvent);
}

bool TApplication::DispatchMessage(QObject* AReceiver, QEvent* AEvent) {
    auto* Window = qobject_cast<QWidget*>(AReceiver);
    if (!Window)
        return false;
    TMsg Msg;
    Msg.Window = Window;
    Msg.Event = AEvent;
    switch (AEvent->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* Key = static_cast<QKeyEvent*>(AEvent);
        Msg.Message = AEvent->type() == QEvent::KeyPress ? WM_KEYDOWN : WM_KEYUP;
        Msg.WParam = static_cast<quintptr>(VirtualKeyFromQt(Key->key()));
        Msg.Modifiers = Key->modifiers();
        break;
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* Mouse = static_cast<QMouseEvent*>(AEvent);
        const bool Left = Mouse->button() == Qt::LeftButton;
        const bool Right = Mouse->button() == Qt::RightButton;
        if (AEvent->type() == QEvent::MouseMove)
            Msg.Message = WM_MOUSEMOVE;
        else if (AEvent->type() == QEvent::MouseButtonPress)
            Msg.Message = Left ? WM_LBUTTONDOWN : Right ? WM_RBUTTONDOWN : 0;
        else if (AEvent->type() == QEvent::MouseButtonRelease)
            Msg.Message = Left ? WM_LBUTTONUP : Right ? WM_RBUTTONUP : 0;
        else
            Msg.Message = Left ? WM_LBUTTONDBLCLK : 0;
        const QPoint Pos = Mouse->position().toPoint();
        Msg.LParam = static_cast<qintptr>((Pos.x() & 0xFFFF) | ((Pos.y() & 0xFFFF) << 16));
        Msg.Modifiers = Mouse->modifiers();
        break;
    }
    default:
        return false;
    }
    if (Msg.Message == 0 || FDispatched.IsRepeat(Window, AEvent))
        return false;
    bool Handled = false;
    OnMessage(Msg, Handled);
    return Handled;
}
