#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// What is wrong with the structure of the PDF AFileName, or empty text for
// a sound file. Two looks through qpdf:
// - `qpdf --check`: the cross-reference table (each object at its offset,
//   the count of objects, where the table starts), the trailer, every
//   stream's length and encoding. A warning counts as a fault: it means a
//   reader had to repair the file (poppler does so silently, others refuse
//   the file).
// - the objects as qpdf reads them: none missing (a free or null entry, a
//   reference to an object that is not there), the page tree whole (every
//   node's /Count the pages under it, every kid naming its node as
//   /Parent, no page twice) and the document information a dictionary.
QString PdfStructureFault(const QString& AFileName);

// Where each object of the PDF starts, by number, as its cross-reference
// table or stream says; -1 for a free number or an object kept in an
// object stream. Empty when qpdf cannot read the file without repairing it.
std::vector<qsizetype> PdfObjectOffsets(const QByteArray& APdf);
// A plain cross-reference table ("xref" to its last entry) of objects at
// AOffsets, by number; -1 marks a free number (0 always is).
QByteArray PdfCrossReference(const std::vector<qsizetype>& AOffsets);
