#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class QPDF;

// A PDF in qpdf's object model, read from bytes in memory. Reading is
// strict: a file that qpdf could read only by repairing it, or warns
// about, is refused, so that no table passes a file whose structure is in
// doubt. A call that fails says why in AError.
class TCellPdfFile {
public:
    TCellPdfFile();
    ~TCellPdfFile();

    bool Read(const QByteArray& APdf, QString& AError);
    QPDF& Pdf() { return *FPdf; }
    // Runs AWork on the objects; false when it threw or qpdf warned.
    bool Run(const std::function<void()>& AWork, QString& AError);
    // The pages of ASecond after this file's; this file keeps its catalog
    // and document information. ASecond must live until this file is
    // written: its streams are copied then.
    bool Append(TCellPdfFile& ASecond, QString& AError);
    // With object streams and a cross-reference stream; the pages' streams
    // as they were read, new ones compressed.
    bool Write(QByteArray& APdf, QString& AError);

private:
    std::unique_ptr<QPDF> FPdf;
    QByteArray FBytes; // what FPdf reads its objects from
};
