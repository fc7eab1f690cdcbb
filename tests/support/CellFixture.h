#pragma once

#include "cell/view/TCell5.h"

#include <QString>
#include <QStringList>

// The folder of the report templates copied beside the binaries.
QString TemplateFolder();
QString SummaryTemplate();
QString DetailTemplate();
QString StateCapitalTemplate();

// Appends ARows body rows the way the report window writes a detail table:
// one call per cell, amounts as text, a fitted height per row.
void FillDetailRows(TCell5& AGrid, int ARows);

// Runs a program and returns its standard output; empty when it failed.
QString RunTool(const QString& AProgram, const QStringList& AArguments);
// Text of a PDF, or of its page APage from 1, NFKC-normalised (pdftotext
// gives some CJK characters as their radical or variant twins). pdftotext
// loses digits that follow Latin letters in these fonts (the page itself is
// right), so tests look for other texts.
QString PdfText(const QString& AFileName, int APage = 0);
int PdfPageCount(const QString& AFileName);
// One member of a zip archive (an xlsx workbook) as text.
QString ZipMember(const QString& AArchive, const QString& AMember);
