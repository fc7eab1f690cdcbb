#pragma once

#include "TCellPrinter.h"

#include <QImage>
#include <QPageLayout>
#include <QSizeF>
#include <deque>

// The pages of a sheet as a preview shows them. They are counted at once
// (a pagination is quick), but each page is drawn only when it is asked
// for, so a long table shows its first page as soon as that one is drawn.
// The last few pages drawn are kept for when they are looked at again.
class TCellPreviewPages {
public:
    // Pages are counted and laid out at the resolution the PDFs are made
    // at, so the preview breaks pages where a PDF of the sheet does.
    static constexpr int Resolution = 600;
    // How many drawn pages are kept.
    static constexpr int Kept = 8;

    TCellPreviewPages(const TCellSheet& ASheet, const QPageLayout& ALayout);

    int Count() const { return FCount; }
    // The whole page, in points.
    QSizeF PageSize() const;
    // Page AIndex (from 0) drawn AWidth pixels wide, on white paper. Null
    // for an index outside the pages or a width below one.
    QImage Page(int AIndex, int AWidth);
    // How many page images have been drawn since the pages were made.
    int DrawnCount() const { return FDrawn; }

private:
    struct TKeptPage {
        int Index = 0;
        int Width = 0;
        QImage Image;
    };

    QImage Draw(int AIndex, int AWidth);

    TCellPrinter FPrinter;
    QPageLayout FLayout;
    int FCount = 0;
    int FDrawn = 0;
    std::deque<TKeptPage> FKept; // the most recent first
};
