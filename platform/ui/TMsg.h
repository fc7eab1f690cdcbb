#pragma once

#include <QtCore/qnamespace.h>
#include <QtGlobal>

class QEvent;
class QWidget;

// Message numbers of the input messages the application's message hook sees.
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_RBUTTONUP = 0x0205;

// One input message as the application's OnMessage hook receives it: the
// window it is addressed to, its number, the virtual key (keys) and the
// client position packed as low word x, high word y (mouse).
struct TMsg {
    QWidget* Window = nullptr;
    unsigned Message = 0;
    quintptr WParam = 0;
    qintptr LParam = 0;
    Qt::KeyboardModifiers Modifiers;
    QEvent* Event = nullptr;
};
