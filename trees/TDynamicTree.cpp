#include "TDynamicTree.h"

#include "TExceptDynamicTree.h"
#include "TQueryThread.h"
#include "TRowsByParent.h"
#include "db/SqlLiteral.h"
#include "platform/data/TADOConnection.h"
#include "platform/data/TADOQuery.h"
#include "platform/ui/TApplication.h"

#include <QCoreApplication>
#include <QSet>
#include <vector>

namespace {

const QString TopNodeCaption = QStringLiteral("^_^");
const QString TopNodeParentId = QStringLiteral("★");
const QString PlaceholderText = QStringLiteral("【】");
// A parent-id field of this exact name loads every row under the node.
const QString UnfilteredPidField = QStringLiteral("Piid");

TExceptDynamicTree MissingProperty(const char* AName) {
    return TExceptDynamicTree(QStringLiteral("没有指定%1属性值！").arg(QString::fromLatin1(AName)));
}

void ProcessPendingMessages() {
    if (Application)
        Application->ProcessMessages();
    else
        QCoreApplication::processEvents();
}

} // namespace

TDynamicTree::TDynamicTree(TComponent* AOwner)
    : TComponent(AOwner) {}

TDynamicTree::~TDynamicTree() {
    SetActive(false);
    disconnect(FTreeViewDestroyed);
    // Placeholders can outlive the component only in a tree view that went
    // away first; they must not reach back into this list.
    for (TNodeItem* Node : std::as_const(FPendingNodes))
        Node->OwnerList = nullptr;
}

// ---------------------------------------------------------------------------
// Properties

void TDynamicTree::SetTopVirNodeTitle(const QString& AValue) {
    if (AValue == FTopVirNodeTitle)
        return;
    const bool WasActive = FActive;
    SetActive(false);
    FTopVirNodeTitle = AValue;
    SetActive(WasActive);
}

void TDynamicTree::SetFieldId(const QString& AValue) {
    FFieldId = AValue;
    FFieldOrderBy = AValue;
}

void TDynamicTree::SetAdoConn(TADOConnection* AValue) {
    if (AValue == FAdoConn)
        return;
    SetActive(false);
    if (FAdoConn)
        FAdoConn->RemoveFreeNotification(this);
    FAdoConn = AValue;
    if (FAdoConn)
        FAdoConn->FreeNotification(this);
}

void TDynamicTree::SetTreeView(QTreeWidget* AValue) {
    if (AValue == FTreeView)
        return;
    const bool WasActive = FActive;
    SetActive(false);
    disconnect(FTreeViewDestroyed);
    FTreeView = AValue;
    if (!AValue)
        return;
    // A QTreeWidget is no component: its destroyed signal stands in for the
    // free notification.
    FTreeViewDestroyed =
        connect(AValue, &QObject::destroyed, this, [this] { TreeViewDestroyed(); });
    SetActive(WasActive);
}

void TDynamicTree::TreeViewDestroyed() {
    // Only the QObject part of the view is left: touch nothing of it.
    FTreeView = nullptr;
    disconnect(FTreeViewDestroyed);
    SetActive(false);
}

void TDynamicTree::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation == TOperation::opRemove && AComponent && AComponent == FAdoConn)
        SetAdoConn(nullptr);
}

void TDynamicTree::SetActive(bool AValue) {
    if (AValue == FActive)
        return;
    if (AValue)
        Activate();
    else
        Deactivate();
}

void TDynamicTree::SetLoadAll(bool AValue) {
    if (AValue == FLoadAll)
        return;
    FLoadAll = AValue;
    if (!AValue)
        return;
    // Each load deletes its placeholder, which leaves the list.
    while (!FPendingNodes.isEmpty()) {
        TNodeItem* Placeholder = FPendingNodes.first();
        const TNodeItem::TWeakRef Pending = Placeholder->WeakRef();
        LoadChildren(Placeholder->ParentNode());
        if (Pending.Get())
            break; // the tree could not load it (no longer ready)
    }
}

