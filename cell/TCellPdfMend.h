#pragma once

#include <QByteArray>
#include <QString>

class TCellDrawnText;
class TCellPdfObjects;

// Mends a PDF that Qt's writer made from a sheet. Each font's text map is
// made to name the characters the pages drew (Qt names the lowest character
// of each glyph: a radical where the page shows the ideograph sharing its
// glyph), and the document information gets its subject, which Qt's writer
// cannot set.
class TCellPdfMend {
public:
    TCellPdfMend(const TCellDrawnText& ADrawn, const QString& ASubject);

    // False when the file is not laid out as Qt writes it; it is then left
    // as it was (its pages are right, its text layer is Qt's).
    bool Apply(QByteArray& APdf) const;
    // The same on a file, replaced whole or not at all; false with AError
    // when it could not be read or written.
    bool ApplyToFile(const QString& AFileName, QString& AError) const;

private:
    void MendFont(TCellPdfObjects& AObjects, int ANumber) const;
    void AddSubject(TCellPdfObjects& AObjects) const;

    const TCellDrawnText& FDrawn;
    QString FSubject;
};
