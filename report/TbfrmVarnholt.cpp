#include "TbfrmVarnholt.h"

#include "Guarded.h"
#include "OutputTexts.h"
#include "ReportLists.h"
#include "TProgressPanel.h"
#include "TQtReportDialogs.h"
#include "TStatusLine.h"
#include "cell/view/TCell5.h"
#include "db/SharedLookups.h"
#include "platform/Exception.h"
#include "platform/data/TSqlDialect.h"
#include "platform/ui/TApplication.h"
#include "report/tables/ReportFill.h"
#include "report/tables/ReportHost.h"
#include "report/tables/ReportLookups.h"
#include "report/tables/ReportPageSelection.h"
#include "report/tables/ReportTitles.h"
#include "report/tables/TEmptyTableHint.h"
#include "report/tables/TReportFilter.h"
#include "trees/TDynamicTree.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// Sets a flag for the life of a scope.
class TFlagScope {
public:
    explicit TFlagScope(bool& AFlag)
        : FFlag(AFlag) {
        FFlag = true;
    }
    ~TFlagScope() { FFlag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
};

} // namespace

TbfrmVarnholt::TbfrmVarnholt(TComponent* AOwner)
    : TfrmBsTrvTC(AOwner)
    , FDialogs(std::make_unique<TQtReportDialogs>()) {
    SetName(QStringLiteral("bfrmVarnholt"));
    SetCaption(QStringLiteral("支付范围划分建议表打印"));
    // Designed at the frame's top left: the inherited designer position would
    // put most of an 829-pixel window outside a usual MDI area.
    SetBounds(0, 0, 829, 613);
    BuildComponents();
    ConnectHandlers();
}

TbfrmVarnholt::~TbfrmVarnholt() = default;

void TbfrmVarnholt::ConnectHandlers() {
    const auto On = [this](auto* ASender, auto ASignal, auto AHandler) {
        connect(ASender, ASignal, this, Guarded(this, AHandler));
    };
    const auto Click = [this](TbfrmVarnholt* AWindow, void (TbfrmVarnholt::*AHandler)()) {
        return [AWindow, AHandler](auto&&...) {
            (AWindow->*AHandler)();
        };
    };
    On(tbtnExcel, &QToolButton::clicked, Click(this, &TbfrmVarnholt::EXCEL1Click));
    On(EXCEL1, &QAction::triggered, Click(this, &TbfrmVarnholt::EXCEL1Click));
    On(tbnPrintView, &QToolButton::clicked, Click(this, &TbfrmVarnholt::btnPrintViewClick));
    On(N5, &QAction::triggered, Click(this, &TbfrmVarnholt::btnPrintViewClick));
    On(tbnPrint, &QToolButton::clicked, Click(this, &TbfrmVarnholt::tbnPrintClick));
    On(N4, &QAction::triggered, Click(this, &TbfrmVarnholt::tbnPrintClick));
    On(tbnExit, &QToolButton::clicked, Click(this, &TbfrmVarnholt::tbnExitClick));
    On(N8, &QAction::triggered, Click(this, &TbfrmVarnholt::tbnExitClick));
    On(mitemExpSet, &QAction::triggered, Click(this, &TbfrmVarnholt::mitemExpSetClick));
    // Only the user's choices count: filling a list or setting its index
    // from code raises no change.
    On(cobBType, &QComboBox::activated, Click(this, &TbfrmVarnholt::cobBTypeChange));
    On(cobTypeChild, &QComboBox::activated, Click(this, &TbfrmVarnholt::cobMidChange));
    On(cobMid, &QComboBox::activated, Click(this, &TbfrmVarnholt::cobMidChange));
    On(trvList, &QTreeWidget::currentItemChanged,
       [this](QTreeWidgetItem* ACurrent, QTreeWidgetItem*) { trvListChange(ACurrent); });
    cllBudget->SetDialogRunner([this](QDialog& ADialog) { return FDialogs->RunDialog(ADialog); });
    connect(cllBudget, &TCell5::Printed, this, &TbfrmVarnholt::Printed);
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] { FTreeWidthMoved = true; });
    if (QSplitterHandle* Handle = Splitter1->handle(1))
        Handle->installEventFilter(this);
}

bool TbfrmVarnholt::eventFilter(QObject* AWatched, QEvent* AEvent) {
    // One store write a drag, when the user lets go, instead of one a
    // mouse move.
    if (AEvent->type() == QEvent::MouseButtonRelease && AWatched == Splitter1->handle(1))
        Guarded(this, [this] { RememberTreeWidth(); })();
    return TfrmBsTrvTC::eventFilter(AWatched, AEvent);
}

