#pragma once

// How wide the unit tree's pane opens, for a window whose two panes share
// ATotal pixels (the handle between them not counted).
//
// A width the user dragged to (ASaved, 0 when there is none) comes back only
// while it leaves the grid GridRoom pixels: a pane widened in a maximized
// window must not squeeze the grid of a smaller one. Otherwise the pane is
// as wide as the names in view need (ANamesWidth), but never narrower than
// its designed width nor wider than half the window or than leaves the grid
// its room; the tool tips give the names that are still cut.
namespace TreePane {

// The designed width, and the narrowest the filter lists allow.
inline constexpr int DesignedWidth = 217;
inline constexpr int MinimumWidth = 205;
// The grid shows the columns that say what a row is (the summary's fund
// nature and subject, the detail's unit and subject codes) and the first
// amounts.
inline constexpr int GridRoom = 480;

int OpeningWidth(int ATotal, int ASaved, int ANamesWidth);

} // namespace TreePane
