#include "TCellPageSetup.h"

QPageLayout TCellPageSetup::Layout() const {
    return QPageLayout(QPageSize(Paper), Orientation, Margins, QPageLayout::Millimeter);
}

QString TCellPageSetup::ExpandPageText(const QString& AText, int APage, int ATotal) {
    QString Result = AText;
    Result.replace(QStringLiteral("&P"), QString::number(APage), Qt::CaseInsensitive);
    Result.replace(QStringLiteral("&S"), QString::number(ATotal), Qt::CaseInsensitive);
    return Result;
}
