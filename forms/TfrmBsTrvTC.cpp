#include "TfrmBsTrvTC.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
QFrame* MakePanel(const QString& AName, QWidget* AParent, bool ABevel) {
    auto* Panel = new QFrame(AParent);
    Panel->setObjectName(AName);
    Panel->setFrameShape(ABevel ? QFrame::Panel : QFrame::NoFrame);
    Panel->setFrameShadow(QFrame::Raised);
    return Panel;
}

QVBoxLayout* StackIn(QWidget* AWidget) {
    auto* Layout = new QVBoxLayout(AWidget);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);
    return Layout;
}

// A pane over a message strip of fixed height, both inside AHolder.
void StackPaneOverStrip(QWidget* AHolder, QFrame* APane, QFrame* AStrip, int AStripHeight) {
    AStrip->setFixedHeight(AStripHeight);
    auto* Layout = StackIn(AHolder);
    Layout->addWidget(APane, 1);
    Layout->addWidget(AStrip);
}
} // namespace

TfrmBsTrvTC::TfrmBsTrvTC(TComponent* AOwner)
    : TfrmBsCld(AOwner) {
    SetName(QStringLiteral("frmBsTrvTC"));
    SetCaption(QString());
    SetBounds(422, 430, Width(), Height());
    SetPosition(TPosition::poScreenCenter);
    SetWindowState(TWindowState::wsNormal);

    pnlBottom = MakePanel(QStringLiteral("pnlBottom"), Widget(), false);
    auto* BottomLayout = new QHBoxLayout(pnlBottom);
    BottomLayout->setContentsMargins(0, 0, 0, 0);
    Splitter1 = new QSplitter(Qt::Horizontal, pnlBottom);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    Splitter1->setHandleWidth(3);
    BottomLayout->addWidget(Splitter1);
    Widget()->layout()->addWidget(pnlBottom);
    static_cast<QVBoxLayout*>(Widget()->layout())->setStretchFactor(pnlBottom, 1);

    BuildLeftPane();
    BuildRightPanes();
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({171, 361});
}

TfrmBsTrvTC::~TfrmBsTrvTC() = default;

void TfrmBsTrvTC::BuildLeftPane() {
    pnlLeft = MakePanel(QStringLiteral("pnlLeft"), Splitter1, true);
    pnlLeft->resize(171, pnlLeft->height());
    trvList = new QTreeWidget(pnlLeft);
    trvList->setObjectName(QStringLiteral("trvList"));
    trvList->setIndentation(19);
    trvList->header()->hide();
    auto* Layout = StackIn(pnlLeft);
    Layout->setContentsMargins(1, 1, 1, 1);
    Layout->addWidget(trvList);
    Splitter1->addWidget(pnlLeft);
}

void TfrmBsTrvTC::BuildRightPanes() {
    pnlNo = MakePanel(QStringLiteral("pnlNo"), Splitter1, false);
    Splitter2 = new QSplitter(Qt::Vertical, pnlNo);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    Splitter2->setHandleWidth(2);
    Splitter2->setChildrenCollapsible(false);
    StackIn(pnlNo)->addWidget(Splitter2);

    pnlBTop = MakePanel(QStringLiteral("pnlBTop"), Splitter2, false);
    pnlRightTop = MakePanel(QStringLiteral("pnlRightTop"), pnlBTop, true);
    pnlTopMessage = MakePanel(QStringLiteral("pnlTopMessage"), pnlBTop, true);
    StackPaneOverStrip(pnlBTop, pnlRightTop, pnlTopMessage, 23);

    pnlBBotton = MakePanel(QStringLiteral("pnlBBotton"), Splitter2, false);
    pnlRightBottom = MakePanel(QStringLiteral("pnlRightBottom"), pnlBBotton, true);
    pnlBottonMessage = MakePanel(QStringLiteral("pnlBottonMessage"), pnlBBotton, true);
    StackPaneOverStrip(pnlBBotton, pnlRightBottom, pnlBottonMessage, 22);

    Splitter2->addWidget(pnlBTop);
    Splitter2->addWidget(pnlBBotton);
    Splitter2->setSizes({149, 142});
    Splitter1->addWidget(pnlNo);
}
