#pragma once

#include <QString>
#include <QStringList>

class TExportSet;
struct TPrintRequest;

// One table of a continuous print: its name, its pages and the printer or
// PDF file it went to.
struct TPrintedTable {
    QString Table;
    int Pages = 0;
    QString Output;
};

// The texts that tell the clerk where the report window's output went and
// what an export would replace.

// The question before a continuous export replaces files: how many, which,
// and the files of the same kind it leaves alone.
QString ReplaceQuestion(const TExportSet& ASet);
// The success message of a continuous export: the folder, the files
// written, and the files of the same kind it left alone.
QString ContinuousExportDone(const TExportSet& ASet);
// The success message of a single export.
QString SingleExportDone(const QString& AFileName);
// The bottom strip's line after prints: AOutputs names each print's PDF file
// or printer, in order.
QString PrintedLine(const QStringList& AOutputs);
// The bottom strip's line after an export that wrote AFiles.
QString ExportedLine(const QStringList& AFiles);
// The title of the print dialog: the page count of the table, or how many
// tables a continuous print will print.
QString PrintDialogTitle(const TPrintRequest& ARequest);
// The message after a continuous print: how many tables and pages went to
// which printer (ACopies each) or into which PDF files, every table named.
QString ContinuousPrintDone(const QList<TPrintedTable>& ATables, bool AToPrinter, int ACopies);
// The title of the folder choice of a continuous export of ATables tables:
// it says that every table is written, each to a workbook of its own.
QString ContinuousExportFolderTitle(int ATables);
// The bottom strip's line when the unit list or the fund-nature list could
// not be read: the cause (a data-layer text, cause first) and then what the
// clerk is left without.
QString UnitListUnreadable(const QString& AError);
QString FundListUnreadable(const QString& AError);
