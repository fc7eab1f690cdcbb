#include "TIniDocument.h"

#include "TSettingsStore.h"

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");

bool HasLineBreak(const QString& AText) {
    return AText.contains(QLatin1Char('\n')) || AText.contains(QLatin1Char('\r')) ||
           AText.contains(QChar(0));
}

QString DecodeValue(const QString& ARaw) {
    const QString Value = ARaw.trimmed();
    const bool Quoted = Value.size() >= 2 &&
                        (Value.front() == QLatin1Char('"') || Value.front() == QLatin1Char('\'')) &&
                        Value.back() == Value.front();
    return Quoted ? Value.mid(1, Value.size() - 2) : Value;
}

// Quotes exactly the values that reading back would otherwise change.
QString EncodeValue(const QString& AValue) {
    if (AValue != AValue.trimmed() || DecodeValue(AValue) != AValue)
        return QLatin1Char('"') + AValue + QLatin1Char('"');
    return AValue;
}

void CheckSectionName(const QString& ASection) {
    if (ASection.trimmed().isEmpty() || HasLineBreak(ASection) ||
        ASection.contains(QLatin1Char(']')))
        throw ESettingsError(QStringLiteral("设置节名“%1”无效").arg(ASection));
}

void CheckEntry(const QString& AKey, const QString& AValue) {
    const QString Key = AKey.trimmed();
    if (Key.isEmpty() || HasLineBreak(AKey) || Key.contains(QLatin1Char('=')) ||
        Key.startsWith(QLatin1Char('[')) || Key.startsWith(QLatin1Char(';')) ||
        Key.startsWith(QLatin1Char('#')))
        throw ESettingsError(QStringLiteral("设置项名“%1”无效").arg(AKey));
    if (HasLineBreak(AValue))
        throw ESettingsError(QStringLiteral("设置项“%1”的值不能含有换行符").arg(AKey));
}

} // namespace

TIniDocument TIniDocument::Parse(const QByteArray& AData) {
    TIniDocument Document;
    QByteArray Data = AData;
    if (Data.startsWith(Utf8Bom)) {
        Document.FBom = true;
        Data.remove(0, Utf8Bom.size());
    }
    qsizetype Start = 0;
    while (Start < Data.size()) {
        const qsizetype Newline = Data.indexOf('\n', Start);
        const qsizetype End = Newline < 0 ? Data.size() : Newline;
        const bool Crlf = Newline > Start && Data.at(Newline - 1) == '\r';
        const QByteArray Eol(Newline < 0 ? "" : Crlf ? "\r\n" : "\n");
        Document.FLines.append(ParseLine(Data.mid(Start, End - Start - (Crlf ? 1 : 0)), Eol));
        Start = End + 1;
    }
    if (!Document.FLines.isEmpty() && !Document.FLines.first().Eol.isEmpty())
        Document.FEol = Document.FLines.first().Eol;
    return Document;
}

QByteArray TIniDocument::ToBytes() const {
    QByteArray Data = FBom ? Utf8Bom : QByteArray();
    for (const TLine& Line : FLines)
        Data += Line.Text + Line.Eol;
    return Data;
}

TIniDocument::TLine TIniDocument::ParseLine(QByteArray AText, QByteArray AEol) {
    TLine Line;
    Line.Text = std::move(AText);
    Line.Eol = std::move(AEol);
    const QString Text = QString::fromUtf8(Line.Text).trimmed();
    if (Text.startsWith(QLatin1Char('['))) {
        const qsizetype Close = Text.indexOf(QLatin1Char(']'));
        Line.Kind = TLineKind::Section;
        Line.Name = Text.mid(1, Close < 0 ? -1 : Close - 1).trimmed();
        return Line;
    }
    const qsizetype Equals = Text.indexOf(QLatin1Char('='));
    if (Text.startsWith(QLatin1Char(';')) || Text.startsWith(QLatin1Char('#')) || Equals <= 0)
        return Line;
    Line.Name = Text.left(Equals).trimmed();
    Line.Value = DecodeValue(Text.mid(Equals + 1));
    Line.Kind = Line.Name.isEmpty() ? TLineKind::Other : TLineKind::Entry;
    return Line;
}

QString TIniDocument::Folded(const QString& AName) {
    return AName.trimmed().toCaseFolded();
}

