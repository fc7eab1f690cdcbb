// The report window's components and their places.
#include "TbfrmVarnholt.h"

#include "ReportIcons.h"
#include "ReportTexts.h"
#include "TDropDownList.h"
#include "TFocusMark.h"
#include "TProgressPanel.h"
#include "TStatusLine.h"
#include "TreePaneWidth.h"
#include "cell/view/TCell5.h"
#include "platform/ui/TMainMenu.h"
#include "report/tables/IndicatorTypeNames.h"
#include "trees/TCheckTree.h"
#include "trees/TDynamicTree.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int ButtonWidth = 61;
constexpr int ButtonHeight = 35;
// The filter panel's lists end at 195 pixels: a narrower left pane would
// cut them off. While dragging, the grid keeps room for a few columns.
constexpr int RightPaneMinimum = 320;
constexpr int TreeHandleWidth = 6;
constexpr int MessageStripHeight = 22;

QFont SongTi() {
    QFont Font;
    Font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("WenQuanYi Zen Hei")});
    Font.setPixelSize(12);
    return Font;
}

QLabel* MakeLabel(const QString& AName, const QString& ACaption, QWidget* AParent, int ALeft,
                  int ATop) {
    auto* Label = new QLabel(ACaption, AParent);
    Label->setObjectName(AName);
    Label->adjustSize();
    Label->move(ALeft, ATop);
    return Label;
}

QFrame* MakeSeparator(const QString& AName, QWidget* AParent) {
    auto* Separator = new QFrame(AParent);
    Separator->setObjectName(AName);
    Separator->setFrameShape(QFrame::VLine);
    Separator->setFrameShadow(QFrame::Sunken);
    Separator->setFixedSize(8, ButtonHeight);
    return Separator;
}

QAction* MakeItem(QMenu* AMenu, const QString& AName, const QString& ACaption,
                  const QIcon& AImage = QIcon()) {
    QAction* Item =
        ACaption == QLatin1String("-") ? AMenu->addSeparator() : AMenu->addAction(AImage, ACaption);
    Item->setObjectName(AName);
    return Item;
}

// The handle between the tree and the grids is wide enough to find and
// drawn darker than the panes beside it.
void ShowTreeHandle(QSplitter* ASplitter) {
    ASplitter->setHandleWidth(TreeHandleWidth);
    QSplitterHandle* Handle = ASplitter->handle(1);
    if (!Handle)
        return;
    // Its own role: it would otherwise take the window's background.
    Handle->setBackgroundRole(QPalette::Mid);
    Handle->setAutoFillBackground(true);
    Handle->setToolTip(QStringLiteral("拖动可调整单位列表的宽度"));
}

QVBoxLayout* StackedLayout(QWidget* AWidget) {
    if (auto* Layout = qobject_cast<QVBoxLayout*>(AWidget->layout()))
        return Layout;
    auto* Layout = new QVBoxLayout(AWidget);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);
    return Layout;
}

} // namespace

void TbfrmVarnholt::BuildComponents() {
    imgList = ReportToolImages();
    ImageList1 = CheckStateImages();
    BuildToolBar();
    BuildMenus();
    BuildFilterPanel();
    BuildReportPanes();
    BuildProgressPanel();
    BuildFocusOrder();

    dtrvEid = new TDynamicTree(this);
    dtrvEid->SetName(QStringLiteral("dtrvEid"));
    dtrvEid->SetTreeView(trvList);
    dtrvEid->SetLoadAll(true);
    dtrvEid->SetAutoExpandKind(aekFirstLeaf);
    dtrvEid->SetSyncDataLoad(true);

    // Attached for the day units are ticked rather than selected; nothing
    // in this window switches it on.
    ctrvList = new TCheckTree(this);
    ctrvList->SetName(QStringLiteral("ctrvList"));
    ctrvList->SetTreeViewWindow(trvList);
    ctrvList->SetStateIdxEmpty(1);
    ctrvList->SetStateIdxChecked(2);
    ctrvList->SetStateIdxGrayed(3);
    ctrvList->SetNodeTextAsHint(true);
    ctrvList->SetActive(false);

    sd = new QFileDialog(Widget());
    sd->setObjectName(QStringLiteral("sd"));
    sd->setAcceptMode(QFileDialog::AcceptSave);
    sd->setFileMode(QFileDialog::AnyFile);
    sd->setDefaultSuffix(QStringLiteral("xlsx"));
    sd->setWindowTitle(QStringLiteral("导出excel"));
}

