#include "TreeNodeState.h"

#include <QTreeWidgetItem>

namespace {
constexpr int StateIndexRole = Qt::UserRole + 0x5301;

QVariant CheckImageOf(int AIndex) {
    switch (AIndex) {
    case 1:
        return Qt::Unchecked;
    case 2:
        return Qt::Checked;
    case 3:
        return Qt::PartiallyChecked;
    default:
        return QVariant();
    }
}
} // namespace

int StateIndex(const QTreeWidgetItem* ANode) {
    const QVariant Value = ANode->data(0, StateIndexRole);
    return Value.isValid() ? Value.toInt() : NoStateIndex;
}

void SetStateIndex(QTreeWidgetItem* ANode, int AIndex) {
    ANode->setData(0, StateIndexRole, AIndex);
    // Qt draws the box from the check-state role; without the user-checkable
    // flag it never toggles the box itself, so only the owner changes states.
    ANode->setData(0, Qt::CheckStateRole, CheckImageOf(AIndex));
}
