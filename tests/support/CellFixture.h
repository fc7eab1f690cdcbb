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

// The readers below check the structure of every PDF they are given first
// (PdfStructureFault) and fail the running test, once per test and file,
// when it is not sound: no test takes a repaired file's text for the file's.
//
// Text of a PDF, or of its page APage from 1, as pdftotext reads it in
// content order, without any normalisation: what a user copying from the
// PDF gets.
QString PdfText(const QString& AFileName, int APage = 0);
int PdfPageCount(const QString& AFileName);
// A document property as pdfinfo shows it ("Title", "Subject", ...).
QString PdfProperty(const QString& AFileName, const QString& AName);
// Whether every object of the PDF's cross-reference table or stream starts
// where it says (those kept in object streams are found through theirs):
// readers such as poppler repair a wrong table quietly, others refuse the
// file.
bool PdfTableIsExact(const QString& AFileName);
// One member of a zip archive (an xlsx workbook) as text.
QString ZipMember(const QString& AArchive, const QString& AMember);
