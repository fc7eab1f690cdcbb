#include "TDropDownList.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

TDropDownList::TDropDownList(QWidget* AParent)
    : QComboBox(AParent) {}

int TDropDownList::ListWidth() const {
    QAbstractItemView* List = view();
    int Widest = 0;
    for (int Row = 0; Row < count(); ++Row)
        Widest =
            std::max(Widest, List->sizeHintForIndex(model()->index(Row, modelColumn())).width());
    int Width = Widest + 2 * List->frameWidth();
    if (count() > maxVisibleItems())
        Width += List->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, List);
    return Width;
}

void TDropDownList::showPopup() {
    // The open list is never narrower than the box: Qt sizes it to the box
    // and lets it grow to its minimum width.
    view()->setMinimumWidth(ListWidth());
    QComboBox::showPopup();
}
