#include "TRadioGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(QWidget* AParent)
    : QGroupBox(AParent)
    , FButtons(new QButtonGroup(this)) {
    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(10, 6, 10, 6);
}

void TRadioGroup::SetItems(const QStringList& AItems) {
    for (QAbstractButton* Button : FButtons->buttons()) {
        FButtons->removeButton(Button);
        delete Button;
    }
    for (int Index = 0; Index < AItems.size(); ++Index) {
        auto* Button = new QRadioButton(AItems[Index], this);
        FButtons->addButton(Button, Index);
        layout()->addWidget(Button);
    }
}

int TRadioGroup::Count() const {
    return int(FButtons->buttons().size());
}

int TRadioGroup::ItemIndex() const {
    return FButtons->checkedId();
}

void TRadioGroup::SetItemIndex(int AIndex) {
    if (QAbstractButton* Button = FButtons->button(AIndex)) {
        Button->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last button directly.
    FButtons->setExclusive(false);
    for (QAbstractButton* Button : FButtons->buttons())
        Button->setChecked(false);
    FButtons->setExclusive(true);
}
