#pragma once

#include "platform/TComponent.h"
#include "platform/ui/TApplication.h"

#include <QPointer>
#include <QTreeWidget>
#include <functional>
#include <memory>

enum TCheckKind { ckEmpty = 0, ckChecked = 1, ckGrayed = 2, ckNone = 3 };

// Why a node's state is about to change: it was clicked, an ancestor
// changed, or it is a parent recomputed from its children.
enum TRelationKind { rkClkNode = 0, rkCldNode = 1, rkParNode = 2 };

using TOnChangeStateIndex =
    std::function<void(QObject* Sender, QTreeWidgetItem* Node, TRelationKind RelationKind,
                       TCheckKind CurCheckKind, TCheckKind WillCheckKind, bool& boolToChange)>;
using TOnBeforClickTreeNode =
    std::function<void(QObject* Sender, QTreeWidgetItem* Node, bool& Handled)>;

// Turns a tree view's state images into tri-state check boxes. A left click
// on a node's box, or releasing the space bar on the selected node, toggles
// it; the state goes down to every descendant and the ancestors are
// recomputed (grayed when their children disagree). Both events can veto.
//
// The component watches the tree view through the application's message
// hook, which it chains: the handler found at construction is called after
// its own and put back at destruction. Mouse messages reach a Qt tree view's
// viewport, its client area; they count as addressed to the tree view.
class TCheckTree : public TComponent {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TCheckTree(TComponent* AOwner = nullptr);
    ~TCheckTree() override;

    bool Active() const { return FActive; }
    void SetActive(bool AValue) { FActive = AValue; }
    QTreeWidget* TreeViewWindow() const { return FTreeViewWindow.data(); }
    // The tree view's nodes show their boxes by this component's indices.
    void SetTreeViewWindow(QTreeWidget* ATreeView);
    int StateIdxEmpty() const { return FStateIdxEmpty; }
    int StateIdxChecked() const { return FStateIdxChecked; }
    int StateIdxGrayed() const { return FStateIdxGrayed; }
    // Each refuses values <= 0 with TExceptCheckTree. The tree view's nodes
    // keep their indices; their boxes are drawn anew.
    void SetStateIdxEmpty(int AValue);
    void SetStateIdxChecked(int AValue);
    void SetStateIdxGrayed(int AValue);
    bool NodeTextAsHint() const { return FNodeTextAsHint; }
    void SetNodeTextAsHint(bool AValue) { FNodeTextAsHint = AValue; }

    TOnChangeStateIndex OnChangeStateIndex;
    TOnBeforClickTreeNode OnBeforClickTreeNode;

    TCheckKind KindOfIndex(int AIndex) const;
    int IndexOfKind(TCheckKind AKind) const;

    // The click: the veto event, then the toggle.
    void ClickNode(QTreeWidgetItem* ANode);
    void ToggleNode(QTreeWidgetItem* ANode);

private:
    void AppMessage(TMsg& AMsg, bool& AHandled);
    QWidget* TargetOf(QWidget* AWindow) const;
    void KeyHandler(const TMsg& AMsg);
    void MouseHandler(const TMsg& AMsg);
    void UpdateHint(int AX, int AY);
    bool OnStateIcon(QTreeWidgetItem* ANode, const QPoint& APos) const;

    bool ChangeState(QTreeWidgetItem* ANode, TRelationKind ARelation, int ANewIndex);
    void PropagateDown(QTreeWidgetItem* ANode);
    void PropagateUp(QTreeWidgetItem* ANode);
    int ChildrenState(QTreeWidgetItem* ANode) const;
    void SetStateIdx(int& AField, int AValue, const char* AName);
    void ShowStateImages();

    // The installed handler holds this link rather than the component, so a
    // chain whose members go in another order than they came never calls
    // into a destroyed component: a link whose owner has gone only passes
    // the message on.
    struct THookLink {
        QPointer<TCheckTree> Owner;
        TMessageEvent SavedOnMessage;
    };

    bool FActive = false;
    QPointer<QTreeWidget> FTreeViewWindow;
    QPointer<QWidget> FMessageTarget;
    std::shared_ptr<THookLink> FHook;
    QPointer<TApplication> FHookedApplication;
    int FStateIdxEmpty = 1;
    int FStateIdxChecked = 2;
    int FStateIdxGrayed = 3;
    bool FNodeTextAsHint = true;
};
