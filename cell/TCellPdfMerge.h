#pragma once

#include <QByteArray>

// Joins two PDFs made by Qt's writer from one sheet into one: the pages of
// the second follow those of the first. The second's objects are numbered
// on after the first's (their streams copied as they are), its pages hang
// under the first's page tree, and its catalog, page tree and document
// information are left out: the joined file keeps the first's. Used to
// make the two halves of a long table on two cores at once.
class TCellPdfMerge {
public:
    // False, with AFirst unchanged, when either file is not laid out as
    // Qt's writer lays it out.
    static bool Append(QByteArray& AFirst, const QByteArray& ASecond);
};
