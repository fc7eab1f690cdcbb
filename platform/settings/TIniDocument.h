#pragma once

#include "platform/PlatformExport.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The text of an INI file, kept line by line as the bytes it was read from so
// that an edit touches only the lines it changes: comments, blank lines,
// unusual spacing, line ends and even bytes that are not valid UTF-8 come out
// exactly as they went in.
//
// Lookups follow the Windows profile functions: section and key names are
// compared without regard to letter case and with surrounding blanks
// ignored, only the first section of a name and the first line of a key
// count, and a value loses its surrounding blanks and one pair of matching
// quotes. Values that would lose something that way are written quoted. A
// section header with a blank name ("[ ]") is kept in the text but never
// matched or listed, so one such line cannot hide the other sections.
//
// Lookups go through an index of the first header of each name and the first
// line of each key, made once per parse or edit, so reading every value of a
// large file is linear in its size.
class PLATFORM_EXPORT TIniDocument {
public:
    static TIniDocument Parse(const QByteArray& AData);
    QByteArray ToBytes() const;

    QStringList SectionNames() const;
    QStringList KeyNames(const QString& ASection) const;
    std::optional<QString> Value(const QString& ASection, const QString& AKey) const;
    bool HasSection(const QString& ASection) const;

    // Both raise ESettingsError for names or values that the format cannot
    // hold, before anything changes.
    void SetValue(const QString& ASection, const QString& AKey, const QString& AValue);
    void AddSection(const QString& ASection);

private:
    enum class TLineKind { Other, Section, Entry };
    struct TLine {
        QByteArray Text; // without its line end
        QByteArray Eol;
        TLineKind Kind = TLineKind::Other;
        QString Name;
        QString Value;
    };

    static TLine ParseLine(QByteArray AText, QByteArray AEol);
    static QString Folded(const QString& AName);
    void BuildIndex() const;
    int FindSection(const QString& ASection) const;
    int SectionEnd(int AHeader) const;
    int FindEntry(int AHeader, const QString& AKey) const;
    int AppendSection(const QString& ASection);
    void InsertLine(int AIndex, const QByteArray& AText);

    QList<TLine> FLines;
    bool FBom = false;
    QByteArray FEol = "\n";

    // Folded section name -> line of its first header; (header line, folded
    // key) -> line of the key's first entry. Rebuilt lazily after an edit.
    mutable QHash<QString, int> FSectionIndex;
    mutable QHash<std::pair<int, QString>, int> FEntryIndex;
    mutable bool FIndexed = false;
};
