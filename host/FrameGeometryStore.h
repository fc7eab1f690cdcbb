#pragma once

#include "FrameGeometry.h"

#include <optional>

class QWidget;

// The frame's state kept for the user who closed it: in the per-user store
// (see docs/settings-storage.md), key "Software\Varnholt", section "Host",
// value "Frame", as FrameStateText writes it.

// Nothing when none is kept, or the store or the text cannot be read: the
// frame then opens at its preferred size.
std::optional<TFrameState> ReadFrameState();
// Raises when the store cannot be written.
void WriteFrameState(const TFrameState& AState);

// The state of a top-level window, and a window not yet shown put into one.
TFrameState CaptureFrameState(const QWidget& AWindow);
void ApplyFrameState(QWidget& AWindow, const TFrameState& AState);