void TDynamicTree::SetAutoExpandKind(TAutoExpandKind AValue) {
    if (AValue == FAutoExpandKind)
        return;
    FAutoExpandKind = AValue;
    if (FActive)
        AutoExpand();
}

// ---------------------------------------------------------------------------
// Activation

bool TDynamicTree::IsReady() {
    const bool Ready = FActive && FAdoConn && FAdoConn->Connected() && FTreeView &&
                       !QCoreApplication::closingDown() && !IsDestroying();
    if (!Ready)
        SetActive(false);
    return Ready;
}

void TDynamicTree::CheckProperties() const {
    if (!FTreeView)
        throw MissingProperty("TreeView");
    if (!FAdoConn)
        throw MissingProperty("AdoConn");
    if (!FAdoConn->Connected())
        throw TExceptDynamicTree(QStringLiteral("指定的AdoConnection没有打开！"));
    if (FSqlTable.join(QLatin1Char('\n')).trimmed().isEmpty())
        throw MissingProperty("SqlTable");
    const std::pair<const QString*, const char*> Fields[] = {
        {&FFieldId, "FieldId"},         {&FFieldPid, "FieldPid"},
        {&FFieldIsLeaf, "FieldIsLeaf"}, {&FFieldCaption, "FieldCaption"},
        {&FFieldText, "FieldText"},
    };
    for (const auto& [Value, Name] : Fields) {
        if (Value->trimmed().isEmpty())
            throw MissingProperty(Name);
    }
}

void TDynamicTree::Activate() {
    CheckProperties();
    FExpanding = connect(FTreeView, &QTreeWidget::itemExpanded, this,
                         [this](QTreeWidgetItem* AItem) { DoExpanding(AItem); });
    FActive = true;
    BuildTopNode();
}

void TDynamicTree::Deactivate() {
    FActive = false;
    AbandonQueryThreads();
    disconnect(FExpanding);
    if (FTreeView)
        FTreeView->clear();
}

void TDynamicTree::AbandonQueryThreads() {
    // Nobody waits for them: they finish on their own and free themselves.
    while (!FQueryThreads.isEmpty()) {
        if (TQueryThread* Thread = FQueryThreads.takeLast()) {
            Thread->Terminate();
            Thread->OnQueryEnd = nullptr;
            Thread->OnTerminate = nullptr;
        }
    }
}

// ---------------------------------------------------------------------------
// Loading

void TDynamicTree::BuildTopNode() {
    FTreeView->clear();
    auto Node = std::make_unique<TNodeItem>();
    TItemInfoClass InfoClass;
    if (OnBeforAddNode)
        OnBeforAddNode(this, nullptr, Node.get(), InfoClass);

    const TNodeItem::TWeakRef Top = Node->WeakRef();
    try {
        std::unique_ptr<TItemInfo> Info = InfoClass.Create();
        Info->Kind = TItemInfo::KindTop;
        Info->Node = Node.get();
        Info->Id = FTopVirNodeIdValue;
        Info->ParentId = TopNodeParentId;
        Info->Caption = TopNodeCaption;
        Info->IsLeaf = false;
        TItemInfo* InfoRef = Info.get();
        Node->SetItemInfo(std::move(Info));
        if (Node->text(0).trimmed().isEmpty())
            Node->setText(0, FTopVirNodeTitle);
        if (!IsReady())
            return;
        FTreeView->addTopLevelItem(Node.release());
        if (OnAfterAddNode)
            OnAfterAddNode(this, nullptr, Top.Get(), InfoRef);
        LoadChildren(Top.Get());
        AutoExpand();
    } catch (...) {
        // The tree stays empty, though active.
        if (!Node)
            delete Top.Get();
    }
}

// AParent null: every row of the table.
QString TDynamicTree::ChildQuerySql(const TItemInfo* AParent) const {
    const QString Table = FSqlTable.join(QLatin1Char('\n')).trimmed();
    QString Sql;
    if (!AParent || FFieldPid == UnfilteredPidField)
        Sql = QStringLiteral("select a.* from (") + Table + QStringLiteral(") a ");
    else
        Sql = QStringLiteral("select a.* from (") + Table + QStringLiteral(") a where a.") +
              FFieldPid.trimmed() + QLatin1Char('=') + QuotedSqlString(AParent->Id);
    const QString OrderBy = FFieldOrderBy.trimmed();
    if (!OrderBy.isEmpty())
        Sql += QStringLiteral(" Order by a.") + OrderBy;
    return Sql;
}

