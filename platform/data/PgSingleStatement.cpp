#include "PgSingleStatement.h"

namespace {

// PostgreSQL's identifier characters: every byte of a non-ASCII character
// counts, and '$' continues a name.
bool IsNameChar(QChar AChar) {
    const char16_t C = AChar.unicode();
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9') || C == '_' ||
           C == '$' || C >= 0x80;
}

bool IsNameStart(QChar AChar) {
    return IsNameChar(AChar) && AChar != QLatin1Char('$') && !AChar.isDigit();
}

bool NameCharBefore(const QString& ASql, qsizetype AAt) {
    return AAt > 0 && IsNameChar(ASql[AAt - 1]);
}

// Just past the quoted run that opens at AOpen, or -1 when it never closes.
// A doubled quote stays inside; with ABackslash a backslash takes the next
// character with it (E'...' strings).
qsizetype SkipQuoted(const QString& ASql, qsizetype AOpen, bool ABackslash) {
    const QChar Quote = ASql[AOpen];
    for (qsizetype I = AOpen + 1; I < ASql.size(); ++I) {
        if (ABackslash && ASql[I] == QLatin1Char('\\')) {
            ++I;
        } else if (ASql[I] == Quote) {
            if (I + 1 >= ASql.size() || ASql[I + 1] != Quote)
                return I + 1;
            ++I;
        }
    }
    return -1;
}

// The tag of a dollar quote opening at AAt ("$$" or "$name$"), or nothing
// ("$1" is a parameter).
QString DollarTag(const QString& ASql, qsizetype AAt) {
    qsizetype End = AAt + 1;
    if (End < ASql.size() && ASql[End] != QLatin1Char('$')) {
        if (!IsNameStart(ASql[End]))
            return QString();
        while (End < ASql.size() && IsNameChar(ASql[End]) && ASql[End] != QLatin1Char('$'))
            ++End;
    }
    if (End >= ASql.size() || ASql[End] != QLatin1Char('$'))
        return QString();
    return ASql.mid(AAt, End - AAt + 1);
}

// Just past a block comment opening at AAt; they nest. -1 when unterminated.
qsizetype SkipBlockComment(const QString& ASql, qsizetype AAt) {
    int Depth = 0;
    for (qsizetype I = AAt; I + 1 < ASql.size(); ++I) {
        if (ASql[I] == QLatin1Char('/') && ASql[I + 1] == QLatin1Char('*')) {
            ++Depth;
            ++I;
        } else if (ASql[I] == QLatin1Char('*') && ASql[I + 1] == QLatin1Char('/')) {
            ++I;
            if (--Depth == 0)
                return I + 1;
        }
    }
    return -1;
}

// Just past the literal, quoted name or comment that starts at AAt; AAt + 1
// for any other character; -1 for one that never ends.
qsizetype SkipToken(const QString& ASql, qsizetype AAt) {
    const QChar C = ASql[AAt];
    const QChar Next = AAt + 1 < ASql.size() ? ASql[AAt + 1] : QChar();
    if (C == QLatin1Char('-') && Next == QLatin1Char('-')) {
        const qsizetype Newline = ASql.indexOf(QLatin1Char('\n'), AAt);
        return Newline < 0 ? ASql.size() : Newline + 1;
    }
    if (C == QLatin1Char('/') && Next == QLatin1Char('*'))
        return SkipBlockComment(ASql, AAt);
    if (C == QLatin1Char('\'')) {
        const bool Escapes = AAt > 0 && ASql[AAt - 1].toLower() == QLatin1Char('e') &&
                             !NameCharBefore(ASql, AAt - 1);
        return SkipQuoted(ASql, AAt, Escapes);
    }
    if (C == QLatin1Char('"'))
        return SkipQuoted(ASql, AAt, false);
    if (C == QLatin1Char('$') && !NameCharBefore(ASql, AAt)) {
        const QString Tag = DollarTag(ASql, AAt);
        if (!Tag.isEmpty()) {
            const qsizetype Close = ASql.indexOf(Tag, AAt + Tag.size());
            return Close < 0 ? -1 : Close + Tag.size();
        }
    }
    return AAt + 1;
}

bool IsComment(const QString& ASql, qsizetype AAt) {
    const QStringView Two = QStringView(ASql).mid(AAt, 2);
    return Two == QLatin1String("--") || Two == QLatin1String("/*");
}

} // namespace

bool IsPgSingleStatement(const QString& ASql) {
    bool Ended = false; // a ';' has been passed
    for (qsizetype I = 0; I < ASql.size();) {
        const QChar C = ASql[I];
        if (C.isSpace()) {
            ++I;
            continue;
        }
        if (Ended && !IsComment(ASql, I))
            return false;
        if (C == QLatin1Char(';')) {
            Ended = true;
            ++I;
            continue;
        }
        I = SkipToken(ASql, I);
        if (I < 0)
            return false;
    }
    return true;
}
