#pragma once

#include "TControl.h"

// A control that can hold other controls inside its widget.
class PLATFORM_EXPORT TWinControl : public TControl {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TWinControl(TComponent* AOwner = nullptr);
    ~TWinControl() override;
};
