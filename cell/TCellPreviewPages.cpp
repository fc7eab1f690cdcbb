#include "TCellPreviewPages.h"

#include <QPainter>
#include <cmath>

TCellPreviewPages::TCellPreviewPages(const TCellSheet& ASheet, const QPageLayout& ALayout)
    : FPrinter(ASheet)
    , FLayout(ALayout)
    , FCount(FPrinter.PageCount(ALayout, Resolution)) {}

QSizeF TCellPreviewPages::PageSize() const {
    return FLayout.fullRect(QPageLayout::Point).size();
}

QImage TCellPreviewPages::Page(int AIndex, int AWidth) {
    if (AIndex < 0 || AIndex >= FCount || AWidth < 1)
        return QImage();
    for (auto Kept = FKept.begin(); Kept != FKept.end(); ++Kept) {
        if (Kept->Index != AIndex || Kept->Width != AWidth)
            continue;
        TKeptPage Found = *Kept;
        FKept.erase(Kept);
        FKept.push_front(Found);
        return Found.Image;
    }
    FKept.push_front({AIndex, AWidth, Draw(AIndex, AWidth)});
    if (FKept.size() > size_t(Kept))
        FKept.pop_back();
    return FKept.front().Image;
}

QImage TCellPreviewPages::Draw(int AIndex, int AWidth) {
    const QRect Full = FLayout.fullRectPixels(Resolution);
    const double Scale = double(AWidth) / std::max(1, Full.width());
    const int Height = std::max(1, int(std::lround(Full.height() * Scale)));
    QImage Image(AWidth, Height, QImage::Format_RGB32);
    Image.fill(Qt::white);
    QPainter Painter(&Image);
    Painter.setRenderHint(QPainter::Antialiasing);
    Painter.setRenderHint(QPainter::TextAntialiasing);
    Painter.scale(Scale, Scale);
    Painter.translate(FLayout.paintRectPixels(Resolution).topLeft());
    FPrinter.PaintPage(Painter, FLayout, Resolution, AIndex);
    Painter.end();
    ++FDrawn;
    return Image;
}
