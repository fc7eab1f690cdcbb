#pragma once

#include "platform/TComponent.h"

#include <QSize>
#include <optional>

enum TCursor : int {
    crDefault = 0,
    crArrow = -2,
    crHourGlass = -11,
    crSQLWait = -17,
};

// The screen: its size in pixels and the application-wide cursor.
class PLATFORM_EXPORT TScreen : public TComponent {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TScreen(TComponent* AOwner = nullptr);
    ~TScreen() override;

    int Width() const;
    int Height() const;
    // Pins the reported size, for hosts that place windows on another
    // monitor's metrics and for tests.
    void SetSize(int AWidth, int AHeight);

    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor ACursor);

private:
    std::optional<QSize> FFixedSize;
    TCursor FCursor = crDefault;
    bool FOverriding = false;
};

// The platform's screen object. A plug-in swaps it for the host's.
extern PLATFORM_EXPORT TScreen* Screen;
