#pragma once

#include <QString>
#include <QtGlobal>

class TNodeItem;

// The row values a dynamic-tree node carries. The node owns its item info
// and frees it with itself. Descendants may add fields of their own; an
// OnBeforAddNode handler picks the class through TItemInfoClass.
class TItemInfo {
public:
    // What the node stands for.
    enum : quint8 { KindTop = 0, KindRow = 1, KindPlaceholder = 2 };

    TItemInfo() = default;
    virtual ~TItemInfo();
    TItemInfo(const TItemInfo&) = delete;
    TItemInfo& operator=(const TItemInfo&) = delete;

    QString Caption;
    QString Id;
    QString ParentId;
    // Free for the application's own use; the tree never reads or writes it.
    void* Tag = nullptr;
    // The node that carries this object; not set for placeholders.
    TNodeItem* Node = nullptr;
    quint8 Kind = KindTop;
    bool IsLeaf = false;
};
