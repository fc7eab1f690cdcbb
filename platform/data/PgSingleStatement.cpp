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

bool IsLineBreak(QChar AChar) {
    return AChar == QLatin1Char('\n') || AChar == QLatin1Char('\r');
}

// Where a "--" comment opening at AAt ends: at its line break (a carriage
// return ends it as a line feed does), or at the end of the text.
qsizetype LineCommentEnd(const QString& ASql, qsizetype AAt) {
    qsizetype End = AAt + 2;
    while (End < ASql.size() && !IsLineBreak(ASql[End]))
        ++End;
    return End;
}

// The opening quote of the string that continues one closed just before
// AAt, or -1. The server joins two strings with only blanks, "--" comments
// and at least one line break between them into one string, read all
// through the way its first part is read.
qsizetype ContinuedAt(const QString& ASql, qsizetype AAt) {
    bool LineBreak = false;
    qsizetype At = AAt;
    while (At < ASql.size()) {
        const QChar C = ASql[At];
        if (C == QLatin1Char('-') && At + 1 < ASql.size() && ASql[At + 1] == QLatin1Char('-')) {
            At = LineCommentEnd(ASql, At);
            continue;
        }
        if (!IsLineBreak(C) && C != QLatin1Char(' ') && C != QLatin1Char('\t') &&
            C != QLatin1Char('\f') && C != QLatin1Char('\v'))
            break;
        LineBreak = LineBreak || IsLineBreak(C);
        ++At;
    }
    return LineBreak && At < ASql.size() && ASql[At] == QLatin1Char('\'') ? At : -1;
}

// Just past a string opening at AOpen and the parts that continue it; -1
// when one never closes.
qsizetype SkipString(const QString& ASql, qsizetype AOpen, bool ABackslash) {
    qsizetype End = SkipQuoted(ASql, AOpen, ABackslash);
    while (End >= 0) {
        const qsizetype Next = ContinuedAt(ASql, End);
        if (Next < 0)
            break;
        End = SkipQuoted(ASql, Next, ABackslash);
    }
    return End;
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
    if (C == QLatin1Char('-') && Next == QLatin1Char('-'))
        return LineCommentEnd(ASql, AAt);
    if (C == QLatin1Char('/') && Next == QLatin1Char('*'))
        return SkipBlockComment(ASql, AAt);
    if (C == QLatin1Char('\'')) {
        const bool Escapes = AAt > 0 && ASql[AAt - 1].toLower() == QLatin1Char('e') &&
                             !NameCharBefore(ASql, AAt - 1);
        return SkipString(ASql, AAt, Escapes);
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
