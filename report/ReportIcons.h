#pragma once

#include <QIcon>
#include <QList>

// The report window's own small icon set, drawn rather than loaded, in one
// flat style: dark outlines, a few plain colours.

// The images of the tool bar and the menus, by index: 0 exit, 1 print,
// 2 print preview, 3 print set-up, 4 table, 5 workbook export.
QList<QIcon> ReportToolImages();

// The state images of a tree with check boxes, by index: 0 none, 1 empty,
// 2 checked, 3 grayed.
QList<QIcon> CheckStateImages();
