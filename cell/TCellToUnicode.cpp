#include "TCellToUnicode.h"

#include <cctype>

namespace {

// One token of a CMap section: a hex string, "[" or "]", or a word.
struct TToken {
    char Kind = 0; // '<', '[', ']', 'w', 0 at the end
    QByteArrayView Text;
};

TToken NextToken(QByteArrayView AText, qsizetype& APos) {
    while (APos < AText.size() && std::isspace(static_cast<unsigned char>(AText[APos])))
        ++APos;
    if (APos >= AText.size())
        return {};
    const char First = AText[APos];
    if (First == '[' || First == ']')
        return {First, AText.sliced(APos++, 1)};
    if (First == '<') {
        const qsizetype End = AText.indexOf('>', APos);
        if (End < 0)
            return {};
        const TToken Token{'<', AText.sliced(APos + 1, End - APos - 1)};
        APos = End + 1;
        return Token;
    }
    const qsizetype Start = APos;
    while (APos < AText.size() && !std::isspace(static_cast<unsigned char>(AText[APos])) &&
           AText[APos] != '<' && AText[APos] != '[')
        ++APos;
    return {'w', AText.sliced(Start, APos - Start)};
}

// Four hex digits as a number; false for anything else.
bool HexWord(QByteArrayView AText, quint16& AValue) {
    if (AText.size() != 4)
        return false;
    AValue = 0;
    for (const char Digit : AText) {
        const int Value = Digit >= '0' && Digit <= '9'   ? Digit - '0'
                          : Digit >= 'A' && Digit <= 'F' ? Digit - 'A' + 10
                          : Digit >= 'a' && Digit <= 'f' ? Digit - 'a' + 10
                                                         : -1;
        if (Value < 0)
            return false;
        AValue = static_cast<quint16>(AValue * 16 + Value);
    }
    return true;
}

// A glyph code: exactly two bytes.
bool Code(const TToken& AToken, quint16& ACode) {
    return AToken.Kind == '<' && HexWord(AToken.Text, ACode);
}

// Characters as UTF-16 code units, four hex digits each.
bool Characters(const TToken& AToken, QString& AText) {
    if (AToken.Kind != '<' || AToken.Text.isEmpty() || AToken.Text.size() % 4 != 0)
        return false;
    AText.clear();
    for (qsizetype I = 0; I < AToken.Text.size(); I += 4) {
        quint16 Unit = 0;
        if (!HexWord(AToken.Text.sliced(I, 4), Unit))
            return false;
        AText += QChar(Unit);
    }
    return true;
}

} // namespace

QByteArray TCellToUnicode::Hex(const QString& AText) {
    QByteArray Result;
    Result.reserve(4 * AText.size());
    for (const QChar Char : AText)
        Result += QByteArray::number(Char.unicode(), 16).toUpper().rightJustified(4, '0');
    return Result;
}

bool TCellToUnicode::ReadSection(QByteArrayView ASection, bool ARanges) {
    qsizetype Pos = 0;
    for (TToken Token = NextToken(ASection, Pos); Token.Kind != 0;
         Token = NextToken(ASection, Pos)) {
        quint16 Low = 0, High = 0;
        if (!Code(Token, Low))
            return false;
        // A range runs upwards; a reversed one is no map this reader knows.
        if (ARanges && (!Code(NextToken(ASection, Pos), High) || High < Low))
            return false;
        if (!ARanges)
            High = Low;
        TToken Target = NextToken(ASection, Pos);
        QString Text;
        if (Target.Kind == '[') {
            for (quint32 Glyph = Low; Glyph <= High; ++Glyph) {
                if (!Characters(NextToken(ASection, Pos), Text))
                    return false;
                FEntries[static_cast<quint16>(Glyph)] = Text;
            }
            if (NextToken(ASection, Pos).Kind != ']')
                return false;
            continue;
        }
        if (!Characters(Target, Text))
            return false;
        // A range of consecutive characters: the last code unit counts up.
        for (quint32 Glyph = Low; Glyph <= High; ++Glyph) {
            FEntries[static_cast<quint16>(Glyph)] = Text;
            Text.back() = QChar(Text.back().unicode() + 1);
        }
    }
    return true;
}

bool TCellToUnicode::Read(QByteArrayView ACMap) {
    FEntries.clear();
    qsizetype First = -1, Last = -1, Pos = 0;
    for (;;) {
        const qsizetype Char = ACMap.indexOf("beginbfchar", Pos);
        const qsizetype Range = ACMap.indexOf("beginbfrange", Pos);
        if (Char < 0 && Range < 0)
            break;
        const bool Ranges = Char < 0 || (Range >= 0 && Range < Char);
        const qsizetype Begin = Ranges ? Range : Char;
        const QByteArrayView EndWord = Ranges ? "endbfrange" : "endbfchar";
        const qsizetype Body = Begin + (Ranges ? 12 : 11);
        const qsizetype End = ACMap.indexOf(EndWord, Body);
        if (End < 0 || !ReadSection(ACMap.sliced(Body, End - Body), Ranges))
            return false;
        // The count before the keyword belongs to the section.
        qsizetype Start = ACMap.lastIndexOf('\n', Begin);
        Start = Start < 0 ? 0 : Start + 1;
        if (First < 0)
            First = Start;
        Last = End + EndWord.size();
        Pos = Last;
    }
    if (First < 0)
        return false;
    FHead = ACMap.first(First).toByteArray();
    FTail = ACMap.sliced(Last).toByteArray();
    return true;
}

// At most 100 entries a section, as the CMap format asks.
QByteArray TCellToUnicode::Written() const {
    QByteArray Body;
    auto Entry = FEntries.begin();
    while (Entry != FEntries.end()) {
        QByteArray Lines;
        int Count = 0;
        for (; Entry != FEntries.end() && Count < 100; ++Entry, ++Count)
            Lines += '<' + QByteArray::number(Entry->first, 16).toUpper().rightJustified(4, '0') +
                     "> <" + Hex(Entry->second) + ">\n";
        Body += QByteArray::number(Count) + " beginbfchar\n" + Lines + "endbfchar\n";
    }
    return FHead + Body + FTail.mid(FTail.startsWith('\n') ? 1 : 0);
}
