#pragma once

#include <QFont>
#include <vector>

class TCell;
class TCellSheet;

// A sheet's fonts (each plain and bold) as fonts of their own, not shared
// with the sheet. Qt keeps the font engines a font has loaded with the font
// and drops them when another thread uses it, so two threads drawing one
// sheet each draw with a set of their own.
class TCellFonts {
public:
    explicit TCellFonts(const TCellSheet& ASheet);

    // The font a cell is drawn in: its font, bold when the cell is.
    const QFont& CellFont(const TCell& ACell) const;
    const QFont& Font(int AIndex) const;

private:
    std::vector<QFont> FPlain;
    std::vector<QFont> FBold;
};
