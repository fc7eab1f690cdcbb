#pragma once

#include "platform/TComponent.h"

#include <QPointer>
#include <QWidget>

class TWinControl;

// A visual component standing on one QWidget, which it owns.
class PLATFORM_EXPORT TControl : public TComponent {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TControl(TComponent* AOwner = nullptr);
    ~TControl() override;

    QWidget* Widget() const { return FWidget.data(); }

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int AValue);
    void SetTop(int AValue);
    void SetWidth(int AValue);
    void SetHeight(int AValue);
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

    bool Visible() const;
    void SetVisible(bool AValue);

protected:
    // Takes ownership of the widget that stands for this control.
    void SetWidget(QWidget* AWidget);
    // The widget whose geometry Left/Top/Width/Height describe (a form inside
    // an MDI area is framed by its sub-window).
    virtual QWidget* FrameWidget() const { return FWidget.data(); }

private:
    QPointer<QWidget> FWidget;
    TWinControl* FParent = nullptr;
};
