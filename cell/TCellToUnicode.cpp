#include "TCellToUnicode.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// A hex string of whole UTF-16 code units ("<652F>", "<D840DC00>") as its
// text; empty for anything else.
QString Units(const QString& AToken) {
    static const QRegularExpression Hex(QStringLiteral("^<((?:[0-9A-Fa-f]{4})+)>$"));
    const QString Digits = Hex.match(AToken).captured(1);
    QString Text;
    for (qsizetype At = 0; At < Digits.size(); At += 4)
        Text += QChar(Digits.mid(At, 4).toUShort(nullptr, 16));
    return Text;
}

// A glyph code: exactly two bytes.
bool Code(const QString& AToken, quint16& ACode) {
    const QString Text = Units(AToken);
    ACode = Text.size() == 1 ? Text[0].unicode() : 0;
    return Text.size() == 1;
}

// The entries of one section's tokens: a code (a range: its first and last
// code) and the characters, or for a range a list of them in brackets.
bool ReadSection(const QStringList& ATokens, bool ARanges, std::map<quint16, QString>& AEntries) {
    for (qsizetype At = 0; At < ATokens.size();) {
        quint16 Low = 0, High = 0;
        // A range runs upwards; a reversed one is no map this reader knows.
        if (!Code(ATokens[At++], Low) ||
            (ARanges && (!Code(ATokens.value(At++), High) || High < Low)))
            return false;
        const bool List = ATokens.value(At) == QLatin1String("[");
        At += List ? 1 : 0;
        for (quint32 Glyph = Low; Glyph <= (ARanges ? High : Low); ++Glyph) {
            QString Text = Units(ATokens.value(List ? At++ : At));
            if (Text.isEmpty())
                return false;
            // A range of consecutive characters: the last code unit counts up.
            if (!List)
                Text.back() = QChar(Text.back().unicode() + (Glyph - Low));
            AEntries[quint16(Glyph)] = Text;
        }
        if (List && ATokens.value(At) != QLatin1String("]"))
            return false;
        ++At;
    }
    return true;
}

} // namespace

bool TCellToUnicode::Read(QByteArrayView ACMap) {
    static const QRegularExpression Section(
        QStringLiteral("(?:\\d+\\s+)?beginbf(char|range)(.*?)endbf\\1"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression Token(QStringLiteral("<[^<>]*>|\\[|\\]|[^\\s<>\\[\\]]+"));
    const QString Map = QString::fromLatin1(ACMap);
    FEntries.clear();
    qsizetype First = -1, Last = -1;
    for (auto Sections = Section.globalMatch(Map); Sections.hasNext();) {
        const QRegularExpressionMatch Found = Sections.next();
        QStringList Tokens;
        for (auto Each = Token.globalMatch(Found.captured(2)); Each.hasNext();)
            Tokens << Each.next().captured();
        if (!ReadSection(Tokens, Found.captured(1) == QLatin1String("range"), FEntries))
            return false;
        First = First < 0 ? Found.capturedStart() : First;
        Last = Found.capturedEnd();
    }
    if (First < 0)
        return false;
    FHead = ACMap.first(First).toByteArray();
    FTail = ACMap.sliced(Last).toByteArray();
    return true;
}

// At most 100 entries a section, as the CMap format asks.
QByteArray TCellToUnicode::Written() const {
    const auto Hex = [](QChar AUnit) {
        return QByteArray::number(AUnit.unicode(), 16).toUpper().rightJustified(4, '0');
    };
    QByteArray Body;
    for (auto Entry = FEntries.begin(); Entry != FEntries.end();) {
        QByteArray Lines;
        int Count = 0;
        for (; Entry != FEntries.end() && Count < 100; ++Entry, ++Count) {
            Lines += '<' + Hex(QChar(Entry->first)) + "> <";
            for (const QChar Unit : Entry->second)
                Lines += Hex(Unit);
            Lines += ">\n";
        }
        Body += QByteArray::number(Count) + " beginbfchar\n" + Lines + "endbfchar\n";
    }
    return FHead + Body + FTail.mid(FTail.startsWith('\n') ? 1 : 0);
}
