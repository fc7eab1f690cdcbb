#pragma once

#include "TCellGlyphShare.h"

#include <QFont>

// The faces a sheet font draws with. Its main face is the one Qt takes for
// Chinese text in that font. Characters that the main face draws with an
// ideograph's glyph (radicals, compatibility ideographs) are drawn with a
// twin face: another region's face of the same Noto CJK family, the one
// that draws most of them alike. Qt's PDF writer makes one embedded font
// per face, so a text that really holds a radical and one that holds its
// ideograph end up in different fonts, and the text layer can name both.
//
// The faces' readings are shared by the whole process; the twin is looked
// for only when a text first needs it, and once per main face.
class TCellTextFaces {
public:
    explicit TCellTextFaces(const QFont& AFont);

    const QFont& Font() const { return FFont; }
    const TCellGlyphShare& Main() const { return *FMain; }
    // The twin face and the font that selects it; nothing when the family
    // has no other face installed (the twins then stay in the main face).
    const TCellGlyphShare* Twin();
    const QFont& TwinFont();

private:
    QFont FFont;
    const TCellGlyphShare* FMain;
    bool FTwinSought = false;
    const TCellGlyphShare* FTwin = nullptr;
    QFont FTwinFont;
};
