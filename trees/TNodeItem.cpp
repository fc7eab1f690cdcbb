#include "TNodeItem.h"

TNodeItem::TWeakRef::TWeakRef(TNodeItem* ANode)
    : FNode(ANode)
    , FLife(ANode ? ANode->FLife : nullptr) {}

TNodeItem::TNodeItem()
    : FLife(std::make_shared<char>()) {}

TNodeItem::~TNodeItem() {
    if (FItemInfo && FItemInfo->Kind == TItemInfo::KindPlaceholder && OwnerList)
        OwnerList->removeOne(this);
    // Children go in the base destructor; references to this node must
    // already read as gone when theirs run.
    FLife.reset();
}
