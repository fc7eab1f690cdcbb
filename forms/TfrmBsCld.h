#pragma once

#include "TfrmBase.h"

#include <QSize>

class QAction;
class QFrame;
class QMenu;
class QToolBar;
class TMainMenu;

// Base of the child windows in the host's multi-document frame: a tool bar
// in a cool bar at the top and a menu merged into the frame's by group 1.
// Shown modelessly, freed when closed.
class TfrmBsCld : public TfrmBase {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TfrmBsCld(TComponent* AOwner = nullptr);
    ~TfrmBsCld() override;

    TMainMenu* mnuChildMain = nullptr;
    QMenu* mitemOption = nullptr;
    QMenu* mitemDataVind = nullptr;
    QFrame* ctblChild = nullptr;
    QToolBar* tblChildMain = nullptr;

    // Every tool button of a child window, the tool bar's height with it.
    static constexpr QSize ToolButtonSize{61, 35};

protected:
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override;
    void FormCreate() override;
    void FormClose(TCloseAction& Action) override;
};