void TbfrmVarnholt::BuildToolBar() {
    tblChildMain->setIconSize(QSize(16, 16));
    const auto Button = [this](const QString& AName, const QString& ACaption, int AImage) {
        auto* Tool = new QToolButton(tblChildMain);
        Tool->setObjectName(AName);
        Tool->setText(ACaption);
        Tool->setIcon(imgList.value(AImage));
        Tool->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        Tool->setAutoRaise(true);
        Tool->setFixedSize(ButtonWidth, ButtonHeight);
        // Reached by Tab like every other control, but a click leaves the
        // focus where it was (on the grid, say).
        Tool->setFocusPolicy(Qt::TabFocus);
        tblChildMain->addWidget(Tool);
        return Tool;
    };
    tbtnExcel = Button(QStringLiteral("tbtnExcel"), QStringLiteral("导出excel"), 5);
    ToolButton1 = MakeSeparator(QStringLiteral("ToolButton1"), tblChildMain);
    tblChildMain->addWidget(ToolButton1);
    tbnPrintView = Button(QStringLiteral("tbnPrintView"), QStringLiteral(" 预览 "), 2);
    tbnPrint = Button(QStringLiteral("tbnPrint"), QStringLiteral(" 打印 "), 1);
    ToolButton4 = MakeSeparator(QStringLiteral("ToolButton4"), tblChildMain);
    tblChildMain->addWidget(ToolButton4);
    tbnExit = Button(QStringLiteral("tbnExit"), QStringLiteral(" 退出 "), 0);
    pnlType = new QFrame(tblChildMain);
    pnlType->setObjectName(QStringLiteral("pnlType"));
    pnlType->setFrameShape(QFrame::NoFrame);
    pnlType->setFixedSize(245, ButtonHeight);
    tblChildMain->addWidget(pnlType);
}

void TbfrmVarnholt::BuildMenus() {
    N6 = MakeItem(mitemOption, QStringLiteral("N6"), QStringLiteral("打印设置"), imgList.value(3));
    N7 = MakeItem(mitemOption, QStringLiteral("N7"), QStringLiteral("-"));
    N8 = MakeItem(mitemOption, QStringLiteral("N8"), QStringLiteral("退出"), imgList.value(0));
    // There is no print set-up in this window: the item stays hidden.
    N6->setVisible(false);
    N7->setVisible(false);

    N4 = MakeItem(mitemDataVind, QStringLiteral("N4"), QStringLiteral("打印"), imgList.value(1));
    N4->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    // Bound to the window itself, so it works where the menu is not merged
    // into a frame, and only while the focus is in this window: another
    // child of the frame keeps Ctrl+P for itself.
    N4->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    Widget()->addAction(N4);
    N5 =
        MakeItem(mitemDataVind, QStringLiteral("N5"), QStringLiteral("打印预览"), imgList.value(2));
    N1 = MakeItem(mitemDataVind, QStringLiteral("N1"), QStringLiteral("-"));
    EXCEL1 = MakeItem(mitemDataVind, QStringLiteral("EXCEL1"), QStringLiteral("导出EXCEL"),
                      imgList.value(5));
    mitemExpSet =
        MakeItem(mitemDataVind, QStringLiteral("mitemExpSet"), QStringLiteral("导出设置"));
    mitemExpSet->setVisible(false);
}

void TbfrmVarnholt::BuildFilterPanel() {
    Panel1 = new QFrame(pnlLeft);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    Panel1->setFixedHeight(96);
    const auto Row = [this](const QString& ALabelName, const QString& ACaption,
                            const QString& AListName, int ATop, QLabel*& ALabel) {
        auto* List = new TDropDownList(Panel1);
        List->setObjectName(AListName);
        List->setEditable(false);
        List->setGeometry(74, ATop, 121, 20);
        ALabel = MakeLabel(ALabelName, ACaption, Panel1, 10, ATop + 4);
        return List;
    };
    cobBType = Row(QStringLiteral("Label2"), QStringLiteral("指标类型"), QStringLiteral("cobBType"),
                   12, Label2);
    cobTypeChild = Row(QStringLiteral("lblChild"), QStringLiteral("指标子类型"),
                       QStringLiteral("cobTypeChild"), 38, lblChild);
    cobTypeChild->addItems(SubTypeNames());
    cobTypeChild->setCurrentIndex(0);
    cobMid = Row(QStringLiteral("Label1"), QStringLiteral("资金性质"), QStringLiteral("cobMid"), 65,
                 Label1);

    Panel2 = new QFrame(pnlLeft);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::NoFrame);
    Panel2->setFixedHeight(MessageStripHeight);

    QVBoxLayout* Left = StackedLayout(pnlLeft);
    Left->insertWidget(0, Panel1);
    Left->addWidget(Panel2);
    trvList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    trvList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Names are never cut short: the column is as wide as the longest, and
    // a scroll bar appears when the pane is narrower.
    trvList->header()->setStretchLastSection(false);
    trvList->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    trvList->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    pnlLeft->setMinimumWidth(TreePane::MinimumWidth);
    pnlNo->setMinimumWidth(RightPaneMinimum);
    ShowTreeHandle(Splitter1);
    Splitter1->setSizes({TreePane::DesignedWidth, Width() - TreePane::DesignedWidth});
}