void TDynamicTree::LoadChildren(TNodeItem* ANode) {
    if (!IsReady() || !ANode || !ANode->ItemInfo())
        return;
    qDeleteAll(ANode->takeChildren());
    const bool Subtree = FLoadAll && FSyncDataLoad;
    auto Query = std::make_unique<TADOQuery>();
    Query->SetConnection(FAdoConn);
    Query->SetSQLText(ChildQuerySql(Subtree ? nullptr : ANode->ItemInfo()));
    ANode->ChildrenLoaded = true;
    if (Subtree)
        LoadSubtreeNow(ANode, std::move(Query));
    else if (FSyncDataLoad)
        LoadChildrenNow(ANode, std::move(Query));
    else
        StartQueryThread(ANode, std::move(Query));
}

void TDynamicTree::LoadChildrenNow(TNodeItem* ANode, std::unique_ptr<TADOQuery> AQuery) {
    const TNodeItem::TWeakRef Parent = ANode->WeakRef();
    AQuery->Open();
    while (!AQuery->Eof() && IsReady()) {
        AddNodeFromRow(Parent.Get(), nullptr, AQuery.get());
        AQuery->Next();
    }
}

// The whole table is in AQuery; each node's rows are those whose parent id
// is its id, in the query's order, as its own query would give them. The
// nodes are placed depth first, each subtree before the next sibling, as
// loading node by node does, but the levels in progress are kept on a list
// instead of in nested calls. A node whose id is already on its own path (a
// cycle in the table) gets no children; under an unfiltered parent-id field
// every row belongs under every node, so the rows go under ANode and no
// deeper. The automatic selection runs once the subtree is there.
void TDynamicTree::LoadSubtreeNow(TNodeItem* ANode, std::unique_ptr<TADOQuery> AQuery) {
    struct TLevel {
        TNodeItem::TWeakRef Parent;
        QString Id;
        QList<int> Rows;
        qsizetype Next = 0;
    };
    AQuery->Open();
    const bool Flat = FFieldPid == UnfilteredPidField;
    const TRowsByParent Rows(*AQuery, Flat ? QString() : FFieldPid);
    std::vector<TLevel> Path;
    QSet<QString> OnPath;
    const auto Enter = [&](TNodeItem* ANode, const QList<int>& ARows) {
        Path.push_back({ANode->WeakRef(), ANode->ItemInfo()->Id, ARows});
        OnPath.insert(Path.back().Id);
    };
    Enter(ANode, Flat ? Rows.All() : Rows.Children(ANode->ItemInfo()->Id));
    while (!Path.empty() && IsReady()) {
        TLevel& Level = Path.back();
        if (Level.Next >= Level.Rows.size()) {
            OnPath.remove(Level.Id);
            Path.pop_back();
            continue;
        }
        AQuery->SetRecNo(Level.Rows.at(Level.Next++));
        TNodeItem* Node =
            AddNodeFromRow(Level.Parent.Get(), nullptr, AQuery.get(), TChildLoad::ByCaller);
        if (Node && !Flat && !OnPath.contains(Node->ItemInfo()->Id))
            Enter(Node, Rows.Children(Node->ItemInfo()->Id));
    }
    AutoExpand();
}

void TDynamicTree::StartQueryThread(TNodeItem* ANode, std::unique_ptr<TADOQuery> AQuery) {
    auto* Thread = new TQueryThread(true, AQuery.release());
    FQueryThreads.append(Thread);
    Thread->OnTerminate = [this](TQueryThread* AThread) {
        QueryThreadTerminated(AThread);
    };
    Thread->OnQueryEnd = [this](TQueryThread* AThread, TADOQuery* ADataSet) {
        QueryEnd(AThread, ADataSet);
    };
    Thread->ParentNode = ANode->WeakRef();
    if (!IsReady())
        Thread->Terminate();
    Thread->Start();
}

