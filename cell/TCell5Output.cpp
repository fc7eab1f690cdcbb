// The grid on paper and in a workbook: preview, printing, PDF and export.
#include "TCell5.h"

#include "TCellPrinter.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
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
    QPrintPreviewDialog Dialog(&Printer, this);
    Dialog.setWindowTitle(QStringLiteral("打印预览"));
    Dialog.resize(1100, 800);
    connect(&Dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* APrinter) { TCellPrinter(Sheet()).Render(*APrinter); });
    return FDialogRunner(Dialog);
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
        return PrintToPdf(DefaultPdfPath());
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

QString TCell5::DefaultPdfPath() const {
    // Without a printer the pages go where the clerk keeps documents, named
    // after the table's title and the time, so nothing earlier is replaced.
    QString Folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (Folder.isEmpty() || !QDir().mkpath(Folder))
        Folder = QDir::tempPath();
    static const QRegularExpression Unsafe(QStringLiteral("[\\\\/:*?\"<>|\\s]+"));
    QString Title = CellText(1, 1).replace(Unsafe, QStringLiteral("_")).left(60);
    if (Title.isEmpty())
        Title = QStringLiteral("报表");
    const QString Stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    // Two prints of one table within a second still give two files.
    const QString Base = QDir(Folder).filePath(Title + QLatin1Char('-') + Stamp);
    QString Path = Base + QStringLiteral(".pdf");
    for (int Copy = 2; QFileInfo::exists(Path); ++Copy)
        Path = Base + QStringLiteral("-%1.pdf").arg(Copy);
    return Path;
}
