#include "TForm.h"

#include "TApplication.h"
#include "TMainMenu.h"
#include "TScreen.h"
#include "VirtualKeys.h"
#include "platform/Exception.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {
const char* const FormProperty = "varnholt.form";
}

TForm::TForm(TComponent* AOwner)
    : TWinControl(AOwner) {
    QWidget* W = Widget();
    W->setProperty(FormProperty, QVariant::fromValue(static_cast<QObject*>(this)));
    W->setAttribute(Qt::WA_DeleteOnClose, false);
    W->installEventFilter(this);
    auto* Layout = new QVBoxLayout(W);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);
}

TForm::~TForm() {
    if (FSubWindow) {
        // The sub-window deletes the form's widget with itself.
        FSubWindow->removeEventFilter(this);
        delete FSubWindow.data();
    }
}

TForm* TForm::FromWidget(const QWidget* AWidget) {
    if (auto* Sub = qobject_cast<const QMdiSubWindow*>(AWidget))
        AWidget = Sub->widget();
    for (const QWidget* W = AWidget; W; W = W->parentWidget()) {
        const QVariant Value = W->property(FormProperty);
        if (Value.isValid())
            return qobject_cast<TForm*>(Value.value<QObject*>());
    }
    return nullptr;
}

QString TForm::Caption() const {
    return Widget() ? Widget()->windowTitle() : QString();
}

void TForm::SetCaption(const QString& ACaption) {
    if (Widget())
        Widget()->setWindowTitle(ACaption);
}

void TForm::SetWindowState(TWindowState AState) {
    FWindowState = AState;
    QWidget* Frame = FrameWidget();
    if (!Frame || !Frame->isVisible())
        return;
    switch (AState) {
    case TWindowState::wsNormal:
        Frame->showNormal();
        break;
    case TWindowState::wsMinimized:
        Frame->showMinimized();
        break;
    case TWindowState::wsMaximized:
        Frame->showMaximized();
        break;
    }
}

void TForm::SetKeyPreview(bool AValue) {
    if (FKeyPreview == AValue)
        return;
    FKeyPreview = AValue;
    if (!qApp)
        return;
    if (AValue)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

void TForm::SetBorderIcons(bool AMinimize, bool AMaximize) {
    QWidget* W = Widget();
    W->setWindowFlag(Qt::WindowMinimizeButtonHint, AMinimize);
    W->setWindowFlag(Qt::WindowMaximizeButtonHint, AMaximize);
}

void TForm::SetMenu(TMainMenu* AMenu) {
    FMenu = AMenu;
}

void TForm::SetModalResult(TModalResult AValue) {
    FModalResult = AValue;
    if (FModalLoop && AValue != mrNone)
        FModalLoop->quit();
}

QWidget* TForm::FrameWidget() const {
    if (FSubWindow)
        return FSubWindow.data();
    return Widget();
}

void TForm::AfterConstruction() {
    TWinControl::AfterConstruction();
    FormCreate();
}

void TForm::BeforeDestruction() {
    if (FKeyPreview && qApp)
        qApp->removeEventFilter(this);
    FormDestroy();
    TWinControl::BeforeDestruction();
}

void TForm::Show() {
    if (FReleasing)
        return;
    const bool WasVisible = FrameWidget() && FrameWidget()->isVisible();
    QMdiArea* Area = Application ? Application->MdiArea() : nullptr;
    if (FFormStyle == TFormStyle::fsMDIChild && Area)
        ShowInMdiArea();
    else
        ShowTopLevel();
    if (WasVisible) {
        FrameWidget()->raise();
        FrameWidget()->activateWindow();
    }
}

void TForm::ShowInMdiArea() {
    QMdiArea* Area = Application->MdiArea();
    if (!FSubWindow) {
        const QRect Designed = Widget()->geometry();
        FSubWindow = Area->addSubWindow(Widget());
        FSubWindow->setAttribute(Qt::WA_DeleteOnClose, false);
        FSubWindow->setGeometry(Designed);
    }
    if (!FSubWindow->isVisible()) {
        PlaceOnFirstShow();
        DoShow();
        Widget()->show();
        if (FWindowState == TWindowState::wsMaximized)
            FSubWindow->showMaximized();
        else if (FWindowState == TWindowState::wsMinimized)
            FSubWindow->showMinimized();
        else
            FSubWindow->show();
    }
    Area->setActiveSubWindow(FSubWindow);
}

void TForm::ShowTopLevel() {
    QWidget* W = Widget();
    if (FMenu && W->layout() && !W->layout()->menuBar())
        W->layout()->setMenuBar(FMenu->MenuBar());
    if (W->isVisible())
        return;
    PlaceOnFirstShow();
    DoShow();
    if (FWindowState == TWindowState::wsMaximized)
        W->showMaximized();
    else
        W->show();
}

void TForm::PlaceOnFirstShow() {
    if (FPlaced)
        return;
    FPlaced = true;
    if (FPosition != TPosition::poScreenCenter && FPosition != TPosition::poDesktopCenter)
        return;
    if (!Screen)
        return;
    SetBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(),
              Height());
}

