#include "TCellPdfMend.h"

#include "TCellDrawnText.h"
#include "TCellOutputFile.h"
#include "TCellPdfObjects.h"
#include "TCellToUnicode.h"

#include <QFile>

namespace {

// The name after "/BaseFont /" up to the next delimiter.
QByteArrayView BaseFont(QByteArrayView ADictionary) {
    const QByteArrayView Key = "/BaseFont /";
    const qsizetype Start = ADictionary.indexOf(Key);
    if (Start < 0)
        return {};
    qsizetype End = Start + Key.size();
    while (End < ADictionary.size() && !QByteArrayView(" \n\r\t/<>[]()").contains(ADictionary[End]))
        ++End;
    return ADictionary.sliced(Start + Key.size(), End - Start - Key.size());
}

// A text string as UTF-16 in hex: no character of the text needs escaping.
QByteArray PdfTextString(const QString& AText) {
    return "<FEFF" + TCellToUnicode::Hex(AText) + '>';
}

} // namespace

TCellPdfMend::TCellPdfMend(const TCellDrawnText& ADrawn, const QString& ASubject)
    : FDrawn(ADrawn)
    , FSubject(ASubject) {}

bool TCellPdfMend::Apply(QByteArray& APdf) const {
    TCellPdfObjects Objects(APdf);
    if (!Objects.IsValid())
        return false;
    if (!FDrawn.IsEmpty())
        for (int Number = 1; Number < Objects.Count(); ++Number)
            MendFont(Objects, Number);
    if (!FSubject.isEmpty())
        AddSubject(Objects);
    if (Objects.HasEdits())
        APdf = Objects.Result();
    return true;
}

// A font with a text map: the map's stream, read, corrected and written
// back when a character changed. A map in another form is left alone.
void TCellPdfMend::MendFont(TCellPdfObjects& AObjects, int ANumber) const {
    const QByteArrayView Font = AObjects.Object(ANumber, true);
    const QByteArrayView Name = BaseFont(Font);
    const qsizetype MapNumber = TCellPdfObjects::Number(Font, "/ToUnicode");
    if (Name.isEmpty() || MapNumber <= 0 || MapNumber >= AObjects.Count())
        return;
    const int Map = static_cast<int>(MapNumber);
    const QByteArrayView Object = AObjects.Object(Map);
    const qsizetype Length = TCellPdfObjects::Number(Object, "/Length");
    const qsizetype Data = Object.indexOf("stream\n");
    // The map is read only where its length ends its stream: a map read
    // short or long would be written back wrong.
    if (Length < 0 || Data < 0 || Object.first(Data).contains("/Filter") ||
        Data + 7 + Length > Object.size() ||
        !Object.sliced(Data + 7 + Length).trimmed().startsWith("endstream"))
        return;
    TCellToUnicode Text;
    if (!Text.Read(Object.sliced(Data + 7, Length)))
        return;
    bool Changed = false;
    for (auto& [Glyph, Characters] : Text.Entries()) {
        if (Characters.size() != 1)
            continue;
        const char16_t Drawn = FDrawn.Drawn(Name, Characters[0].unicode());
        Changed = Changed || Drawn != Characters[0].unicode();
        Characters[0] = QChar(Drawn);
    }
    if (!Changed)
        return;
    const QByteArray Stream = Text.Written();
    const QByteArray Rewritten = QByteArray::number(Map) + " 0 obj\n<< /Length " +
                                 QByteArray::number(Stream.size()) + " >>\nstream\n" + Stream +
                                 "\nendstream\nendobj";
    const qsizetype Start = AObjects.Offset(Map);
    AObjects.Replace(Start, Start + Object.size(), Rewritten);
}

void TCellPdfMend::AddSubject(TCellPdfObjects& AObjects) const {
    const int Info = AObjects.TrailerReference("/Info");
    const QByteArrayView Object = AObjects.Object(Info, true);
    const qsizetype Open = Object.indexOf("<<");
    if (Open < 0 || Object.contains("/Subject"))
        return;
    const qsizetype At = AObjects.Offset(Info) + Open + 2;
    AObjects.Replace(At, At, "\n/Subject " + PdfTextString(FSubject));
}

bool TCellPdfMend::ApplyToFile(const QString& AFileName, QString& AError) const {
    QFile In(AFileName);
    if (!In.open(QIODevice::ReadOnly)) {
        AError = QStringLiteral("无法读取 %1：%2").arg(AFileName, In.errorString());
        return false;
    }
    QByteArray Pdf = In.readAll();
    In.close();
    const char* const Before = Pdf.constData();
    if (!Apply(Pdf) || Pdf.constData() == Before)
        return true;
    TCellOutputFile Output(AFileName);
    if (!Output.Open() || !Output.Write(Pdf) || Output.Commit() != TCellOutputFile::Committed) {
        AError = Output.Error();
        return false;
    }
    return true;
}
