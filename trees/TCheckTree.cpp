#include "TCheckTree.h"

#include "TExceptCheckTree.h"
#include "TreeNodeState.h"

#include <QStyle>
#include <QStyleOptionViewItem>
#include <QToolTip>

TCheckTree::TCheckTree(TComponent* AOwner)
    : TComponent(AOwner)
    , FHook(std::make_shared<THookLink>()) {
    FHook->Owner = this;
    FHookedApplication = Application;
    if (!Application)
        return;
    FHook->SavedOnMessage = Application->OnMessage;
    Application->OnMessage = [Link = FHook](TMsg& Msg, bool& Handled) {
        Handled = false;
        if (Link->Owner)
            Link->Owner->AppMessage(Msg, Handled);
        if (!Handled && Link->SavedOnMessage)
            Link->SavedOnMessage(Msg, Handled);
    };
}

TCheckTree::~TCheckTree() {
    FHook->Owner = nullptr;
    if (FHookedApplication)
        FHookedApplication->OnMessage = FHook->SavedOnMessage;
}

void TCheckTree::SetTreeViewWindow(QTreeWidget* ATreeView) {
    FTreeViewWindow = ATreeView;
    ShowStateImages();
}

void TCheckTree::SetStateIdx(int& AField, int AValue, const char* AName) {
    if (AValue <= 0)
        throw TExceptCheckTree(
            QStringLiteral("%1属性的值必须大于0").arg(QString::fromLatin1(AName)));
    AField = AValue;
    ShowStateImages();
}

// The tree view draws the three boxes for this component's indices, so
// shifted or swapped indices still look, and toggle, as what they stand for.
void TCheckTree::ShowStateImages() {
    if (FTreeViewWindow)
        SetStateImages(FTreeViewWindow, {FStateIdxEmpty, FStateIdxChecked, FStateIdxGrayed});
}

void TCheckTree::SetStateIdxEmpty(int AValue) {
    SetStateIdx(FStateIdxEmpty, AValue, "StateIdxEmpty");
}

void TCheckTree::SetStateIdxChecked(int AValue) {
    SetStateIdx(FStateIdxChecked, AValue, "StateIdxChecked");
}

void TCheckTree::SetStateIdxGrayed(int AValue) {
    SetStateIdx(FStateIdxGrayed, AValue, "StateIdxGrayed");
}

TCheckKind TCheckTree::KindOfIndex(int AIndex) const {
    if (AIndex == FStateIdxGrayed)
        return ckGrayed;
    if (AIndex == FStateIdxChecked)
        return ckChecked;
    if (AIndex == FStateIdxEmpty)
        return ckEmpty;
    return ckNone;
}

int TCheckTree::IndexOfKind(TCheckKind AKind) const {
    switch (AKind) {
    case ckChecked:
        return FStateIdxChecked;
    case ckGrayed:
        return FStateIdxGrayed;
    default:
        return FStateIdxEmpty;
    }
}

void TCheckTree::AppMessage(TMsg& AMsg, bool&) {
    if (!FActive || !FTreeViewWindow)
        return;
    FMessageTarget = TargetOf(AMsg.Window);
    if (!FMessageTarget || FMessageTarget != FTreeViewWindow)
        return;
    if (AMsg.Message == WM_KEYUP)
        KeyHandler(AMsg);
    else if (AMsg.Message >= WM_MOUSEMOVE && AMsg.Message <= WM_LBUTTONUP)
        MouseHandler(AMsg);
}

// The tree view's viewport is its client area, so messages to it are the
// tree view's own; other children of the tree view (scroll bars, header) are
// targets of their own.
QWidget* TCheckTree::TargetOf(QWidget* AWindow) const {
    QTreeWidget* Tree = FTreeViewWindow.data();
    if (!AWindow)
        return nullptr;
    if (AWindow == Tree || AWindow == Tree->viewport())
        return Tree;
    return Tree->isAncestorOf(AWindow) ? AWindow : nullptr;
}

void TCheckTree::KeyHandler(const TMsg& AMsg) {
    const Qt::KeyboardModifiers Held = Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier;
    if (AMsg.WParam == 0x20 && !(AMsg.Modifiers & Held))
        ClickNode(FTreeViewWindow->currentItem());
}

void TCheckTree::MouseHandler(const TMsg& AMsg) {
    const int X = static_cast<int>(AMsg.LParam & 0xFFFF);
    const int Y = static_cast<int>((AMsg.LParam >> 16) & 0xFFFF);
    if (AMsg.Message == WM_LBUTTONDOWN) {
        QTreeWidgetItem* Node = FTreeViewWindow->itemAt(X, Y);
        if (Node && OnStateIcon(Node, QPoint(X, Y)))
            ClickNode(Node);
    }
    UpdateHint(X, Y);
}

