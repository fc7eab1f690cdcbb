#pragma once

#include <QString>

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
