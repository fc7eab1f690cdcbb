#pragma once

#include "TFormTypes.h"
#include "TInputPropagation.h"
#include "TWinControl.h"

#include <QChar>
#include <QPointer>

class QEventLoop;
#include <QMdiSubWindow>
class TMainMenu;

// A window. Child forms go into the application's MDI area when it has one
// and are top-level windows otherwise; ShowModal runs a local event loop.
//
// The creation, show, close, destroy and key handlers are virtual functions;
// a class that overrides one without calling the base replaces it, so a
// derived window decides whether the base's handling runs at all.
class PLATFORM_EXPORT TForm : public TWinControl {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TForm(TComponent* AOwner = nullptr);
    ~TForm() override;

    static TForm* FromWidget(const QWidget* AWidget);

    QString Caption() const;
    void SetCaption(const QString& ACaption);

    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle AStyle) { FFormStyle = AStyle; }
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition APosition) { FPosition = APosition; }
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState AState);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool AValue);
    void SetBorderIcons(bool AMinimize, bool AMaximize);

    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* AMenu);

    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult AValue);
    bool IsModal() const { return FModalLoop != nullptr; }

    void Show();
    void Hide();
    TModalResult ShowModal();
    // Asks the form to close; what happens is decided by FormClose's action.
    void Close();
    // Frees the form once the current event handler has returned.
    void Release();
    // Moves the focus to the next (or previous) control in tab order.
    void SelectNext(bool AForward = true);

    QMdiSubWindow* MdiSubWindow() const { return FSubWindow.data(); }

    void AfterConstruction() override;
    void BeforeDestruction() override;

protected:
    virtual void FormCreate() {}
    virtual void FormShow() {}
    virtual void FormClose(TCloseAction& /*Action*/) {}
    virtual void FormCloseQuery(bool& /*CanClose*/) {}
    virtual void FormDestroy() {}
    virtual void FormKeyDown(int& /*Key*/, Qt::KeyboardModifiers /*Shift*/) {}
    virtual void FormKeyPress(QChar& /*Key*/) {}

    QWidget* FrameWidget() const override;
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

private:
    void ShowInMdiArea();
    void ShowTopLevel();
    void PlaceOnFirstShow();
    void DoShow();
    TCloseAction DefaultCloseAction() const;
    bool HandleKeyPreview(QObject* AReceiver, QEvent* AEvent);
    void EndModal();

    TFormStyle FFormStyle = TFormStyle::fsNormal;
    TPosition FPosition = TPosition::poDefaultPosOnly;
    TWindowState FWindowState = TWindowState::wsNormal;
    bool FKeyPreview = false;
    bool FPlaced = false;
    bool FReleasing = false;
    TMainMenu* FMenu = nullptr;
    TModalResult FModalResult = mrNone;
    QEventLoop* FModalLoop = nullptr;
    QPointer<QMdiSubWindow> FSubWindow;
    // A key is previewed once, for the control it was aimed at.
    TInputPropagation FPreviewed;
};
