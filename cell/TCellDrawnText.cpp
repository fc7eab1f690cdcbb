#include "TCellDrawnText.h"

#include "TCellGlyphShare.h"

TCellDrawnText::TCellDrawnText() = default;
TCellDrawnText::~TCellDrawnText() = default;

TCellDrawnText::TFace& TCellDrawnText::Slot(const TCellGlyphShare& AFace) {
    if (FLast < FFaces.size() && FFaces[FLast].Face == &AFace)
        return FFaces[FLast];
    for (FLast = 0; FLast < FFaces.size(); ++FLast)
        if (FFaces[FLast].Face == &AFace)
            return FFaces[FLast];
    FFaces.push_back({&AFace, std::make_unique<std::bitset<65536>>()});
    return FFaces.back();
}

void TCellDrawnText::Note(const TCellGlyphShare& AFace, char16_t AChar) {
    if (AFace.IsShared(AChar))
        (*Slot(AFace).Chars)[AChar] = true;
}

char16_t TCellDrawnText::Drawn(QByteArrayView APostScriptName, char16_t ACode) const {
    for (const TFace& Entry : FFaces) {
        if (Entry.Face->PostScriptName() != APostScriptName)
            continue;
        char16_t Other = 0;
        for (const char16_t Char : Entry.Face->Sharing(ACode)) {
            if (!(*Entry.Chars)[Char])
                continue;
            if (TCellGlyphShare::IsIdeograph(Char))
                return Char;
            if (Other == 0 || Char == ACode)
                Other = Char;
        }
        return Other != 0 ? Other : ACode;
    }
    return ACode;
}