void TIniDocument::BuildIndex() const {
    if (FIndexed)
        return;
    FSectionIndex.clear();
    FEntryIndex.clear();
    int Header = -1; // -1 while in no section, or in one that is not read
    for (int I = 0; I < FLines.size(); ++I) {
        const TLine& Line = FLines.at(I);
        if (Line.Kind == TLineKind::Section) {
            const QString Name = Folded(Line.Name);
            Header = -1;
            if (!Name.isEmpty() && !FSectionIndex.contains(Name)) {
                FSectionIndex.insert(Name, I);
                Header = I;
            }
        } else if (Line.Kind == TLineKind::Entry && Header >= 0) {
            const std::pair<int, QString> Key{Header, Folded(Line.Name)};
            if (!FEntryIndex.contains(Key))
                FEntryIndex.insert(Key, I);
        }
    }
    FIndexed = true;
}

QStringList TIniDocument::SectionNames() const {
    BuildIndex();
    QStringList Names;
    for (int I = 0; I < FLines.size(); ++I) {
        const TLine& Line = FLines.at(I);
        if (Line.Kind == TLineKind::Section && FSectionIndex.value(Folded(Line.Name), -1) == I)
            Names.append(Line.Name);
    }
    return Names;
}

QStringList TIniDocument::KeyNames(const QString& ASection) const {
    QStringList Names;
    const int Header = FindSection(ASection);
    if (Header < 0)
        return Names;
    for (int I = Header + 1, End = SectionEnd(Header); I < End; ++I) {
        const TLine& Line = FLines.at(I);
        if (Line.Kind == TLineKind::Entry && FindEntry(Header, Line.Name) == I)
            Names.append(Line.Name);
    }
    return Names;
}

std::optional<QString> TIniDocument::Value(const QString& ASection, const QString& AKey) const {
    const int Entry = FindEntry(FindSection(ASection), AKey);
    if (Entry < 0)
        return std::nullopt;
    return FLines.at(Entry).Value;
}

bool TIniDocument::HasSection(const QString& ASection) const {
    return FindSection(ASection) >= 0;
}

void TIniDocument::SetValue(const QString& ASection, const QString& AKey, const QString& AValue) {
    CheckSectionName(ASection);
    CheckEntry(AKey, AValue);
    int Header = FindSection(ASection);
    if (Header < 0)
        Header = AppendSection(ASection);
    const QByteArray Encoded = EncodeValue(AValue).toUtf8();
    const int Entry = FindEntry(Header, AKey);
    if (Entry >= 0) {
        // Keep the key as the file spells it and the spacing around '='.
        TLine& Line = FLines[Entry];
        qsizetype Keep = Line.Text.indexOf('=') + 1;
        while (Keep < Line.Text.size() && (Line.Text[Keep] == ' ' || Line.Text[Keep] == '\t'))
            ++Keep;
        Line = ParseLine(Line.Text.left(Keep) + Encoded, Line.Eol);
        FIndexed = false;
        return;
    }
    int Insert = Header + 1;
    for (int I = Header + 1, End = SectionEnd(Header); I < End; ++I) {
        if (FLines.at(I).Kind == TLineKind::Entry)
            Insert = I + 1;
    }
    InsertLine(Insert, AKey.trimmed().toUtf8() + '=' + Encoded);
}

void TIniDocument::AddSection(const QString& ASection) {
    CheckSectionName(ASection);
    if (FindSection(ASection) < 0)
        AppendSection(ASection);
}

int TIniDocument::FindSection(const QString& ASection) const {
    BuildIndex();
    return FSectionIndex.value(Folded(ASection), -1);
}

int TIniDocument::SectionEnd(int AHeader) const {
    int I = AHeader + 1;
    while (I < FLines.size() && FLines.at(I).Kind != TLineKind::Section)
        ++I;
    return I;
}

int TIniDocument::FindEntry(int AHeader, const QString& AKey) const {
    if (AHeader < 0)
        return -1;
    BuildIndex();
    return FEntryIndex.value({AHeader, Folded(AKey)}, -1);
}

int TIniDocument::AppendSection(const QString& ASection) {
    // A blank line before a new section keeps hand-edited files readable.
    if (!FLines.isEmpty() && !FLines.last().Text.trimmed().isEmpty())
        InsertLine(FLines.size(), QByteArray());
    InsertLine(FLines.size(), '[' + ASection.trimmed().toUtf8() + ']');
    return FLines.size() - 1;
}

void TIniDocument::InsertLine(int AIndex, const QByteArray& AText) {
    if (AIndex > 0 && FLines.at(AIndex - 1).Eol.isEmpty())
        FLines[AIndex - 1].Eol = FEol;
    FLines.insert(AIndex, ParseLine(AText, FEol));
    FIndexed = false;
}
