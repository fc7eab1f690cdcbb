#include "TfrmBsCld.h"

#include "platform/TMainMenu.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLayout>
#include <QMenu>
#include <QToolBar>

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
    ctblChild->setMinimumHeight(39);
    auto* Band = new QHBoxLayout(ctblChild);
    Band->setContentsMargins(9, 2, 4, 2);
    tblChildMain = new QToolBar(ctblChild);
    tblChildMain->setObjectName(QStringLiteral("tblChildMain"));
    tblChildMain->setMinimumHeight(35);
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

void TfrmBsCld::FormCreate() {
    TfrmBase::FormCreate();
    SetModalFlag(0);
}

void TfrmBsCld::FormClose(TCloseAction& Action) {
    Action = TCloseAction::caFree;
}
