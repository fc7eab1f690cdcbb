#pragma once

#include "forms/TfrmBsTrvTC.h"
#include "report/tables/TFillResult.h"

#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QLabel;
class QProgressBar;
class QToolButton;
class QTreeWidgetItem;
class TCell5;
class TCheckTree;
class TDynamicTree;
class TExportSet;
class TFocusMark;
class TItemInfo;
class TNodeItem;
class TProgressPanel;
class TReportDialogs;
class TStatusLine;
struct TReportFilter;

// The payment-scope report window: 支付范围划分建议表打印. The clerk picks an
// indicator type (and, for 预算数, a sub-type), a unit in the tree and a
// fund nature; the window shows the summary table ("<全部>") or the fund
// nature's detail table, previews, prints and exports them. It only
// connects the parts: the filter value, the table fills, the grid, the
// dialogs.
class TbfrmVarnholt : public TfrmBsTrvTC {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TbfrmVarnholt(TComponent* AOwner = nullptr);
    ~TbfrmVarnholt() override;

    QToolButton* tbnExit = nullptr;
    QToolButton* tbnPrint = nullptr;
    QToolButton* tbnPrintView = nullptr;
    QWidget* ToolButton4 = nullptr;
    QToolButton* tbtnExcel = nullptr;
    TDynamicTree* dtrvEid = nullptr;
    // State images of the check tree.
    QList<QIcon> ImageList1;
    // Images of the tool bar and the menus.
    QList<QIcon> imgList;
    TCheckTree* ctrvList = nullptr;
    QAction* N4 = nullptr;
    QAction* N5 = nullptr;
    QAction* N6 = nullptr;
    QAction* N7 = nullptr;
    QAction* N8 = nullptr;
    QAction* N1 = nullptr;
    QAction* EXCEL1 = nullptr;
    TCell5* cllBudget = nullptr;
    QFrame* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    QAction* mitemExpSet = nullptr;
    TCell5* cllExpExcel = nullptr;
    QWidget* ToolButton1 = nullptr;
    QFrame* pnlType = nullptr;
    QCheckBox* cbNum = nullptr;
    QFileDialog* sd = nullptr;
    QFrame* pnprocess = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label8 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cobBType = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* cobMid = nullptr;
    QLabel* lblChild = nullptr;
    QComboBox* cobTypeChild = nullptr;

    // Handlers of the controls.
    void btnPrintViewClick();
    void tbnPrintClick();
    void tbnExitClick();
    void EXCEL1Click();
    void mitemExpSetClick();
    void cobMidChange();
    void trvListChange(QTreeWidgetItem* ANode);
    void cobBTypeChange();

    // Applies the filters: refills the fund-nature list, chooses its first
    // fund nature, enables the output commands when it has one, and shows
    // the table.
    void RefreshReport();
    // The basis text and both titles for a fund nature's name.
    void BuildTitles(const QString& AFundName);
    // Fills the shown grid with the summary or the detail table.
    bool ShowReport();
    // Fills the hidden export grid the same way, amounts as numbers.
    bool PrepareExportGrid();
    void LoadUnitTree();
    // Writes the table of the current entry, or of every entry when
    // continuous, to workbooks; true when every workbook was written. A
    // failure has been shown to the user.
    bool ExportTables();

    // The window's state, as the handlers left it.
    const QString& BTypeIndex() const { return FBTypeIndex; }
    const QString& UnitPrefix() const { return FUnitPrefix; }
    const QString& UnitWord() const { return FUnitWord; }
    const QString& UnitName() const { return FUnitName; }
    const QString& SummaryTitle() const { return FSummaryTitle; }
    const QString& DetailTitle() const { return FDetailTitle; }
    const QString& BasisText() const { return FBasisText; }
    // The filter the queries read for the current choices.
    TReportFilter CurrentFilter() const;

    TReportDialogs& Dialogs() const { return *FDialogs; }
    // Tests answer the dialogs through their own.
    void SetDialogs(std::unique_ptr<TReportDialogs> ADialogs);
    // The line under the grid that tells where the last output went.
    QLabel* StatusLine() const { return FStatusLabel; }
    // The frame around the tree or the grid while it has the focus.
    TFocusMark* FocusMark() const { return FFocusMark; }

protected:
    // Repeats the whole start-up on every showing; the window keeps its
    // designed place instead of being centred.
    void FormShow() override;
    // Notes the end of a drag of the unit tree's splitter.
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

private:
    void BuildToolBar();
    void BuildMenus();
    void BuildFilterPanel();
    void BuildReportPanes();
    void BuildProgressPanel();
    void BuildComponents();
    void BuildFocusOrder();
    void ConnectHandlers();
    void SetOutputEnabled(bool AEnabled);
    QString CurrentFundCode() const;
    // The page line, the PDF's properties and folder for the table shown.
    void PrepareOutput();
    // Asks with the print dialog, then prints the table shown.
    bool PrintShown();
    bool Deliverable(const TFillResult& AFill, const QString& AWhat);
    void PrintContinuous();
    // True for a print that went out; otherwise the clerk is told why.
    bool PrintSucceeded(int AResult);
    void Printed(const QString& AOutput);
    bool ExportContinuous();
    bool ExportSet(const TExportSet& ASet);
    bool ExportSingle();
    // AWrittenBefore counts the workbooks a continuous export wrote before
    // this one; -1 for a single export.
    bool ExportGrid(const QString& AFileName, int AWrittenBefore);
    // Where the save dialogs open: the folder last saved to, or the
    // documents folder.
    QString SaveFolder() const;
    // The tool tip of a unit node: its code and full name.
    void DescribeUnitNode(TNodeItem* ANode, const TItemInfo* AInfo) const;
    // Scrolls the tree so that the selected unit is in view.
    void ShowSelectedUnit();
    // Opens the tree's pane at the width the user left it, when the grid
    // keeps its room, or as wide as the names in view need.
    void SizeTreePane();
    int TreeNamesWidth() const;
    void RememberTreeWidth();

    QString FBTypeIndex;
    QString FUnitPrefix;
    QString FUnitWord;
    QString FUnitName;
    QString FSummaryTitle;
    QString FDetailTitle;
    QString FBasisText;

    std::unique_ptr<TReportDialogs> FDialogs;
    std::unique_ptr<TProgressPanel> FProgress;
    QLabel* FStatusLabel = nullptr;
    std::unique_ptr<TStatusLine> FStatus;
    // Why the fund-nature list could not be read when it was last filled;
    // empty when it was read.
    QString FFundListError;
    // What the last fills of the shown and the export grid reported.
    TFillResult FShownFill;
    TFillResult FExportFill;
    TFocusMark* FFocusMark = nullptr;
    // What the prints since the last print command began went to.
    QStringList FPrinted;
    // What the last export wrote and the message that says so.
    QStringList FExported;
    QString FExportDone;
    // Set when the user has dragged the tree's splitter since the width was
    // last stored.
    bool FTreeWidthMoved = false;
    // Set while the unit tree loads: its first selection is refreshed by
    // the start-up's own refresh that follows.
    bool FLoadingTree = false;
};
