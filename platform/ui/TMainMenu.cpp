#include "TMainMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {
const char* const GroupProperty = "varnholt.groupIndex";
const char* const MergedProperty = "varnholt.merged";
const char* const HiddenByMergeProperty = "varnholt.hiddenByMerge";
} // namespace

TMainMenu::TMainMenu(TComponent* AOwner)
    : TComponent(AOwner)
    , FMenuBar(new QMenuBar) {}

TMainMenu::~TMainMenu() {
    delete FMenuBar.data();
}

QMenu* TMainMenu::AddItem(const QString& AName, const QString& ACaption, int AGroupIndex) {
    QMenu* Menu = FMenuBar->addMenu(ACaption);
    Menu->setObjectName(AName);
    Menu->menuAction()->setObjectName(AName);
    SetGroupIndex(Menu->menuAction(), AGroupIndex);
    return Menu;
}

QList<QAction*> TMainMenu::Items() const {
    return FMenuBar ? FMenuBar->actions() : QList<QAction*>();
}

int TMainMenu::GroupIndex(const QAction* AItem) {
    return AItem->property(GroupProperty).toInt();
}

void TMainMenu::SetGroupIndex(QAction* AItem, int AGroupIndex) {
    AItem->setProperty(GroupProperty, AGroupIndex);
}

void TMainMenu::MergeInto(QMenuBar* AFrameBar) const {
    Unmerge(AFrameBar);
    QList<QAction*> Merged;
    for (QAction* Item : Items()) {
        const int Group = GroupIndex(Item);
        QAction* Before = nullptr;
        for (QAction* Own : AFrameBar->actions()) {
            if (Merged.contains(Own))
                continue;
            if (GroupIndex(Own) == Group && Own->isVisible()) {
                Own->setVisible(false);
                Own->setProperty(HiddenByMergeProperty, true);
            }
            if (!Before && GroupIndex(Own) > Group)
                Before = Own;
        }
        AFrameBar->insertAction(Before, Item);
        Merged.append(Item);
    }
    QVariantList Stored;
    for (QAction* Item : Merged)
        Stored.append(QVariant::fromValue(static_cast<QObject*>(Item)));
    AFrameBar->setProperty(MergedProperty, Stored);
}

void TMainMenu::Unmerge(QMenuBar* AFrameBar) {
    // Only pointers still in the bar are touched: a merged item whose window
    // has gone was removed from the bar when it was destroyed.
    const QVariantList Stored = AFrameBar->property(MergedProperty).toList();
    for (QAction* Own : AFrameBar->actions()) {
        for (const QVariant& Value : Stored) {
            if (Value.value<QObject*>() == Own)
                AFrameBar->removeAction(Own);
        }
    }
    AFrameBar->setProperty(MergedProperty, QVariant());
    for (QAction* Own : AFrameBar->actions()) {
        if (Own->property(HiddenByMergeProperty).toBool()) {
            Own->setVisible(true);
            Own->setProperty(HiddenByMergeProperty, QVariant());
        }
    }
}
