#pragma once

#include "platform/PlatformExport.h"

#include <QChar>

class QKeyEvent;

// Windows virtual-key codes for the keys the windows look at.
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70;

// The virtual-key code of a Qt key, or 0 for keys without one here.
PLATFORM_EXPORT int VirtualKeyFromQt(int AQtKey);

// The character a key press types, with Enter as carriage return (13), the
// value key-press handlers compare with; a null character for keys that type
// none.
PLATFORM_EXPORT QChar CharFromKeyEvent(const QKeyEvent* AEvent);
