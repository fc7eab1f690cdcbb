#pragma once

#include <QByteArray>
#include <QString>

class QPDF;
class QPDFObjectHandle;
class TCellDrawnText;
class TCellPdfFile;

// Mends a PDF that Qt's writer made from a sheet. Each font's text map is
// made to name the characters the pages drew (Qt names the lowest character
// of each glyph: a radical where the page shows the ideograph sharing its
// glyph), and the document information gets its subject, which Qt's writer
// cannot set.
class TCellPdfMend {
public:
    TCellPdfMend(const TCellDrawnText& ADrawn, const QString& ASubject);

    // False with AError when the file cannot be mended, among others when
    // a text map that must be read is in a form not known here. AChanged
    // tells whether anything changed.
    bool Apply(TCellPdfFile& AFile, QString& AError, bool* AChanged = nullptr) const;
    // The same on bytes, written anew only when something changed.
    bool Apply(QByteArray& APdf, QString* AError = nullptr) const;
    // The same on a file, replaced whole or not at all.
    bool ApplyToFile(const QString& AFileName, QString& AError) const;

private:
    // Each throws what it cannot mend and tells whether it changed a thing.
    bool MendFont(QPDFObjectHandle& AFont) const;
    bool AddSubject(QPDF& APdf) const;

    const TCellDrawnText& FDrawn;
    QString FSubject;
};
