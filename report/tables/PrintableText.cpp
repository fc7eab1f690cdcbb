#include "PrintableText.h"

namespace {

bool IsControl(char16_t ACode) {
    return ACode < 0x20 || (ACode >= 0x7f && ACode <= 0x9f) || ACode == 0x061c || ACode == 0x200e ||
           ACode == 0x200f || (ACode >= 0x2028 && ACode <= 0x202e) ||
           (ACode >= 0x2066 && ACode <= 0x2069);
}

QString Escape(char16_t ACode) {
    switch (ACode) {
    case u'\n':
        return QStringLiteral("\\n");
    case u'\r':
        return QStringLiteral("\\r");
    case u'\t':
        return QStringLiteral("\\t");
    default:
        break;
    }
    return ACode <= 0xff ? QStringLiteral("\\x%1").arg(int(ACode), 2, 16, QLatin1Char('0'))
                         : QStringLiteral("\\u%1").arg(int(ACode), 4, 16, QLatin1Char('0'));
}

} // namespace

bool IsControlCharacter(QChar AChar) {
    return IsControl(AChar.unicode());
}

bool HasControlCharacters(const QString& AText) {
    for (const QChar C : AText) {
        if (IsControl(C.unicode()))
            return true;
    }
    return false;
}

QString PrintableText(const QString& AText) {
    if (!HasControlCharacters(AText))
        return AText;
    QString Text;
    Text.reserve(AText.size() + 8);
    for (const QChar C : AText) {
        if (IsControl(C.unicode()))
            Text += Escape(C.unicode());
        else
            Text += C;
    }
    return Text;
}
