#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

// How the grid goes onto paper: paper, orientation, margins in millimetres,
// the rows repeated at the top of every page, and the three parts of the
// line printed at the foot of every page.
struct TCellPageSetup {
    QPageSize::PageSizeId Paper = QPageSize::A4;
    QPageLayout::Orientation Orientation = QPageLayout::Landscape;
    QMarginsF Margins{15.0, 15.0, 15.0, 15.0};
    bool FitToWidth = true;
    int RepeatFirstRow = 0; // 0: nothing repeated
    int RepeatLastRow = 0;
    // Rows kept together at the end of the table, if any (0: none).
    int KeepFirstRow = 0;
    int KeepLastRow = 0;
    QString FooterLeft;
    QString FooterCentre;
    QString FooterRight;

    bool HasRepeatedRows() const { return RepeatFirstRow > 0 && RepeatLastRow >= RepeatFirstRow; }
    bool HasFooter() const {
        return !FooterLeft.isEmpty() || !FooterCentre.isEmpty() || !FooterRight.isEmpty();
    }
    QPageLayout Layout() const;

    // A footer text with &P replaced by the page number and &S by the total.
    static QString ExpandPageText(const QString& AText, int APage, int ATotal);
};
