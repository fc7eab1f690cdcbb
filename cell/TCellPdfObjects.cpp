#include "TCellPdfObjects.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsSpace(char AChar) {
    return std::isspace(static_cast<unsigned char>(AChar)) != 0;
}

// Reads the next whole number at APos, skipping blanks; -1 when none.
qsizetype ReadNumber(QByteArrayView AText, qsizetype& APos) {
    while (APos < AText.size() && IsSpace(AText[APos]))
        ++APos;
    const qsizetype Start = APos;
    qsizetype Value = 0;
    while (APos < AText.size() && AText[APos] >= '0' && AText[APos] <= '9' && APos - Start < 12)
        Value = Value * 10 + (AText[APos++] - '0');
    return APos > Start ? Value : -1;
}

// The next non-blank character at APos, which is passed.
char ReadChar(QByteArrayView AText, qsizetype& APos) {
    while (APos < AText.size() && IsSpace(AText[APos]))
        ++APos;
    return APos < AText.size() ? AText[APos++] : '\0';
}

} // namespace

qsizetype TCellPdfObjects::Number(QByteArrayView ADictionary, QByteArrayView AKey) {
    for (qsizetype Pos = ADictionary.indexOf(AKey); Pos >= 0;
         Pos = ADictionary.indexOf(AKey, Pos + 1)) {
        qsizetype After = Pos + AKey.size();
        // A longer key ("/Length1" for "/Length") is passed over.
        if (After >= ADictionary.size() || IsSpace(ADictionary[After]))
            return ReadNumber(ADictionary, After);
    }
    return -1;
}

TCellPdfObjects::TCellPdfObjects(const QByteArray& APdf)
    : FPdf(APdf) {
    FValid = ReadTable();
}

bool TCellPdfObjects::ReadTable() {
    const QByteArrayView Pdf(FPdf);
    const qsizetype Start = Pdf.lastIndexOf("startxref");
    if (Start < 0)
        return false;
    qsizetype Pos = Start + 9;
    FTable = ReadNumber(Pdf, Pos);
    if (FTable < 0 || FTable >= Start || !Pdf.sliced(FTable).startsWith("xref"))
        return false;
    Pos = FTable + 4;
    const qsizetype First = ReadNumber(Pdf, Pos);
    const qsizetype Count = ReadNumber(Pdf, Pos);
    if (First != 0 || Count <= 0 || Count > 10000000)
        return false;
    FOffsets.reserve(static_cast<size_t>(Count));
    for (qsizetype I = 0; I < Count; ++I) {
        const qsizetype Offset = ReadNumber(Pdf, Pos);
        const qsizetype Generation = ReadNumber(Pdf, Pos);
        const char Kind = ReadChar(Pdf, Pos);
        if (Offset < 0 || Generation < 0 || (Kind != 'n' && Kind != 'f') || Offset >= FTable)
            return false;
        FOffsets.push_back(Kind == 'n' ? Offset : -1);
    }
    const qsizetype Trailer = Pdf.indexOf("trailer", Pos);
    if (Trailer < 0 || Trailer > Start)
        return false;
    FTrailer = Pdf.sliced(Trailer, Start - Trailer);
    return true;
}

QByteArrayView TCellPdfObjects::Object(int ANumber, bool AHeadOnly) const {
    const qsizetype Start = Offset(ANumber);
    if (Start < 0)
        return {};
    const QByteArrayView Pdf(FPdf);
    const QByteArray Head = QByteArray::number(ANumber) + " 0 obj";
    if (!Pdf.sliced(Start).startsWith(Head))
        return {};
    const QByteArrayView Rest = AHeadOnly
                                    ? Pdf.sliced(Start, std::min<qsizetype>(1024, FTable - Start))
                                    : Pdf.sliced(Start);
    const qsizetype Stream = AHeadOnly ? Rest.indexOf("stream") : -1;
    const qsizetype End = Rest.indexOf("endobj");
    if (Stream >= 0 && (End < 0 || Stream < End))
        return Rest.first(Stream);
    if (End < 0)
        return AHeadOnly ? Rest : QByteArrayView();
    return Rest.first(End + 6);
}

qsizetype TCellPdfObjects::Offset(int ANumber) const {
    return ANumber > 0 && ANumber < Count() ? FOffsets[static_cast<size_t>(ANumber)] : -1;
}

int TCellPdfObjects::TrailerReference(QByteArrayView AKey) const {
    const qsizetype Value = Number(FTrailer, AKey);
    return Value > 0 && Value < Count() ? static_cast<int>(Value) : -1;
}

bool TCellPdfObjects::Replace(qsizetype AStart, qsizetype AEnd, const QByteArray& AText) {
    // Only the objects are edited: the table after them is written anew.
    if (AStart < 0 || AEnd < AStart || AEnd > FTable)
        return false;
    const auto At =
        std::lower_bound(FEdits.begin(), FEdits.end(), AStart,
                         [](const TEdit& AEdit, qsizetype AValue) { return AEdit.Start < AValue; });
    // Two fonts could name one text map; it is rewritten once.
    if ((At != FEdits.end() && At->Start < std::max(AEnd, AStart + 1)) ||
        (At != FEdits.begin() && std::prev(At)->End > AStart))
        return false;
    FEdits.insert(At, TEdit{AStart, AEnd, AText});
    return true;
}

// An object's new offset: edits that begin before it move it by what they
// add or take away, and so does text inserted right at it. An edit that
// replaces the object itself begins at it and leaves it where it was.
qsizetype TCellPdfObjects::Shifted(qsizetype AOffset) const {
    qsizetype Shift = 0;
    for (const TEdit& Edit : FEdits) {
        if (Edit.Start > AOffset || (Edit.Start == AOffset && Edit.End > Edit.Start))
            break;
        Shift += Edit.Text.size() - (Edit.End - Edit.Start);
    }
    return AOffset + Shift;
}

QByteArray TCellPdfObjects::CrossReference(const std::vector<qsizetype>& AOffsets) {
    QByteArray Text =
        "xref\n0 " + QByteArray::number(qsizetype(AOffsets.size())) + "\n0000000000 65535 f \n";
    Text.reserve(Text.size() + 20 * qsizetype(AOffsets.size()));
    for (size_t Number = 1; Number < AOffsets.size(); ++Number) {
        const qsizetype Offset = AOffsets[Number];
        Text += Offset < 0 ? QByteArray("0000000000 00000 f \n")
                           : QByteArray::number(Offset).rightJustified(10, '0') + " 00000 n \n";
    }
    return Text;
}

QByteArray TCellPdfObjects::Result() const {
    QByteArray Out;
    Out.reserve(FPdf.size() + 4096);
    qsizetype Pos = 0;
    for (const TEdit& Edit : FEdits) {
        Out.append(QByteArrayView(FPdf).sliced(Pos, Edit.Start - Pos));
        Out.append(Edit.Text);
        Pos = Edit.End;
    }
    Out.append(QByteArrayView(FPdf).sliced(Pos, FTable - Pos));
    const qsizetype Table = Out.size();
    std::vector<qsizetype> Moved;
    Moved.reserve(FOffsets.size());
    for (const qsizetype Offset : FOffsets)
        Moved.push_back(Offset < 0 ? -1 : Shifted(Offset));
    Out.append(CrossReference(Moved));
    Out.append(FTrailer);
    Out.append("startxref\n" + QByteArray::number(Table) + "\n%%EOF\n");
    return Out;
}