void TDynamicTree::QueryEnd(TQueryThread* AThread, TADOQuery* ADataSet) {
    const std::unique_ptr<TADOQuery> DataSet(ADataSet);
    // Pending messages may free this component between two rows.
    const QPointer<TDynamicTree> Alive(this);
    if (AThread->Terminated() || !IsReady())
        return;
    DataSet->First();
    while (!DataSet->Eof() && !AThread->Terminated() && IsReady()) {
        AddNodeFromRow(nullptr, AThread, DataSet.get());
        if (!IsReady())
            return;
        ProcessPendingMessages();
        if (!Alive || !IsReady())
            return;
        DataSet->Next();
    }
}

void TDynamicTree::QueryThreadTerminated(TQueryThread* AThread) {
    if (IsReady())
        FQueryThreads.removeAll(AThread);
}

bool TDynamicTree::RowWanted(const TQueryThread* AThread) {
    return IsReady() && (!AThread || !AThread->Terminated());
}

// The parent is the node the rows were asked for: AParent on this thread,
// the thread's ParentNode for a worker's rows.
TNodeItem* TDynamicTree::AddNodeFromRow(TNodeItem* AParent, TQueryThread* AThread,
                                        const TADOQuery* AFields, TChildLoad ALoad) {
    if (!RowWanted(AThread))
        return nullptr;
    auto Node = std::make_unique<TNodeItem>();
    TItemInfoClass InfoClass;
    if (OnBeforAddNode)
        OnBeforAddNode(this, AFields, Node.get(), InfoClass);
    Node->SetItemInfo(InfoClass.Create());

    TNodeItem* Parent = AThread ? AThread->ParentNode.Get() : AParent;
    if (!Parent || !Parent->ItemInfo()) {
        if (RowWanted(AThread))
            throw TExceptDynamicTree(QStringLiteral("节点信息丢失！"));
        return nullptr;
    }

    const TNodeItem::TWeakRef Added = Node->WeakRef();
    try {
        return FillRowNode(Parent, Node, InfoClass, AFields, ALoad);
    } catch (...) {
        // The row gives no node; the next one follows.
        if (!Node)
            delete Added.Get();
    }
    return nullptr;
}

TNodeItem* TDynamicTree::FillRowNode(TNodeItem* AParent, std::unique_ptr<TNodeItem>& ANode,
                                     TItemInfoClass AClass, const TADOQuery* AFields,
                                     TChildLoad ALoad) {
    TItemInfo* Info = ANode->ItemInfo();
    Info->Kind = TItemInfo::KindRow;
    Info->Node = ANode.get();
    Info->Id = AFields->FieldByName(FFieldId).AsString();
    Info->ParentId = AFields->FieldByName(FFieldPid).AsString();
    Info->Caption = AFields->FieldByName(FFieldCaption).AsString();
    Info->IsLeaf = AFields->FieldByName(FFieldIsLeaf).AsString() == FValueIsLeaf;
    if (ANode->text(0).trimmed().isEmpty()) {
        ANode->setText(0, FFieldText.isEmpty()
                              ? Info->Caption + QLatin1Char('(') + Info->Id + QLatin1Char(')')
                              : AFields->FieldByName(FFieldText).AsString());
    }
    if (!IsReady())
        return nullptr;

    const TNodeItem::TWeakRef Added = ANode->WeakRef();
    AParent->addChild(ANode.release());
    if (AParent->ExpandOnLoad) {
        AParent->ExpandOnLoad = false;
        AParent->setExpanded(true);
    }
    if (OnAfterAddNode)
        OnAfterAddNode(this, AFields, Added.Get(), Info);
    TNodeItem* Node = Added.Get();
    if (!Node)
        return nullptr;
    if (ALoad == TChildLoad::ByCaller) {
        // A handler may have expanded, and so loaded, the node already.
        const bool Fill = !Info->IsLeaf && !Node->ChildrenLoaded;
        Node->ChildrenLoaded = true;
        return Fill ? Node : nullptr;
    }
    if (Info->IsLeaf)
        Node->ChildrenLoaded = true;
    else if (FLoadAll)
        LoadChildren(Node); // a worker's query, or the whole table once
    else if (!AddPlaceholder(Node, AClass))
        return nullptr;
    AutoExpand();
    return nullptr;
}

