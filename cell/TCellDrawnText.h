#pragma once

#include <QByteArrayView>
#include <bitset>
#include <memory>
#include <vector>

class TCellGlyphShare;

// What the pages drew, as far as a PDF's text layer needs to know it: for
// each face, the characters drawn that share their glyph with others. Qt's
// text map names the lowest character of each glyph; Drawn says which one
// the page really showed.
class TCellDrawnText {
public:
    TCellDrawnText();
    ~TCellDrawnText();
    TCellDrawnText(const TCellDrawnText&) = delete;
    TCellDrawnText& operator=(const TCellDrawnText&) = delete;

    // AChar was drawn with AFace; only characters it shares are kept.
    void Note(const TCellGlyphShare& AFace, char16_t AChar);
    // The character a PDF font of that PostScript name should name for the
    // glyph Qt mapped to ACode. When the face drew several characters with
    // that glyph (no twin face to keep them apart), an ideograph wins: far
    // more text holds the ideograph than its radical.
    char16_t Drawn(QByteArrayView APostScriptName, char16_t ACode) const;
    bool IsEmpty() const { return FFaces.empty(); }

private:
    struct TFace {
        const TCellGlyphShare* Face;
        std::unique_ptr<std::bitset<65536>> Chars;
    };
    TFace& Slot(const TCellGlyphShare& AFace);

    std::vector<TFace> FFaces;
    size_t FLast = 0; // the face noted last: most notes go to the same one
};