void TbfrmVarnholt::SetDialogs(std::unique_ptr<TReportDialogs> ADialogs) {
    FDialogs = ADialogs ? std::move(ADialogs) : std::make_unique<TQtReportDialogs>();
}

void TbfrmVarnholt::FormShow() {
    FillIndicatorKindList(*cobBType, false, true);
    FBTypeIndex = QString::number(cobBType->currentIndex());
    try {
        const TFlagScope Loading(FLoadingTree);
        LoadUnitTree();
    } catch (const Exception& E) {
        // Without the unit list the clerk can still see the tables of the
        // logged-in unit's own data; the reason stays in view.
        FStatus->Set(UnitListUnreadable(E.Message()));
    }
    SizeTreePane();
    ShowSelectedUnit();
    cllBudget->SetWorkbookReadonly(true);
    FUnitWord = HostIsDepartmentUser() ? QStringLiteral("部门") : QStringLiteral("单位");
    RefreshReport();
}

TReportFilter TbfrmVarnholt::CurrentFilter() const {
    TReportFilter Filter;
    Filter.Year = HostYear();
    Filter.DeptClass = HostDeptClass();
    Filter.BTypeIndex = FBTypeIndex;
    Filter.SubTypeIndex = cobTypeChild->currentIndex();
    Filter.UnitPrefix = FUnitPrefix;
    Filter.UnitName = FUnitName;
    return Filter;
}

void TbfrmVarnholt::RefreshReport() {
    const bool Budget = FBTypeIndex == QLatin1String("1");
    cobTypeChild->setEnabled(Budget);
    lblChild->setEnabled(Budget);
    const QString Filter = CurrentFilter().WindowFilter(DefDialect());
    FillListFromQuery(*cobMid, FundNaturesSql(Filter), true, &FFundListError);
    const bool HasData = !cobMid->currentText().isEmpty();
    if (HasData)
        cobMid->setCurrentIndex(1);
    SetOutputEnabled(HasData);
    ShowReport();
}

void TbfrmVarnholt::SetOutputEnabled(bool AEnabled) {
    for (QToolButton* Button : {tbtnExcel, tbnPrintView, tbnPrint})
        Button->setEnabled(AEnabled);
    for (QAction* Item : {EXCEL1, N4, N5})
        Item->setEnabled(AEnabled);
}

QString TbfrmVarnholt::CurrentFundCode() const {
    // The list keeps each fund nature's code: names need not be unique.
    const QVariant Code = cobMid->currentData();
    return Code.isValid() ? Code.toString() : LookupMoneyKindId(cobMid->currentText());
}

void TbfrmVarnholt::BuildTitles(const QString& AFundName) {
    const QString Code =
        AFundName == cobMid->currentText() ? CurrentFundCode() : LookupMoneyKindId(AFundName);
    const TReportTitles Titles =
        ::BuildTitles(cobBType->currentText(), Code, FUnitName, HostYear());
    FBasisText = Titles.Basis;
    FSummaryTitle = Titles.Summary;
    FDetailTitle = Titles.Detail;
}

bool TbfrmVarnholt::ShowReport() {
    BuildTitles(cobMid->currentText());
    const QString Code = CurrentFundCode();
    const QString BTypeText = cobBType->currentText();
    FShownFill =
        FillReport(cllBudget->Document(), MakeReportContext(CurrentFilter(), BTypeText, Code), Code,
                   false, FProgress.get());
    WriteAmountHeader(cllBudget->Document(), Code, BTypeText);
    // A new table is read from its title on: never from where the last one
    // was scrolled to.
    cllBudget->ShowTopLeft();
    // The strip says whether the table adds up, has no data, or could not
    // be read at all: a bare heading must not pass for a table without data.
    // A fund-nature list that could not be read comes first: without it
    // nothing can be printed or exported, whatever the table shows.
    FStatus->Set(FFundListError.isEmpty() ? TEmptyTableHint::StatusLine(FShownFill, CurrentFilter())
                                          : FundListUnreadable(FFundListError));
    return true;
}

bool TbfrmVarnholt::PrepareExportGrid() {
    BuildTitles(cobMid->currentText());
    const QString Code = CurrentFundCode();
    // The export keeps the template's column header: no amount header here.
    FExportFill = FillReport(cllExpExcel->Document(),
                             MakeReportContext(CurrentFilter(), cobBType->currentText(), Code),
                             Code, true, FProgress.get());
    SetPageSelection(cllExpExcel->Document(), CurrentFilter(), cobBType->currentText());
    return true;
}

void TbfrmVarnholt::cobBTypeChange() {
    FBTypeIndex = QString::number(cobBType->currentIndex());
    RefreshReport();
}

void TbfrmVarnholt::cobMidChange() {
    ShowReport();
}

void TbfrmVarnholt::tbnExitClick() {
    Close();
}
