#pragma once

class QTreeWidgetItem;

// A tree node's state-image index, as the original tree view kept it: -1 is
// no state image. The images stand in the positions of the usual state image
// list: 1 an empty box, 2 a checked box, 3 a grayed (partly checked) box;
// other indices show no image.
int StateIndex(const QTreeWidgetItem* ANode);
void SetStateIndex(QTreeWidgetItem* ANode, int AIndex);

constexpr int NoStateIndex = -1;
