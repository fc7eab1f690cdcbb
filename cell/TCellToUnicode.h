#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <map>

// A font's text map in a PDF (a ToUnicode CMap): which characters each
// glyph code stands for. Reads the bfchar and bfrange entries of two-byte
// codes, and writes the map back as bfchar entries, keeping everything
// around them.
class TCellToUnicode {
public:
    // False when the map holds something else than those entries.
    bool Read(QByteArrayView ACMap);
    // The map with the entries as they now stand.
    QByteArray Written() const;
    std::map<quint16, QString>& Entries() { return FEntries; }

private:
    std::map<quint16, QString> FEntries;
    QByteArray FHead; // up to the first section
    QByteArray FTail; // after the last one
};