void TbfrmVarnholt::BuildReportPanes() {
    // The message strip stands above the grids and carries the check box
    // of continuous printing.
    QVBoxLayout* Top = StackedLayout(pnlBTop);
    Top->removeWidget(pnlTopMessage);
    Top->insertWidget(0, pnlTopMessage);
    pnlTopMessage->setFixedHeight(MessageStripHeight);
    cbNum = new QCheckBox(QStringLiteral("连续打印"), pnlTopMessage);
    cbNum->setObjectName(QStringLiteral("cbNum"));
    cbNum->setToolTip(QString::fromUtf8(ContinuousToolTip));
    cbNum->setFont(SongTi());
    QPalette Navy = cbNum->palette();
    Navy.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    cbNum->setPalette(Navy);
    auto* Strip = new QHBoxLayout(pnlTopMessage);
    Strip->setContentsMargins(8, 0, 8, 0);
    Strip->addWidget(cbNum);
    Strip->addStretch(1);

    cllBudget = new TCell5(pnlRightTop);
    cllBudget->setObjectName(QStringLiteral("cllBudget"));
    cllExpExcel = new TCell5(pnlRightTop);
    cllExpExcel->setObjectName(QStringLiteral("cllExpExcel"));
    cllExpExcel->hide();
    QVBoxLayout* Grids = StackedLayout(pnlRightTop);
    Grids->addWidget(cllBudget);
    Grids->addWidget(cllExpExcel);

    // The lower pane is only its message strip, which tells where the last
    // output went.
    pnlRightBottom->hide();
    pnlBBotton->setFixedHeight(MessageStripHeight);
    // No splitter between the grids and the strip: nothing to drag.
    Splitter2->setHandleWidth(0);
    if (QSplitterHandle* Handle = Splitter2->handle(1))
        Handle->setEnabled(false);
    FStatusLabel = new QLabel(pnlBottonMessage);
    FStatusLabel->setObjectName(QStringLiteral("lblStatus"));
    FStatusLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* Message = new QHBoxLayout(pnlBottonMessage);
    Message->setContentsMargins(8, 0, 8, 0);
    Message->addWidget(FStatusLabel);
    FStatus = std::make_unique<TStatusLine>(FStatusLabel);
}

// Tab goes through the controls in reading order: the tool bar left to
// right, the left pane top to bottom, then the right pane. The tree and
// the grid draw no focus of their own; the focus mark frames them.
void TbfrmVarnholt::BuildFocusOrder() {
    const QList<QWidget*> Order{tbtnExcel,    tbnPrintView, tbnPrint, tbnExit, cobBType,
                                cobTypeChild, cobMid,       trvList,  cbNum,   cllBudget};
    for (int I = 1; I < Order.size(); ++I)
        QWidget::setTabOrder(Order[I - 1], Order[I]);
    FFocusMark = new TFocusMark(Widget());
    FFocusMark->Mark(trvList);
    FFocusMark->Mark(cllBudget);
}

void TbfrmVarnholt::BuildProgressPanel() {
    pnprocess = new QFrame(Widget());
    pnprocess->setObjectName(QStringLiteral("pnprocess"));
    pnprocess->setFrameShape(QFrame::Panel);
    pnprocess->setFrameShadow(QFrame::Raised);
    pnprocess->setLineWidth(2);
    pnprocess->setAutoFillBackground(true);
    pnprocess->resize(381, 81);
    Label8 =
        MakeLabel(QStringLiteral("Label8"), QStringLiteral("正在提取数据："), pnprocess, 16, 8);
    Label6 = MakeLabel(QStringLiteral("Label6"), QStringLiteral("进度："), pnprocess, 16, 26);
    ProgressBar1 = new QProgressBar(pnprocess);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(16, 44, 350, 21);
    ProgressBar1->setTextVisible(false);
    pnprocess->hide();
    FProgress = std::make_unique<TProgressPanel>(Widget(), pnprocess, ProgressBar1);
}
