// The grid on paper and in a workbook: preview, printing, PDF and export.
#include "TCell5.h"

#include "TCellPreviewDialog.h"
#include "cell/TCellPrinter.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>

int TCell5::PreviewSheet(int ASheet, int AMode) {
    Q_UNUSED(AMode);
    if (ASheet != 0)
        return -1;
    TCellPreviewDialog Dialog(Sheet(), Sheet().Page().Layout(), this);
    return FDialogRunner(Dialog);
}

std::unique_ptr<QPrinter> TCell5::NewPrinter() const {
    const QPrinterInfo Default = QPrinterInfo::defaultPrinter();
    const bool ToFile = !FPrintFile.isEmpty() || Default.isNull();
    auto Printer = ToFile ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                          : std::make_unique<QPrinter>(Default, QPrinter::HighResolution);
    Printer->setPageLayout(Sheet().Page().Layout());
    Printer->setDocName(CellText(1, 1));
    if (ToFile) {
        Printer->setOutputFormat(QPrinter::PdfFormat);
        Printer->setOutputFileName(FPrintFile.isEmpty() ? FreePdfName() : FPrintFile);
    }
    return Printer;
}

int TCell5::PageCount(const QPrinter& APrinter) const {
    TCellPrinter Pages(Sheet());
    // A PDF is made at its own resolution, which decides where pages break.
    if (APrinter.outputFormat() == QPrinter::PdfFormat)
        return Pages.PdfPageCount();
    return Pages.PageCount(APrinter);
}

int TCell5::PrintOn(QPrinter& APrinter) {
    // The dialog's page numbers count from 1; 0 means every page.
    const bool Range = APrinter.printRange() == QPrinter::PageRange && APrinter.fromPage() > 0;
    const int First = Range ? APrinter.fromPage() - 1 : 0;
    const int End = Range ? std::max(APrinter.fromPage(), APrinter.toPage()) : -1;
    int Result = 0;
    if (APrinter.outputFormat() == QPrinter::PdfFormat) {
        Result =
            FDocument.PrintToPdf(APrinter.outputFileName(), TCellOutputFile::Replace, First, End);
    } else {
        // A printer that makes its copies itself is sent the pages once.
        const int Copies = APrinter.supportsMultipleCopies() ? 1 : APrinter.copyCount();
        Result = TCellPrinter(Sheet()).Render(APrinter, First, End, Copies) ? 0 : 1;
        FDocument.SetOutcome(
            Result == 0 ? QString()
                        : QStringLiteral("无法在打印机 %1 上打印").arg(APrinter.printerName()),
            Result == 0 ? APrinter.printerName() : QString());
    }
    if (Result == 0)
        emit Printed(LastOutputFile());
    return Result;
}

int TCell5::PrintSheet(int ASheet, int AMode) {
    Q_UNUSED(AMode);
    if (ASheet != 0)
        return -1;
    const int Result = PrintOnce();
    if (Result == 0)
        emit Printed(LastOutputFile());
    return Result;
}

int TCell5::PrintOnce() {
    if (!FPrintFile.isEmpty())
        return PrintToPdf(FPrintFile);
    const QPrinterInfo Default = QPrinterInfo::defaultPrinter();
    if (Default.isNull())
        return WriteNewPdf(PdfFolder());
    QPrinter Printer(Default, QPrinter::HighResolution);
    Printer.setPageLayout(Sheet().Page().Layout());
    Printer.setDocName(CellText(1, 1));
    if (!TCellPrinter(Sheet()).Render(Printer)) {
        FDocument.SetOutcome(QStringLiteral("无法在打印机 %1 上打印").arg(Default.printerName()),
                             QString());
        return 1;
    }
    FDocument.SetOutcome(QString(), Default.printerName());
    return 0;
}

int TCell5::PrintToPdf(const QString& AFileName) {
    return FDocument.PrintToPdf(AFileName);
}

int TCell5::ExportExcel(const QString& AFileName) {
    return FDocument.ExportExcel(AFileName);
}

QString TCell5::FreePdfName() const {
    const QString Stem = PdfStem(PdfFolder());
    for (int Number = 1; Number <= 9999; ++Number) {
        const QString Name = NumberedPdfName(Stem, Number);
        const QFileInfo Taken(Name);
        if (!Taken.exists() && !Taken.isSymLink())
            return Name;
    }
    return NumberedPdfName(Stem, 1);
}

QString TCell5::NumberedPdfName(const QString& AStem, int ANumber) {
    return AStem + (ANumber == 1 ? QString() : QStringLiteral("-%1").arg(ANumber)) +
           QStringLiteral(".pdf");
}

int TCell5::PrintToNewPdf(const QString& AFolder) {
    const int Result = WriteNewPdf(AFolder);
    if (Result == 0)
        emit Printed(LastOutputFile());
    return Result;
}

int TCell5::WriteNewPdf(const QString& AFolder) {
    const QString Stem = PdfStem(AFolder);
    for (int Number = 1; Number <= 9999; ++Number) {
        const QString Name = NumberedPdfName(Stem, Number);
        const QFileInfo Taken(Name);
        if (Taken.exists() || Taken.isSymLink())
            continue;
        // The check above is only a shortcut: the file is created without
        // replacing anything, so a print of another program that took the
        // name a moment ago is kept as well.
        const int Result = FDocument.PrintToPdf(Name, TCellOutputFile::KeepExisting);
        if (Result != TCellPrinter::NameTaken)
            return Result;
    }
    FDocument.SetOutcome(QStringLiteral("%1 的文件名都已用完").arg(Stem), QString());
    return TCellPrinter::CannotCreate;
}

QString TCell5::PdfFolder() const {
    // Without a printer the pages go where the window says (the clerk's
    // last export folder), else where the clerk keeps documents.
    if (!FPdfFolder.isEmpty() && QFileInfo(FPdfFolder).isDir())
        return FPdfFolder;
    QString Folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (Folder.isEmpty() || !QDir().mkpath(Folder))
        Folder = QDir::tempPath();
    return Folder;
}

QString TCell5::PdfStem(const QString& AFolder) const {
    // Named after the table's title and the time.
    static const QRegularExpression Unsafe(QStringLiteral("[\\\\/:*?\"<>|\\s]+"));
    QString Title = CellText(1, 1).replace(Unsafe, QStringLiteral("_")).left(60);
    if (Title.isEmpty())
        Title = QStringLiteral("报表");
    const QString Stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return QDir(AFolder).filePath(Title + QLatin1Char('-') + Stamp);
}
