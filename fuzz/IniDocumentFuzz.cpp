// Any bytes as an INI file: parsing keeps them byte for byte, every listed
// section and key can be read, and a value written reads back exactly while
// the rest of the file stays as it was.
#include "platform/settings/TIniDocument.h"
#include "platform/settings/TSettingsStore.h"

#include <cstdlib>

namespace {

void Require(bool ACondition) {
    if (!ACondition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    const QByteArray Data(reinterpret_cast<const char*>(AData), static_cast<qsizetype>(ASize));
    const TIniDocument Original = TIniDocument::Parse(Data);
    Require(Original.ToBytes() == Data);
    const QStringList Sections = Original.SectionNames();
    for (const QString& Section : Sections) {
        Require(!Section.trimmed().isEmpty() && Original.HasSection(Section));
        for (const QString& Key : Original.KeyNames(Section))
            Require(Original.Value(Section, Key).has_value());
    }
    TIniDocument Document = Original;
    const QString Value = QStringLiteral(" \"quoted\" = ;value ");
    try {
        Document.SetValue(QStringLiteral("fuzz"), QStringLiteral("key"), Value);
    } catch (const ESettingsError&) {
        std::abort(); // a valid name and value are never refused
    }
    const TIniDocument Again = TIniDocument::Parse(Document.ToBytes());
    Require(Again.Value(QStringLiteral("fuzz"), QStringLiteral("key")) == Value);
    for (const QString& Section : Sections) {
        if (Section.compare(QStringLiteral("fuzz"), Qt::CaseInsensitive) == 0)
            continue;
        for (const QString& Key : Original.KeyNames(Section))
            Require(Again.Value(Section, Key) == Original.Value(Section, Key));
    }
    return 0;
}
