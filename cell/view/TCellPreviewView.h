#pragma once

#include "cell/TCellPreviewPages.h"

#include <QAbstractScrollArea>

// The pages of a preview one below the other on a grey ground. Only the
// pages in view are drawn (TCellPreviewPages draws each when first asked
// for), so scrolling to a page draws that page and no other.
class TCellPreviewView : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum TFit { FitWidth, FitPage, FitNone };
    // Space around and between the pages, in pixels.
    static constexpr int Gap = 12;

    TCellPreviewView(TCellPreviewPages& APages, QWidget* AParent = nullptr);

    // The page at the top of the view (from 0).
    int CurrentPage() const;
    void GoToPage(int AIndex);
    // The zoom: 1 shows a page at its printed size on a screen of 96 dots
    // per inch. A fit follows the view's size until the zoom is set.
    double Zoom() const { return FZoom; }
    void SetZoom(double AZoom);
    void SetFit(TFit AFit);
    TFit Fit() const { return FFit; }
    static constexpr double MinZoom = 0.1;
    static constexpr double MaxZoom = 4.0;

signals:
    void CurrentPageChanged(int AIndex);

protected:
    // Home and End go to the first and the last page; the other keys
    // scroll as in any scrolled view.
    void keyPressEvent(QKeyEvent* AEvent) override;
    void paintEvent(QPaintEvent* AEvent) override;
    void resizeEvent(QResizeEvent* AEvent) override;
    void scrollContentsBy(int ADx, int ADy) override;

private:
    QSize PageSizeAt(double AZoom) const;
    QSize PagePixels() const { return PageSizeAt(FZoom); }
    int PageTop(int AIndex) const;
    void ApplyFit();
    void UpdateScrollBars();
    void NoteCurrentPage();

    TCellPreviewPages& FPages;
    double FZoom = 1;
    TFit FFit = FitWidth;
    int FShownPage = -1;
};
