#pragma once

#include "platform/TComponent.h"

#include <QPointer>

class QAction;
class QMenu;
#include <QMenuBar>

// A window's main menu. Top-level items carry a group index; a child window's
// menu is merged into its frame's menu bar by group while it is active: frame
// items of a group that the child also has are hidden, the child's items are
// inserted in group order.
class PLATFORM_EXPORT TMainMenu : public TComponent {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TMainMenu(TComponent* AOwner = nullptr);
    ~TMainMenu() override;

    // Adds a top-level item and returns its drop-down menu.
    QMenu* AddItem(const QString& AName, const QString& ACaption, int AGroupIndex);
    QList<QAction*> Items() const;
    QMenuBar* MenuBar() const { return FMenuBar.data(); }

    static int GroupIndex(const QAction* AItem);
    static void SetGroupIndex(QAction* AItem, int AGroupIndex);

    // Merges this menu's items into a frame's menu bar, undoing any earlier
    // merge into it first.
    void MergeInto(QMenuBar* AFrameBar) const;
    // Takes merged items out of a frame's menu bar and shows its own again.
    static void Unmerge(QMenuBar* AFrameBar);

private:
    QPointer<QMenuBar> FMenuBar;
};
