#pragma once

#include "TItemInfo.h"

#include <QList>
#include <QTreeWidgetItem>
#include <memory>

// A node of a dynamic tree. It owns its item info. A placeholder node (item
// info of kind placeholder) stands in for children not loaded yet and is
// listed in its tree's pending list, which it leaves when it is deleted.
class TNodeItem : public QTreeWidgetItem {
public:
    using TNodeList = QList<TNodeItem*>;

    // A reference that notices when its node has been deleted: a parent whose
    // rows are still on their way may be gone by the time they arrive.
    class TWeakRef {
    public:
        TWeakRef() = default;
        explicit TWeakRef(TNodeItem* ANode);
        TNodeItem* Get() const { return FLife.expired() ? nullptr : FNode; }

    private:
        TNodeItem* FNode = nullptr;
        std::weak_ptr<const void> FLife;
    };

    TNodeItem();
    ~TNodeItem() override;

    // The node as a TNodeItem, or null for another kind of item.
    static TNodeItem* From(QTreeWidgetItem* AItem) { return dynamic_cast<TNodeItem*>(AItem); }

    TItemInfo* ItemInfo() const { return FItemInfo.get(); }
    void SetItemInfo(std::unique_ptr<TItemInfo> AItemInfo) { FItemInfo = std::move(AItemInfo); }
    TWeakRef WeakRef() { return TWeakRef(this); }

    TNodeItem* ChildNode(int AIndex) const { return From(child(AIndex)); }
    TNodeItem* ParentNode() const { return From(parent()); }

    // For a placeholder, the pending list it is registered in.
    TNodeList* OwnerList = nullptr;
    // The user's expansion started a load: expand when the first child comes.
    bool ExpandOnLoad = false;
    // A child query has been issued (or the node is a leaf): nothing to load.
    bool ChildrenLoaded = false;
    // The automatic expand-and-select rule has acted on this node.
    bool AutoExpanded = false;

private:
    std::unique_ptr<TItemInfo> FItemInfo;
    std::shared_ptr<const void> FLife;
};
