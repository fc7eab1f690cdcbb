#include "TCellPdfMend.h"

#include "TCellDrawnText.h"
#include "TCellPdfFile.h"
#include "TCellPrinter.h"
#include "TCellToUnicode.h"

#include <QFile>
#include <qpdf/QPDF.hh>
#include <stdexcept>

TCellPdfMend::TCellPdfMend(const TCellDrawnText& ADrawn, const QString& ASubject)
    : FDrawn(ADrawn)
    , FSubject(ASubject) {}

bool TCellPdfMend::Apply(TCellPdfFile& AFile, QString& AError, bool* AChanged) const {
    bool Changed = false;
    const auto Mend = [&] {
        if (!FDrawn.IsEmpty())
            for (QPDFObjectHandle& Object : AFile.Pdf().getAllObjects())
                if (Object.isDictionaryOfType("/Font"))
                    Changed = MendFont(Object) || Changed;
        Changed = AddSubject(AFile.Pdf()) || Changed;
    };
    const bool Mended = AFile.Run(Mend, AError);
    if (AChanged)
        *AChanged = Changed;
    return Mended;
}

// A font with a text map: the map read, corrected and written back when a
// character changed. A map that cannot be read cannot be mended.
bool TCellPdfMend::MendFont(QPDFObjectHandle& AFont) const {
    QPDFObjectHandle Map = AFont.getKey("/ToUnicode");
    QPDFObjectHandle Name = AFont.getKey("/BaseFont");
    if (!Map.isStream() || !Name.isName())
        return false;
    const QByteArray PostScriptName = QByteArray::fromStdString(Name.getName()).mid(1);
    const std::shared_ptr<Buffer> Data = Map.getStreamData();
    TCellToUnicode Text;
    if (!Text.Read(QByteArrayView(Data->getBuffer(), qsizetype(Data->getSize()))))
        throw std::runtime_error("字体 " + PostScriptName.toStdString() + " 的文字映射无法读取");
    bool Changed = false;
    for (auto& [Glyph, Characters] : Text.Entries()) {
        if (Characters.size() != 1)
            continue;
        const char16_t Drawn = FDrawn.Drawn(PostScriptName, Characters[0].unicode());
        Changed = Changed || Drawn != Characters[0].unicode();
        Characters[0] = QChar(Drawn);
    }
    if (Changed)
        Map.replaceStreamData(Text.Written().toStdString(), QPDFObjectHandle::newNull(),
                              QPDFObjectHandle::newNull());
    return Changed;
}

// The subject goes into the document information where that has none.
bool TCellPdfMend::AddSubject(QPDF& APdf) const {
    QPDFObjectHandle Info = APdf.getTrailer().getKey("/Info");
    if (FSubject.isEmpty() || !Info.isDictionary() || Info.hasKey("/Subject"))
        return false;
    Info.replaceKey("/Subject", QPDFObjectHandle::newUnicodeString(FSubject.toStdString()));
    return true;
}

bool TCellPdfMend::Apply(QByteArray& APdf, QString* AError) const {
    TCellPdfFile File;
    QString Error;
    bool Changed = false;
    QByteArray Mended;
    const bool Done = File.Read(APdf, Error) && Apply(File, Error, &Changed) &&
                      (!Changed || File.Write(Mended, Error));
    if (AError)
        *AError = Error;
    if (Done && Changed)
        APdf = Mended;
    return Done;
}

bool TCellPdfMend::ApplyToFile(const QString& AFileName, QString& AError) const {
    QFile In(AFileName);
    if (!In.open(QIODevice::ReadOnly)) {
        AError = QStringLiteral("无法读取 %1：%2").arg(AFileName, In.errorString());
        return false;
    }
    QByteArray Pdf = In.readAll();
    const char* const Before = Pdf.constData();
    return Apply(Pdf, &AError) &&
           (Pdf.constData() == Before ||
            TCellPrinter::SavePdf(Pdf, AFileName, AError) == TCellPrinter::Ok);
}
