#pragma once

#include "TItemInfoClass.h"
#include "TNodeItem.h"
#include "platform/TComponent.h"
#include "platform/data/TADOQuery.h"

#include <QPointer>
#include <QStringList>
#include <QTreeWidget>
#include <functional>

class TADOConnection;
class TQueryThread;

// What the tree expands and selects by itself as nodes arrive.
enum TAutoExpandKind : quint8 { aekNone = 0, aekTitleNode = 1, aekFirstLeaf = 2 };

// Called before a node is filled: the handler may choose the item info's
// class and set the node's text. Fields is the current row, null for the top
// node.
using TOnBeforAddNode = std::function<void(QObject* Sender, const TADOQuery* Fields,
                                           TNodeItem* Node, TItemInfoClass& ItemInfoClass)>;
// Called once the node is in the tree.
using TOnAfterAddNode = std::function<void(QObject* Sender, const TADOQuery* Fields,
                                           TNodeItem* Node, TItemInfo* ItemInfo)>;

// Fills a tree view from a self-referencing table given as SQL whose rows
// carry an id, a parent id, a leaf flag, a caption and a display text.
//
// Activation puts one virtual top node (id TopVirNodeIdValue) into the tree
// and loads the rows whose parent id is that id under it. Deeper levels load
// all at once (LoadAll) or when the user expands a node; until then a
// non-leaf node has one placeholder child "【】" so it can be expanded. Each
// load is one query, run on the calling thread (SyncDataLoad) or on a
// TQueryThread whose rows are turned into nodes here, between which the
// application processes its pending messages. A load of everything on the
// calling thread reads the whole table once and builds the subtree from it,
// level by level without a call per level, in time that grows with the
// rows, however deep the tree.
//
// Anything that can end the tree's readiness (the connection closed or
// freed, the tree view gone, the application closing down) deactivates it:
// every node is deleted and running queries are abandoned.
class TDynamicTree : public TComponent {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TDynamicTree(TComponent* AOwner = nullptr);
    ~TDynamicTree() override;

    QString TopVirNodeIdValue() const { return FTopVirNodeIdValue; }
    void SetTopVirNodeIdValue(const QString& AValue) { FTopVirNodeIdValue = AValue; }
    QString TopVirNodeTitle() const { return FTopVirNodeTitle; }
    // Rebuilds an active tree under the new title.
    void SetTopVirNodeTitle(const QString& AValue);
    const QStringList& SqlTable() const { return FSqlTable; }
    void SetSqlTable(const QStringList& AValue) { FSqlTable = AValue; }
    QString FieldId() const { return FFieldId; }
    // Also orders the rows by the id.
    void SetFieldId(const QString& AValue);
    QString FieldPid() const { return FFieldPid; }
    void SetFieldPid(const QString& AValue) { FFieldPid = AValue; }
    QString FieldIsLeaf() const { return FFieldIsLeaf; }
    void SetFieldIsLeaf(const QString& AValue) { FFieldIsLeaf = AValue; }
    QString ValueIsLeaf() const { return FValueIsLeaf; }
    void SetValueIsLeaf(const QString& AValue) { FValueIsLeaf = AValue; }
    QString FieldCaption() const { return FFieldCaption; }
    void SetFieldCaption(const QString& AValue) { FFieldCaption = AValue; }
    QString FieldText() const { return FFieldText; }
    void SetFieldText(const QString& AValue) { FFieldText = AValue; }
    QString FieldOrderBy() const { return FFieldOrderBy; }
    void SetFieldOrderBy(const QString& AValue) { FFieldOrderBy = AValue; }
    TADOConnection* AdoConn() const { return FAdoConn; }
    // Leaves the tree inactive.
    void SetAdoConn(TADOConnection* AValue);
    QTreeWidget* TreeView() const { return FTreeView.data(); }
    // Moves an active tree to the new view.
    void SetTreeView(QTreeWidget* AValue);
    bool Active() const { return FActive; }
    // Raises TExceptDynamicTree when a property the tree needs is missing.
    void SetActive(bool AValue);
    bool LoadAll() const { return FLoadAll; }
    // Switched on, loads every subtree still pending; errors reach the caller.
    void SetLoadAll(bool AValue);
    TAutoExpandKind AutoExpandKind() const { return FAutoExpandKind; }
    void SetAutoExpandKind(TAutoExpandKind AValue);
    bool SyncDataLoad() const { return FSyncDataLoad; }
    void SetSyncDataLoad(bool AValue) { FSyncDataLoad = AValue; }

    TOnBeforAddNode OnBeforAddNode;
    TOnAfterAddNode OnAfterAddNode;

    // Placeholders currently in the tree and worker queries not yet
    // finished.
    int PendingNodeCount() const { return static_cast<int>(FPendingNodes.size()); }
    int QueryThreadCount() const { return static_cast<int>(FQueryThreads.size()); }

    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    bool IsReady();
    void CheckProperties() const;
    void Activate();
    void Deactivate();
    void AbandonQueryThreads();
    void TreeViewDestroyed();

    void BuildTopNode();
    QString ChildQuerySql(const TItemInfo* AParent) const;
    // Who gives a new node that may have children its children: the node
    // itself (a placeholder, or a query of its own under LoadAll), or the
    // subtree load that is placing it.
    enum class TChildLoad { OwnQuery, ByCaller };

    void LoadChildren(TNodeItem* ANode);
    void LoadChildrenNow(TNodeItem* ANode, std::unique_ptr<TADOQuery> AQuery);
    void LoadSubtreeNow(TNodeItem* ANode, std::unique_ptr<TADOQuery> AQuery);
    void StartQueryThread(TNodeItem* ANode, std::unique_ptr<TADOQuery> AQuery);
    void QueryEnd(TQueryThread* AThread, TADOQuery* ADataSet);
    void QueryThreadTerminated(TQueryThread* AThread);

    bool RowWanted(const TQueryThread* AThread);
    // Both return the new node when it is for the caller to fill (ByCaller),
    // null otherwise.
    TNodeItem* AddNodeFromRow(TNodeItem* AParent, TQueryThread* AThread, const TADOQuery* AFields,
                              TChildLoad ALoad = TChildLoad::OwnQuery);
    TNodeItem* FillRowNode(TNodeItem* AParent, std::unique_ptr<TNodeItem>& ANode,
                           TItemInfoClass AClass, const TADOQuery* AFields, TChildLoad ALoad);
    bool AddPlaceholder(TNodeItem* ANode, TItemInfoClass AClass);
    void DoExpanding(QTreeWidgetItem* AItem);

    void AutoExpand();
    void ExpandTitleNode();
    void ExpandFirstLeaf();

    QString FTopVirNodeIdValue;
    QString FTopVirNodeTitle;
    QStringList FSqlTable;
    QString FFieldId;
    QString FFieldPid;
    QString FFieldIsLeaf;
    QString FValueIsLeaf;
    QString FFieldCaption;
    QString FFieldText;
    QString FFieldOrderBy;
    TADOConnection* FAdoConn = nullptr;
    QPointer<QTreeWidget> FTreeView;
    QMetaObject::Connection FTreeViewDestroyed;
    QMetaObject::Connection FExpanding;
    bool FActive = false;
    bool FLoadAll = false;
    TAutoExpandKind FAutoExpandKind = aekTitleNode;
    bool FSyncDataLoad = true;
    TNodeItem::TNodeList FPendingNodes;
    QList<QPointer<TQueryThread>> FQueryThreads;
};
