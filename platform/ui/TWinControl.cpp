#include "TWinControl.h"

TWinControl::TWinControl(TComponent* AOwner)
    : TControl(AOwner) {
    SetWidget(new QWidget);
}

TWinControl::~TWinControl() = default;
