#include "TControl.h"

#include "TWinControl.h"

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner) {}

TControl::~TControl() {
    delete FWidget.data();
}

void TControl::SetWidget(QWidget* AWidget) {
    if (FWidget == AWidget)
        return;
    delete FWidget.data();
    FWidget = AWidget;
}

void TControl::SetParent(TWinControl* AParent) {
    FParent = AParent;
    if (FWidget)
        FWidget->setParent(AParent ? AParent->Widget() : nullptr);
}

// geometry(), not pos(): for a shown top-level window pos() is where its
// window-system frame starts, while SetBounds places the window itself.
int TControl::Left() const {
    return FrameWidget() ? FrameWidget()->geometry().x() : 0;
}
int TControl::Top() const {
    return FrameWidget() ? FrameWidget()->geometry().y() : 0;
}
int TControl::Width() const {
    return FrameWidget() ? FrameWidget()->width() : 0;
}
int TControl::Height() const {
    return FrameWidget() ? FrameWidget()->height() : 0;
}

void TControl::SetLeft(int AValue) {
    SetBounds(AValue, Top(), Width(), Height());
}
void TControl::SetTop(int AValue) {
    SetBounds(Left(), AValue, Width(), Height());
}
void TControl::SetWidth(int AValue) {
    SetBounds(Left(), Top(), AValue, Height());
}
void TControl::SetHeight(int AValue) {
    SetBounds(Left(), Top(), Width(), AValue);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (QWidget* Frame = FrameWidget())
        Frame->setGeometry(ALeft, ATop, AWidth, AHeight);
}

bool TControl::Visible() const {
    return FWidget && FWidget->isVisible();
}

void TControl::SetVisible(bool AValue) {
    if (FWidget)
        FWidget->setVisible(AValue);
}