void TForm::DoShow() {
    FormShow();
}

void TForm::Hide() {
    if (QWidget* Frame = FrameWidget())
        Frame->hide();
}

TModalResult TForm::ShowModal() {
    if (Visible() || IsModal())
        throw EInvalidOperation(QStringLiteral("不能将可见窗口设为模态窗口"));
    QWidget* W = Widget();
    QPointer<TForm> Guard(this);
    QEventLoop Loop;
    FModalLoop = &Loop;
    FModalResult = mrNone;
    W->setWindowFlag(Qt::Dialog, true);
    W->setWindowModality(Qt::ApplicationModal);
    ShowTopLevel();
    TCloseAction Action = TCloseAction::caHide;
    for (;;) {
        if (FModalResult == mrNone)
            Loop.exec(QEventLoop::DialogExec);
        if (!Guard)
            return mrCancel;
        if (FModalResult == mrNone)
            continue;
        bool CanClose = true;
        FormCloseQuery(CanClose);
        Action = TCloseAction::caHide;
        if (CanClose)
            FormClose(Action);
        if (!CanClose || Action == TCloseAction::caNone) {
            FModalResult = mrNone;
            continue;
        }
        break;
    }
    FModalLoop = nullptr;
    W->hide();
    W->setWindowModality(Qt::NonModal);
    const TModalResult Result = FModalResult;
    if (Action == TCloseAction::caFree)
        Release();
    return Result;
}

TCloseAction TForm::DefaultCloseAction() const {
    if (FFormStyle != TFormStyle::fsMDIChild)
        return TCloseAction::caHide;
    const bool CanMinimize = Widget()->windowFlags().testFlag(Qt::WindowMinimizeButtonHint);
    return CanMinimize ? TCloseAction::caMinimize : TCloseAction::caNone;
}

void TForm::Close() {
    if (FReleasing)
        return;
    if (IsModal()) {
        SetModalResult(mrCancel);
        return;
    }
    bool CanClose = true;
    FormCloseQuery(CanClose);
    if (!CanClose)
        return;
    TCloseAction Action = DefaultCloseAction();
    FormClose(Action);
    switch (Action) {
    case TCloseAction::caNone:
        break;
    case TCloseAction::caHide:
        Hide();
        break;
    case TCloseAction::caFree:
        Release();
        break;
    case TCloseAction::caMinimize:
        FrameWidget()->showMinimized();
        break;
    }
}

void TForm::Release() {
    if (FReleasing)
        return;
    FReleasing = true;
    Hide();
    QMetaObject::invokeMethod(
        this, [this] { Free(); }, Qt::QueuedConnection);
}

void TForm::SelectNext(bool AForward) {
    QWidget* Current = QApplication::focusWidget();
    if (!Current || !Widget()->isAncestorOf(Current))
        Current = Widget();
    QWidget* Next = Current;
    do {
        Next = AForward ? Next->nextInFocusChain() : Next->previousInFocusChain();
    } while (Next && Next != Current &&
             !(Widget()->isAncestorOf(Next) && Next->isEnabled() && Next->isVisible() &&
               (Next->focusPolicy() & Qt::TabFocus)));
    if (Next && Next != Current)
        Next->setFocus(AForward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

bool TForm::eventFilter(QObject* AWatched, QEvent* AEvent) {
    if (AWatched == Widget() && AEvent->type() == QEvent::Close) {
        AEvent->ignore();
        Close();
        return true;
    }
    if (FKeyPreview && AEvent->type() == QEvent::KeyPress && HandleKeyPreview(AWatched, AEvent))
        return true;
    return TWinControl::eventFilter(AWatched, AEvent);
}

// The form sees a key before the control that has it, once, however far an
// ignored key travels on to the control's parents.
bool TForm::HandleKeyPreview(QObject* AReceiver, QEvent* AEvent) {
    auto* Receiver = qobject_cast<QWidget*>(AReceiver);
    QWidget* W = Widget();
    if (!Receiver || !(Receiver == W || W->isAncestorOf(Receiver)))
        return false;
    if (FPreviewed.IsRepeat(Receiver, AEvent))
        return false;
    auto* KeyEvent = static_cast<QKeyEvent*>(AEvent);
    int Key = VirtualKeyFromQt(KeyEvent->key());
    FormKeyDown(Key, KeyEvent->modifiers());
    if (Key == 0)
        return true;
    const QChar Original = CharFromKeyEvent(KeyEvent);
    if (Original.isNull())
        return false;
    QChar Char = Original;
    FormKeyPress(Char);
    // A handler that replaced or cleared the character has taken the key.
    return Char != Original;
}