bool TDynamicTree::AddPlaceholder(TNodeItem* ANode, TItemInfoClass AClass) {
    auto Placeholder = std::make_unique<TNodeItem>();
    std::unique_ptr<TItemInfo> Info = AClass.Create();
    Info->Kind = TItemInfo::KindPlaceholder;
    Placeholder->SetItemInfo(std::move(Info));
    FPendingNodes.append(Placeholder.get());
    Placeholder->OwnerList = &FPendingNodes;
    if (!IsReady())
        return false; // the placeholder leaves the list as it goes
    Placeholder->setText(0, PlaceholderText);
    ANode->addChild(Placeholder.release());
    AutoExpand();
    return true;
}

void TDynamicTree::DoExpanding(QTreeWidgetItem* AItem) {
    TNodeItem* Node = TNodeItem::From(AItem);
    if (!Node || !Node->ItemInfo() || Node->ChildrenLoaded ||
        Node->ItemInfo()->Kind == TItemInfo::KindPlaceholder)
        return;
    Node->ExpandOnLoad = true;
    try {
        LoadChildren(Node);
    } catch (...) {
        // An expansion is the user's act: the application reports its error.
        if (Application)
            Application->HandleException(this);
    }
}

// ---------------------------------------------------------------------------
// Automatic expansion and selection

void TDynamicTree::AutoExpand() {
    if (!FActive || !FTreeView)
        return;
    switch (FAutoExpandKind) {
    case aekTitleNode:
        ExpandTitleNode();
        break;
    case aekFirstLeaf:
        ExpandFirstLeaf();
        break;
    case aekNone:
        break;
    }
}

void TDynamicTree::ExpandTitleNode() {
    TNodeItem* Top = TNodeItem::From(FTreeView->topLevelItem(0));
    if (!Top || Top->AutoExpanded || (Top->isExpanded() && Top->isSelected()))
        return;
    const TNodeItem::TWeakRef Title = Top->WeakRef();
    FTreeView->setCurrentItem(Top);
    if (TNodeItem* Node = Title.Get()) {
        Node->setExpanded(true);
        Node->AutoExpanded = true;
    }
}

// Walks down the first-child chain, expanding as it goes (which loads what
// is not loaded yet), and selects the first real node without children.
void TDynamicTree::ExpandFirstLeaf() {
    QTreeWidgetItem* First = FTreeView->topLevelItem(0);
    if (!First)
        return;
    while (First->childCount() > 0)
        First = First->child(0);
    TNodeItem* Next = TNodeItem::From(First);
    if (!Next || Next->AutoExpanded || Next->isSelected())
        return;

    TNodeItem::TWeakRef Selected = Next->WeakRef();
    for (;;) {
        TNodeItem* Parent = Next->ParentNode();
        if (!Parent)
            break;
        Parent->setExpanded(true);
        if (!FActive)
            return;
        TNodeItem* Child = Parent->ChildNode(0);
        if (!Child)
            return; // its rows are still on their way
        Selected = Child->WeakRef();
        Child->setExpanded(true);
        if (!FActive)
            return;
        Next = Child->ChildNode(0);
        if (!Next)
            break;
    }
    TNodeItem* Leaf = Selected.Get();
    if (!Leaf || !FTreeView)
        return;
    // Selecting makes the node visible, as a native tree view does: its
    // ancestors open.
    FTreeView->setCurrentItem(Leaf);
    if ((Leaf = Selected.Get()) && FTreeView)
        FTreeView->scrollToItem(Leaf);
    if ((Leaf = Selected.Get()))
        Leaf->AutoExpanded = true;
}
