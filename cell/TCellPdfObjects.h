#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

// The objects of a PDF as Qt's writer makes it (one cross-reference table,
// no object streams, no compression of the table), and edits of its text
// that keep the table right: every object is found again at its offset
// after the edits, and the table and its start are written anew.
class TCellPdfObjects {
public:
    explicit TCellPdfObjects(const QByteArray& APdf);

    // False when the file is not laid out as expected; nothing else then
    // answers anything useful.
    bool IsValid() const { return FValid; }
    int Count() const { return static_cast<int>(FOffsets.size()); }
    // The text of object ANumber from "N 0 obj" to the end of "endobj", or
    // nothing for a free or unknown number. AHeadOnly stops at its stream,
    // or after 1 KB: enough for a dictionary, without reading a stream.
    QByteArrayView Object(int ANumber, bool AHeadOnly = false) const;
    // Where that text begins in the file.
    qsizetype Offset(int ANumber) const;
    // The number of the object the trailer names under AKey ("/Info"), or -1.
    int TrailerReference(QByteArrayView AKey) const;

    // Replaces AEnd - AStart bytes at AStart (an insertion when equal).
    // An edit that would overlap one made before, or reach outside the
    // objects (into the cross-reference table), is refused (false).
    bool Replace(qsizetype AStart, qsizetype AEnd, const QByteArray& AText);
    bool HasEdits() const { return !FEdits.empty(); }
    // The PDF with the edits made.
    QByteArray Result() const;

    // The number after AKey in ADictionary ("/Length 12"), or -1.
    static qsizetype Number(QByteArrayView ADictionary, QByteArrayView AKey);
    // A cross-reference table ("xref" to its last entry) of objects at
    // AOffsets, by number; -1 marks a free number (0 always is).
    static QByteArray CrossReference(const std::vector<qsizetype>& AOffsets);

private:
    struct TEdit {
        qsizetype Start;
        qsizetype End;
        QByteArray Text;
    };
    bool ReadTable();
    qsizetype Shifted(qsizetype AOffset) const;

    const QByteArray& FPdf;
    std::vector<qsizetype> FOffsets; // -1 for a free entry
    qsizetype FTable = -1;           // where "xref" starts
    QByteArrayView FTrailer;         // "trailer ... >>", before startxref
    std::vector<TEdit> FEdits;
    bool FValid = false;
};
