#include "TCellGlyphShare.h"

#include <QRawFont>
#include <QtEndian>
#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

namespace {

quint16 Word(const QByteArray& ATable, qsizetype AOffset) {
    if (AOffset < 0 || AOffset + 2 > ATable.size())
        return 0;
    return qFromBigEndian<quint16>(ATable.constData() + AOffset);
}

// A name record's text: UTF-16BE on the Windows and Unicode platforms,
// single bytes on the Macintosh one.
QByteArray NameText(const QByteArray& ATable, quint16 APlatform, qsizetype AOffset, int ALength) {
    if (AOffset < 0 || ALength < 0 || AOffset + ALength > ATable.size())
        return {};
    const QByteArray Raw = ATable.mid(AOffset, ALength);
    if (APlatform == 1)
        return Raw;
    QByteArray Result;
    for (qsizetype I = 0; I + 1 < Raw.size(); I += 2)
        Result += Raw[I + 1];
    return Result;
}

} // namespace

bool TCellGlyphShare::IsIdeograph(char32_t AChar) {
    return (AChar >= 0x4E00 && AChar <= 0x9FFF) || (AChar >= 0x3400 && AChar <= 0x4DBF);
}

QByteArray TCellGlyphShare::PostScriptName(const QByteArray& ANameTable) {
    const int Count = Word(ANameTable, 2);
    const int Strings = Word(ANameTable, 4);
    for (int I = 0; I < Count; ++I) {
        const qsizetype Record = 6 + 12 * I;
        const quint16 Platform = Word(ANameTable, Record);
        if (Word(ANameTable, Record + 6) != 6 || Platform == 2)
            continue;
        QByteArray Name = NameText(ANameTable, Platform, Strings + Word(ANameTable, Record + 10),
                                   Word(ANameTable, Record + 8));
        if (!Name.isEmpty())
            return Name.replace(' ', '_');
    }
    return {};
}

const TCellGlyphShare& TCellGlyphShare::Of(const QRawFont& AFace) {
    static std::mutex Lock;
    static std::map<QByteArray, std::unique_ptr<TCellGlyphShare>> Faces;
    const QByteArray Name = PostScriptName(AFace.fontTable("name"));
    const std::lock_guard<std::mutex> Guard(Lock);
    auto& Slot = Faces[Name];
    if (!Slot)
        Slot = std::make_unique<TCellGlyphShare>(AFace);
    return *Slot;
}

TCellGlyphShare::TCellGlyphShare(const QRawFont& AFace)
    : FName(PostScriptName(AFace.fontTable("name"))) {
    // Surrogate code units are no characters; they stand in as U+0000.
    std::vector<QChar> Chars(65536);
    for (int Code = 0; Code < 65536; ++Code)
        Chars[Code] = QChar::isSurrogate(Code) ? QChar() : QChar(Code);
    std::vector<quint32> Glyphs(65536);
    int Count = 65536;
    if (!AFace.glyphIndexesForChars(Chars.data(), 65536, Glyphs.data(), &Count) || Count != 65536)
        return;
    std::vector<std::uint64_t> GlyphChars;
    GlyphChars.reserve(65536);
    for (int Code = 1; Code < 65536; ++Code)
        if (Glyphs[Code] != 0 && !QChar::isSurrogate(Code))
            GlyphChars.push_back(std::uint64_t(Glyphs[Code]) << 16 | std::uint64_t(Code));
    Group(GlyphChars);
}

// Sorted by glyph, characters of one glyph stand together, lowest first.
void TCellGlyphShare::Group(std::vector<std::uint64_t>& AGlyphChars) {
    std::sort(AGlyphChars.begin(), AGlyphChars.end());
    for (size_t First = 0; First < AGlyphChars.size();) {
        size_t End = First + 1;
        while (End < AGlyphChars.size() && AGlyphChars[End] >> 16 == AGlyphChars[First] >> 16)
            ++End;
        if (End - First > 1) {
            std::vector<char16_t> Class;
            for (size_t I = First; I < End; ++I)
                Class.push_back(static_cast<char16_t>(AGlyphChars[I] & 0xFFFF));
            const bool HasIdeograph = std::any_of(Class.begin(), Class.end(), IsIdeograph);
            for (const char16_t Char : Class) {
                FShared[Char] = true;
                FTwin[Char] = HasIdeograph && !IsIdeograph(Char);
                FClassOf.emplace(Char, static_cast<int>(FClasses.size()));
            }
            FClasses.push_back(std::move(Class));
        }
        First = End;
    }
}

const std::vector<char16_t>& TCellGlyphShare::Sharing(char16_t AChar) const {
    static const std::vector<char16_t> None;
    const auto Found = FClassOf.find(AChar);
    return Found == FClassOf.end() ? None : FClasses[Found->second];
}
