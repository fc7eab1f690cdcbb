// The grid on paper and in a workbook: preview, printing, PDF and export.
#include "TCell5.h"

#include "cell/TCellDrawnText.h"
#include "cell/TCellPdfMend.h"
#include "cell/TCellPrinter.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPaintEngine>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>

int TCell5::PreviewSheet(int ASheet, int AMode) {
    Q_UNUSED(AMode);
    if (ASheet != 0)
        return -1;
    QPrinter Printer(QPrinter::HighResolution);
    Printer.setPageLayout(Sheet().Page().Layout());
    // The preview's own print button offers what printing without it does:
    // the table's name, and without a printer a new PDF in the same folder.
    Printer.setDocName(CellText(1, 1));
    if (!FPrintFile.isEmpty())
        Printer.setOutputFileName(FPrintFile);
    else if (QPrinterInfo::defaultPrinter().isNull())
        Printer.setOutputFileName(FreePdfName());
    QPrintPreviewDialog Dialog(&Printer, this);
    Dialog.setWindowTitle(QStringLiteral("打印预览"));
    Dialog.resize(1100, 800);
    bool Rendered = false;
    connect(&Dialog, &QPrintPreviewDialog::paintRequested, this,
            [this, &Rendered](QPrinter* APrinter) { Rendered = RenderPreview(*APrinter); });
    const int Result = FDialogRunner(Dialog);
    // The preview closes with "accepted" only after its print button
    // printed.
    if (Result == QDialog::Accepted && Rendered)
        emit Printed(Printer.outputFormat() == QPrinter::PdfFormat ? Printer.outputFileName()
                                                                   : Printer.printerName());
    return Result;
}

// The preview paints through the same call as its printing; printed to a
// PDF file, the file gets the document properties and its text layer is
// mended as every PDF of the grid is. A file that cannot be mended stays as
// Qt wrote it, and the preview does not report it printed.
bool TCell5::RenderPreview(QPrinter& APrinter) {
    const TCellPdfInfo Info = FDocument.PdfInfo();
    const bool ToPdf = APrinter.outputFormat() == QPrinter::PdfFormat &&
                       !APrinter.outputFileName().isEmpty() &&
                       APrinter.paintEngine()->type() == QPaintEngine::Pdf;
    if (ToPdf) {
        APrinter.setDocName(Info.Title);
        APrinter.setCreator(Info.Creator);
    }
    TCellDrawnText Drawn;
    if (!TCellPrinter(Sheet()).Render(APrinter, ToPdf ? &Drawn : nullptr))
        return false;
    QString Error;
    return !ToPdf ||
           TCellPdfMend(Drawn, Info.Subject).ApplyToFile(APrinter.outputFileName(), Error);
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
        return PrintToNewPdf();
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
    const QString Stem = DefaultPdfStem();
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

int TCell5::PrintToNewPdf() {
    const QString Stem = DefaultPdfStem();
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

QString TCell5::DefaultPdfStem() const {
    // Without a printer the pages go where the clerk keeps documents, named
    // after the table's title and the time.
    QString Folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (Folder.isEmpty() || !QDir().mkpath(Folder))
        Folder = QDir::tempPath();
    static const QRegularExpression Unsafe(QStringLiteral("[\\\\/:*?\"<>|\\s]+"));
    QString Title = CellText(1, 1).replace(Unsafe, QStringLiteral("_")).left(60);
    if (Title.isEmpty())
        Title = QStringLiteral("报表");
    const QString Stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return QDir(Folder).filePath(Title + QLatin1Char('-') + Stamp);
}
