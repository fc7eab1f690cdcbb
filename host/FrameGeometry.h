#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

// Where the host's frame goes on a screen whose free area (without panels
// and task bars) is AAvailable: APreferred when it fits with the window
// system's decoration ADecoration around it, otherwise as much as fits;
// centred in the free area. The result is the frame's inside, as
// QWidget::setGeometry takes it.
QRect FrameGeometry(const QSize& APreferred, const QRect& AAvailable, const QMargins& ADecoration);
