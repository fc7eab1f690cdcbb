#include "TfrmBsCld.h"

#include "platform/ui/TMainMenu.h"

#include <QChildEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLayout>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

TfrmBsCld::TfrmBsCld(TComponent* AOwner)
    : TfrmBase(AOwner) {
    SetName(QStringLiteral("frmBsCld"));
    SetCaption(QStringLiteral("frmBsCld"));
    SetBounds(395, 451, Width(), Height());
    SetFormStyle(TFormStyle::fsMDIChild);
    SetPosition(TPosition::poDefaultPosOnly);
    SetWindowState(TWindowState::wsMaximized);

    ctblChild = new QFrame(Widget());
    ctblChild->setObjectName(QStringLiteral("ctblChild"));
    ctblChild->setFrameShape(QFrame::StyledPanel);
    ctblChild->setFixedHeight(39);
    auto* Band = new QHBoxLayout(ctblChild);
    Band->setContentsMargins(9, 0, 4, 0);
    tblChildMain = new QToolBar(ctblChild);
    tblChildMain->setObjectName(QStringLiteral("tblChildMain"));
    // The tool bar's own layout resets its minimum size whenever it lays
    // out, so it takes the band's height up to a maximum instead, and has no
    // edge or padding around the buttons (no inner or outer edge).
    tblChildMain->setStyleSheet(
        QStringLiteral("QToolBar { border: 0px; padding: 0px; spacing: 0px; }"));
    tblChildMain->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    tblChildMain->setMaximumHeight(ToolButtonSize.height());
    tblChildMain->installEventFilter(this);
    tblChildMain->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tblChildMain->setMovable(false);
    tblChildMain->setFocusPolicy(Qt::NoFocus);
    Band->addWidget(tblChildMain);
    Widget()->layout()->addWidget(ctblChild);

    mnuChildMain = new TMainMenu(this);
    mnuChildMain->SetName(QStringLiteral("mnuChildMain"));
    mitemOption =
        mnuChildMain->AddItem(QStringLiteral("mitemOption"), QStringLiteral("辅助功能(&S)"), 1);
    mitemDataVind =
        mnuChildMain->AddItem(QStringLiteral("mitemDataVind"), QStringLiteral("数据操作(&P)"), 1);
    SetMenu(mnuChildMain);
}

TfrmBsCld::~TfrmBsCld() = default;

// Every button of the tool bar, whenever it is added, gets the one size.
bool TfrmBsCld::eventFilter(QObject* AWatched, QEvent* AEvent) {
    if (AWatched == tblChildMain && AEvent->type() == QEvent::ChildPolished) {
        if (auto* Button = qobject_cast<QToolButton*>(static_cast<QChildEvent*>(AEvent)->child()))
            Button->setFixedSize(ToolButtonSize);
    }
    return TfrmBase::eventFilter(AWatched, AEvent);
}

void TfrmBsCld::FormCreate() {
    TfrmBase::FormCreate();
    SetModalFlag(0);
}

void TfrmBsCld::FormClose(TCloseAction& Action) {
    Action = TCloseAction::caFree;
}
