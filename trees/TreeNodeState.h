#pragma once

class QTreeWidget;
class QTreeWidgetItem;

// A tree node's state-image index, as the tree's callers read it: -1 is
// no state image.
int StateIndex(const QTreeWidgetItem* ANode);
// Sets the index and draws the box it stands for in the node's tree.
void SetStateIndex(QTreeWidgetItem* ANode, int AIndex);

constexpr int NoStateIndex = -1;

// Which state indices show the empty, the checked and the grayed (partly
// checked) box in a tree; other indices show none. Where two are equal,
// grayed wins over checked, checked over empty. By default 1, 2 and 3, the
// positions of the usual state image list; a check tree configured with
// other indices gives its tree its own.
struct TStateImages {
    int Empty = 1;
    int Checked = 2;
    int Grayed = 3;
};

TStateImages StateImagesOf(const QTreeWidget* ATree);
// Sets a tree's state images and draws every node of it anew; the nodes'
// indices stay as they are.
void SetStateImages(QTreeWidget* ATree, const TStateImages& AImages);
