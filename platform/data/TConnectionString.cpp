#include "TConnectionString.h"

#include <QRegularExpression>

TConnectionString::TConnectionString(const QString& AText) {
    const qsizetype Length = AText.size();
    qsizetype Pos = 0;
    while (Pos < Length) {
        const qsizetype Equals = AText.indexOf(QLatin1Char('='), Pos);
        const qsizetype NextSemicolon = AText.indexOf(QLatin1Char(';'), Pos);
        if (Equals < 0 || (NextSemicolon >= 0 && NextSemicolon < Equals)) {
            // A part without '=' carries no setting; skip it.
            if (NextSemicolon < 0)
                break;
            Pos = NextSemicolon + 1;
            continue;
        }
        const QString Key = AText.mid(Pos, Equals - Pos).trimmed();
        Pos = Equals + 1;
        while (Pos < Length && AText.at(Pos).isSpace())
            ++Pos;
        QString Value;
        if (Pos < Length &&
            (AText.at(Pos) == QLatin1Char('"') || AText.at(Pos) == QLatin1Char('\''))) {
            const QChar Quote = AText.at(Pos++);
            while (Pos < Length) {
                if (AText.at(Pos) == Quote) {
                    if (Pos + 1 < Length && AText.at(Pos + 1) == Quote) {
                        Value += Quote;
                        Pos += 2;
                        continue;
                    }
                    ++Pos;
                    break;
                }
                Value += AText.at(Pos++);
            }
            const qsizetype End = AText.indexOf(QLatin1Char(';'), Pos);
            Pos = End < 0 ? Length : End + 1;
        } else {
            const qsizetype End = AText.indexOf(QLatin1Char(';'), Pos);
            Value = AText.mid(Pos, End < 0 ? -1 : End - Pos).trimmed();
            Pos = End < 0 ? Length : End + 1;
        }
        if (!Key.isEmpty())
            FPairs.append({Key, Value});
    }
}

QString TConnectionString::Value(const QString& AKey) const {
    for (qsizetype I = FPairs.size() - 1; I >= 0; --I) {
        if (FPairs[I].first.compare(AKey, Qt::CaseInsensitive) == 0)
            return FPairs[I].second;
    }
    return QString();
}

QString TConnectionString::FirstValue(std::initializer_list<const char*> AKeys) const {
    for (const char* Key : AKeys) {
        const QString Found = Value(QString::fromLatin1(Key));
        if (!Found.isEmpty())
            return Found;
    }
    return QString();
}

bool TConnectionString::Has(const QString& AKey) const {
    for (const auto& Pair : FPairs) {
        if (Pair.first.compare(AKey, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString TConnectionString::WithoutPasswords(const QString& AText) {
    static const QRegularExpression Setting(
        QStringLiteral(
            R"(\b(password|pwd)(\s*=\s*)("(?:[^"]|"")*"?|'(?:[^']|'')*'?|\{[^}]*\}?|[^;\r\n]*))"),
        QRegularExpression::CaseInsensitiveOption);
    QString Result = AText;
    return Result.replace(Setting, QStringLiteral("\\1\\2***"));
}
