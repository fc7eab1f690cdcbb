#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

// Where the host's frame goes on a screen whose free area (without panels
// and task bars) is AAvailable: APreferred when it fits with the window
// system's decoration ADecoration around it, otherwise as much as fits;
// centred in the free area. The result is the frame's inside, as
// QWidget::setGeometry takes it.
QRect FrameGeometry(const QSize& APreferred, const QRect& AAvailable, const QMargins& ADecoration);

// What the frame was when the user last closed it: its place and size when
// not maximized (the frame's inside) and whether it was maximized.
struct TFrameState {
    QRect Normal;
    bool Maximized = false;
    bool operator==(const TFrameState& AOther) const {
        return Normal == AOther.Normal && Maximized == AOther.Maximized;
    }
};

// The state as the store keeps it: "left,top,width,height,maximized" or
// "...,normal".
QString FrameStateText(const TFrameState& AState);
// Nothing for a text that is not one (hand-edited, cut short), or whose
// size is not a frame's (empty, or wider or taller than FrameSizeLimit).
std::optional<TFrameState> ParseFrameState(const QString& AText);
inline constexpr int FrameSizeLimit = 100000;

// The state the frame opens in. A kept place comes back on the screen it
// lies most on, shrunk to that screen's free area and moved inside it
// where it reaches over an edge (a smaller screen, a changed resolution);
// a place on no screen that is left (a monitor unplugged), or none kept,
// gives the preferred size centred on the first screen (the primary).
// Maximized stays as it was kept.
TFrameState OpeningFrameState(const std::optional<TFrameState>& AKept,
                              const QList<QRect>& AAvailable, const QMargins& ADecoration,
                              const QSize& APreferred);
