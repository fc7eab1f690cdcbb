// The unit tree: loading, the selection, tool tips, its pane's width.
#include "TbfrmVarnholt.h"

#include "TreePaneWidth.h"
#include "UserSettings.h"
#include "hostcontext/HostContext.h"
#include "platform/data/TAdoConn.h"
#include "platform/data/TSqlDialect.h"
#include "report/tables/ReportHost.h"
#include "report/tables/ReportLookups.h"
#include "trees/TDynamicTree.h"

#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>

void TbfrmVarnholt::LoadUnitTree() {
    const QString Root = UnitTreeRoot(HostUnitCode());
    dtrvEid->SetActive(false);
    TAdoConn* Conn = GetDefConnection();
    if (!Conn->Connected())
        Conn->Open();
    dtrvEid->SetAdoConn(Conn);
    dtrvEid->SetSqlTable({UnitTreeSql(Root, Conn->Dialect())});
    dtrvEid->SetFieldId(QStringLiteral("eid"));
    dtrvEid->SetFieldPid(QStringLiteral("peid"));
    dtrvEid->SetFieldIsLeaf(QStringLiteral("leafflag"));
    dtrvEid->SetFieldCaption(QStringLiteral("ename"));
    dtrvEid->SetFieldText(QStringLiteral("tname"));
    dtrvEid->SetTopVirNodeIdValue(Root);
    // pubdept marks a unit without sub-units with leafflag '1'.
    dtrvEid->SetValueIsLeaf(QStringLiteral("1"));
    dtrvEid->SetTopVirNodeTitle(QString::fromUtf8(UnitTreeTitle));
    dtrvEid->OnAfterAddNode = [this](QObject*, const TADOQuery*, TNodeItem* ANode,
                                     TItemInfo* AInfo) {
        DescribeUnitNode(ANode, AInfo);
    };
    dtrvEid->SetActive(true);
}

void TbfrmVarnholt::DescribeUnitNode(TNodeItem* ANode, const TItemInfo* AInfo) const {
    if (!ANode || !AInfo)
        return;
    // Deep names do not fit the pane; the tip shows them whole. The top
    // node stands for the department the selection covers.
    if (AInfo->Kind == TItemInfo::KindTop) {
        const QString Prefix = TopNodePrefix(HostUnitCode());
        ANode->setToolTip(0, Prefix + QLatin1Char(' ') + TopNodeName(Prefix));
        return;
    }
    ANode->setToolTip(0, AInfo->Id + QLatin1Char(' ') + AInfo->Caption);
}

void TbfrmVarnholt::trvListChange(QTreeWidgetItem* ANode) {
    TNodeItem* Node = TNodeItem::From(ANode);
    const TItemInfo* Info = Node ? Node->ItemInfo() : nullptr;
    // A tree being cleared or reloaded has no selection for a moment: the
    // table stays that of the last unit chosen.
    if (!Info || Info->Kind == TItemInfo::KindPlaceholder)
        return;
    if (ANode == trvList->topLevelItem(0)) {
        FUnitPrefix = TopNodePrefix(HostUnitCode());
        FUnitName = TopNodeName(FUnitPrefix);
    } else {
        FUnitPrefix = Info->Id;
        FUnitName = Info->Caption;
    }
    // The chosen unit's sub-units come into view with it.
    Node->setExpanded(true);
    if (!FLoadingTree)
        RefreshReport();
}

void TbfrmVarnholt::ShowSelectedUnit() {
    const auto Show = [Tree = trvList] {
        QTreeWidgetItem* Current = Tree->currentItem();
        if (!Current)
            return;
        // From the top, so the top node stays in view whenever the
        // selection lies on the first page.
        Tree->scrollToTop();
        Tree->scrollToItem(Current, QAbstractItemView::EnsureVisible);
    };
    Show();
    // Once more when the window has its final size.
    QTimer::singleShot(0, trvList, Show);
}

void TbfrmVarnholt::SizeTreePane() {
    bool IsNumber = false;
    int Saved = ReadUserSetting(UnitTreeWidthKey).toInt(&IsNumber);
    if (!IsNumber)
        Saved = 0;
    // Once the window is laid out: before, the panes have no width to
    // share and the tree's names are not measured.
    QTimer::singleShot(0, Splitter1, [this, Saved] {
        const QList<int> Sizes = Splitter1->sizes();
        const int Total = Sizes.value(0) + Sizes.value(1);
        const int Width = TreePane::OpeningWidth(Total, Saved, TreeNamesWidth());
        Splitter1->setSizes({Width, Total - Width});
    });
}

int TbfrmVarnholt::TreeNamesWidth() const {
    if (trvList->topLevelItemCount() == 0)
        return 0;
    // The column as its names in view need it, inside the tree's frame and
    // beside its vertical scroll bar.
    const int ScrollBar =
        trvList->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, trvList);
    // The view's own measure, reached through the public interface.
    const QAbstractItemView* View = trvList;
    return View->sizeHintForColumn(0) + 2 * trvList->frameWidth() + ScrollBar;
}

void TbfrmVarnholt::RememberTreeWidth() {
    if (!FTreeWidthMoved)
        return;
    FTreeWidthMoved = false;
    WriteUserSetting(UnitTreeWidthKey, QString::number(Splitter1->sizes().value(0)));
}
