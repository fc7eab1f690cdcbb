#include "TCellPdfFile.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

TCellPdfFile::TCellPdfFile()
    : FPdf(std::make_unique<QPDF>()) {
    FPdf->setSuppressWarnings(true);
    FPdf->setAttemptRecovery(false);
}

TCellPdfFile::~TCellPdfFile() = default;

bool TCellPdfFile::Run(const std::function<void()>& AWork, QString& AError) {
    std::string Fault;
    try {
        AWork();
        Fault = FPdf->anyWarnings() ? FPdf->getWarnings().front().what() : "";
    } catch (const std::exception& AFault) {
        Fault = AFault.what();
    }
    AError = Fault.empty() ? QString()
                           : QStringLiteral("PDF 的结构有误，无法修正：%1").arg(Fault.c_str());
    return Fault.empty();
}

bool TCellPdfFile::Read(const QByteArray& APdf, QString& AError) {
    FBytes = APdf;
    return Run(
        [this] {
            FPdf->processMemoryFile("PDF", FBytes.constData(), size_t(FBytes.size()));
            FPdf->getAllPages(); // a broken page tree is found here
        },
        AError);
}

bool TCellPdfFile::Append(TCellPdfFile& ASecond, QString& AError) {
    const auto Copy = [&] {
        QPDFPageDocumentHelper Pages(*FPdf);
        for (const QPDFPageObjectHelper& Page : QPDFPageDocumentHelper(*ASecond.FPdf).getAllPages())
            Pages.addPage(Page, false);
    };
    return Run(Copy, AError) && ASecond.Run([] {}, AError);
}

bool TCellPdfFile::Write(QByteArray& APdf, QString& AError) {
    std::shared_ptr<Buffer> Written;
    const auto Write = [&] {
        QPDFWriter Writer(*FPdf);
        Writer.setOutputMemory();
        Writer.setObjectStreamMode(qpdf_o_generate);
        Writer.setDecodeLevel(qpdf_dl_none);
        Writer.setDeterministicID(true); // the same pages, the same bytes
        Writer.write();
        Written = Writer.getBufferSharedPointer();
    };
    if (!Run(Write, AError))
        return false;
    APdf = QByteArray(reinterpret_cast<const char*>(Written->getBuffer()),
                      qsizetype(Written->getSize()));
    return true;
}
