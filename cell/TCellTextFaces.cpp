#include "TCellTextFaces.h"

#include <QFontDatabase>
#include <QRawFont>
#include <QRegularExpression>
#include <map>
#include <mutex>

namespace {

QRawFont HanFace(const QFont& AFont) {
    return QRawFont::fromFont(AFont, QFontDatabase::SimplifiedChinese);
}

// The other faces of a Noto CJK family: the other regions, and for the
// proportional sans first the monospaced one of the same region (its
// ideographs are the same).
QStringList Candidates(const QString& AFamily) {
    static const QRegularExpression Noto(
        QStringLiteral("^Noto (Sans|Serif)( Mono)? CJK (SC|TC|HK|JP|KR)$"));
    const auto Match = Noto.match(AFamily);
    if (!Match.hasMatch())
        return {};
    const QString Base = QStringLiteral("Noto %1%2 CJK ").arg(Match.captured(1), Match.captured(2));
    QStringList Result;
    if (Match.captured(1) == QLatin1String("Sans") && Match.captured(2).isEmpty())
        Result << QStringLiteral("Noto Sans Mono CJK ") + Match.captured(3);
    for (const char* Region : {"SC", "TC", "HK", "JP", "KR"})
        if (Match.captured(3) != QLatin1String(Region))
            Result << Base + QLatin1String(Region);
    return Result;
}

// The candidate that draws the most twins with the main face's own glyphs
// (the faces of one collection share their glyphs) looks most alike. Empty
// when no candidate is installed.
QString TwinFamily(const QFont& AFont, const TCellGlyphShare& AMain) {
    const QRawFont Main = HanFace(AFont);
    QString Twins;
    for (int Code = 0; Code < 65536; ++Code)
        if (AMain.IsIdeographTwin(static_cast<char16_t>(Code)))
            Twins += QChar(Code);
    const QList<quint32> Own = Main.glyphIndexesForString(Twins);
    QString Result;
    int Best = -1;
    for (const QString& Family : Candidates(Main.familyName())) {
        QFont Font = AFont;
        Font.setFamily(Family);
        const QRawFont Raw = HanFace(Font);
        if (Raw.familyName() != Family ||
            TCellGlyphShare::Of(Raw).PostScriptName() == AMain.PostScriptName())
            continue; // not installed
        const QList<quint32> Glyphs = Raw.glyphIndexesForString(Twins);
        int Alike = 0;
        for (qsizetype I = 0; I < Glyphs.size() && I < Own.size(); ++I)
            Alike += Glyphs[I] == Own[I] ? 1 : 0;
        if (Alike > Best) {
            Best = Alike;
            Result = Family;
        }
    }
    return Result;
}

// The choice is made once per main face.
QString CachedTwinFamily(const QFont& AFont, const TCellGlyphShare& AMain) {
    static std::mutex Lock;
    static std::map<QByteArray, QString> Families;
    const std::lock_guard<std::mutex> Guard(Lock);
    const auto Found = Families.find(AMain.PostScriptName());
    if (Found != Families.end())
        return Found->second;
    return Families[AMain.PostScriptName()] = TwinFamily(AFont, AMain);
}

} // namespace

TCellTextFaces::TCellTextFaces(const QFont& AFont)
    : FFont(AFont)
    , FMain(&TCellGlyphShare::Of(HanFace(AFont))) {}

const TCellGlyphShare* TCellTextFaces::Twin() {
    if (FTwinSought)
        return FTwin;
    FTwinSought = true;
    const QString Family = CachedTwinFamily(FFont, *FMain);
    if (Family.isEmpty())
        return nullptr;
    FTwinFont = FFont;
    FTwinFont.setFamily(Family);
    FTwin = &TCellGlyphShare::Of(HanFace(FTwinFont));
    return FTwin;
}

const QFont& TCellTextFaces::TwinFont() {
    Twin();
    return FTwinFont;
}
