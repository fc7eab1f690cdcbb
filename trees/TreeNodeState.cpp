#include "TreeNodeState.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVariantList>

namespace {
constexpr int StateIndexRole = Qt::UserRole + 0x5301;
const char* const StateImagesProperty = "varnholt.stateImages";

QVariant BoxOf(const TStateImages& AImages, int AIndex) {
    if (AIndex == AImages.Grayed)
        return Qt::PartiallyChecked;
    if (AIndex == AImages.Checked)
        return Qt::Checked;
    if (AIndex == AImages.Empty)
        return Qt::Unchecked;
    return QVariant();
}

// Qt draws the box from the check-state role. A node is user-checkable by
// default, and then the view toggles the box itself on a click, behind the
// state index's back; without that flag only the owner changes states.
void DrawBox(QTreeWidgetItem* ANode, const TStateImages& AImages) {
    if (ANode->flags().testFlag(Qt::ItemIsUserCheckable))
        ANode->setFlags(ANode->flags() & ~Qt::ItemIsUserCheckable);
    ANode->setData(0, Qt::CheckStateRole, BoxOf(AImages, StateIndex(ANode)));
}
} // namespace

int StateIndex(const QTreeWidgetItem* ANode) {
    const QVariant Value = ANode->data(0, StateIndexRole);
    return Value.isValid() ? Value.toInt() : NoStateIndex;
}

void SetStateIndex(QTreeWidgetItem* ANode, int AIndex) {
    ANode->setData(0, StateIndexRole, AIndex);
    DrawBox(ANode, StateImagesOf(ANode->treeWidget()));
}

TStateImages StateImagesOf(const QTreeWidget* ATree) {
    const QVariantList Indices =
        ATree ? ATree->property(StateImagesProperty).toList() : QVariantList();
    if (Indices.size() != 3)
        return TStateImages();
    return {Indices[0].toInt(), Indices[1].toInt(), Indices[2].toInt()};
}

void SetStateImages(QTreeWidget* ATree, const TStateImages& AImages) {
    ATree->setProperty(StateImagesProperty,
                       QVariantList{AImages.Empty, AImages.Checked, AImages.Grayed});
    for (QTreeWidgetItemIterator It(ATree); *It; ++It) {
        if (StateIndex(*It) != NoStateIndex)
            DrawBox(*It, AImages);
    }
}