bool TCheckTree::OnStateIcon(QTreeWidgetItem* ANode, const QPoint& APos) const {
    if (!ANode->data(0, Qt::CheckStateRole).isValid())
        return false;
    QTreeWidget* Tree = FTreeViewWindow.data();
    QStyleOptionViewItem Option;
    Option.initFrom(Tree->viewport());
    Option.rect = Tree->visualItemRect(ANode);
    Option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    Option.text = ANode->text(0);
    Option.font = Tree->font();
    Option.fontMetrics = Tree->fontMetrics();
    if (!ANode->icon(0).isNull()) {
        Option.features |= QStyleOptionViewItem::HasDecoration;
        Option.decorationSize = Tree->iconSize();
    }
    const QRect Box =
        Tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &Option, Tree);
    return Box.contains(APos);
}

void TCheckTree::UpdateHint(int AX, int AY) {
    QTreeWidget* Tree = FTreeViewWindow.data();
    const QString Remembered = Tree->toolTip();
    QTreeWidgetItem* Node = Tree->itemAt(AX, AY);
    if (FNodeTextAsHint && Node) {
        Tree->setToolTip(Node->text(0));
        QToolTip::showText(Tree->viewport()->mapToGlobal(QPoint(AX, AY)), Node->text(0), Tree);
    }
    Tree->setToolTip(Remembered);
}

void TCheckTree::ClickNode(QTreeWidgetItem* ANode) {
    bool Handled = false;
    if (OnBeforClickTreeNode)
        OnBeforClickTreeNode(this, ANode, Handled);
    if (!Handled)
        ToggleNode(ANode);
}

void TCheckTree::ToggleNode(QTreeWidgetItem* ANode) {
    if (!ANode)
        return;
    const TCheckKind Now = KindOfIndex(StateIndex(ANode));
    const TCheckKind Next = Now == ckChecked ? ckEmpty : (Now == ckNone ? ckEmpty : ckChecked);
    if (ChangeState(ANode, rkClkNode, IndexOfKind(Next))) {
        PropagateDown(ANode);
        PropagateUp(ANode);
    }
}

bool TCheckTree::ChangeState(QTreeWidgetItem* ANode, TRelationKind ARelation, int ANewIndex) {
    const int Current = StateIndex(ANode);
    if (KindOfIndex(Current) == ckNone)
        return false;
    bool Allow = true;
    if (OnChangeStateIndex)
        OnChangeStateIndex(this, ANode, ARelation, KindOfIndex(Current), KindOfIndex(ANewIndex),
                           Allow);
    if (Allow)
        SetStateIndex(ANode, ANewIndex);
    return Allow;
}

void TCheckTree::PropagateDown(QTreeWidgetItem* ANode) {
    const int Index = StateIndex(ANode);
    const TCheckKind Kind = KindOfIndex(Index);
    if (Kind != ckEmpty && Kind != ckChecked)
        return;
    for (int I = 0; I < ANode->childCount(); ++I) {
        QTreeWidgetItem* Child = ANode->child(I);
        if (ChangeState(Child, rkCldNode, Index))
            PropagateDown(Child);
    }
}

void TCheckTree::PropagateUp(QTreeWidgetItem* ANode) {
    QTreeWidgetItem* Parent = ANode->parent();
    if (!Parent || StateIndex(ANode) == StateIndex(Parent))
        return;
    const int State = ChildrenState(Parent);
    if (State == StateIndex(Parent))
        return;
    if (ChangeState(Parent, rkParNode, State))
        PropagateUp(Parent);
}

int TCheckTree::ChildrenState(QTreeWidgetItem* ANode) const {
    bool AnyEmpty = false;
    bool AnyChecked = false;
    bool AnyGrayed = false;
    for (int I = 0; I < ANode->childCount() && !AnyGrayed && !(AnyEmpty && AnyChecked); ++I) {
        switch (KindOfIndex(StateIndex(ANode->child(I)))) {
        case ckEmpty:
            AnyEmpty = true;
            break;
        case ckChecked:
            AnyChecked = true;
            break;
        case ckGrayed:
            AnyGrayed = true;
            break;
        case ckNone:
            break;
        }
    }
    if (AnyGrayed || (AnyEmpty && AnyChecked))
        return FStateIdxGrayed;
    if (AnyEmpty)
        return FStateIdxEmpty;
    if (AnyChecked)
        return FStateIdxChecked;
    return FStateIdxEmpty;
}
