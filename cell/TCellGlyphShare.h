#pragma once

#include <QByteArray>
#include <bitset>
#include <unordered_map>
#include <vector>

class QRawFont;

// The characters one font face draws with the same glyph as another
// character. A PDF's text layer names one character per glyph of a font, and
// Qt names the lowest: a Kangxi radical before the ideograph that shares its
// glyph (U+2F40 for 支). Knowing the face's sharing, the printer can name the
// character that was drawn instead. The face's character map is read once,
// over the Basic Multilingual Plane: that is all Qt's PDF text map covers.
class TCellGlyphShare {
public:
    explicit TCellGlyphShare(const QRawFont& AFace);
    // The face's reading, made once per process and kept by PostScript name.
    static const TCellGlyphShare& Of(const QRawFont& AFace);

    // The face's PostScript name, as a PDF's font dictionaries name it.
    const QByteArray& PostScriptName() const { return FName; }
    bool IsShared(char16_t AChar) const { return FShared[AChar]; }
    // A character that is not an ideograph but is drawn with an ideograph's
    // glyph: a radical, a compatibility ideograph.
    bool IsIdeographTwin(char16_t AChar) const { return FTwin[AChar]; }
    // The characters drawn with AChar's glyph, AChar among them, lowest
    // first; empty when AChar shares its glyph with none.
    const std::vector<char16_t>& Sharing(char16_t AChar) const;

    // The unified ideographs of the Basic Multilingual Plane (the main block
    // and extension A).
    static bool IsIdeograph(char32_t AChar);
    // Name ID 6 of an OpenType 'name' table, blanks as '_' (as Qt writes it
    // into a PDF); empty when the table has none.
    static QByteArray PostScriptName(const QByteArray& ANameTable);

private:
    void Group(std::vector<std::uint64_t>& AGlyphChars);

    QByteArray FName;
    std::bitset<65536> FShared;
    std::bitset<65536> FTwin;
    std::unordered_map<char16_t, int> FClassOf; // index into FClasses
    std::vector<std::vector<char16_t>> FClasses;
};
