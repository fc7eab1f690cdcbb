#include "TCellPreviewDialog.h"

#include "TCellPreviewView.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The share of the free area a preview takes on a roomy screen.
constexpr double ShareOfWidth = 0.9;
constexpr double ShareOfHeight = 0.92;
// One step of 放大 and 缩小.
constexpr double ZoomStep = 1.25;

} // namespace

TCellPreviewDialog::TCellPreviewDialog(const TCellSheet& ASheet, const QPageLayout& ALayout,
                                       QWidget* AParent)
    : QDialog(AParent)
    , FPages(ASheet, ALayout) {
    setObjectName(QStringLiteral("TCellPreviewDialog"));
    setWindowTitle(QStringLiteral("打印预览"));
    FView = new TCellPreviewView(FPages, this);
    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);
    BuildToolBar();
    Layout->addWidget(FView, 1);
    const QScreen* Screen = AParent ? AParent->screen() : QGuiApplication::primaryScreen();
    if (Screen)
        setGeometry(FittedGeometry(Screen->availableGeometry()));
    connect(FView, &TCellPreviewView::CurrentPageChanged, this,
            &TCellPreviewDialog::ShowPageNumber);
    FView->setFocus();
}

QRect TCellPreviewDialog::FittedGeometry(const QRect& AAvailable) {
    const int MostWidth = std::max(1, AAvailable.width() - FrameWidth);
    const int MostHeight = std::max(1, AAvailable.height() - FrameHeight);
    const QSize Size(std::min(MostWidth, int(AAvailable.width() * ShareOfWidth)),
                     std::min(MostHeight, int(AAvailable.height() * ShareOfHeight)));
    // The frame is centred in the free area; the dialog's own area lies
    // inside it below the title bar.
    const QPoint FrameCorner(
        AAvailable.left() + (AAvailable.width() - Size.width() - FrameWidth) / 2,
        AAvailable.top() + (AAvailable.height() - Size.height() - FrameHeight) / 2);
    return QRect(FrameCorner + QPoint(FrameWidth / 2, FrameHeight - FrameWidth / 2), Size);
}

void TCellPreviewDialog::BuildToolBar() {
    auto* Bar = new QToolBar(this);
    Bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout()->addWidget(Bar);
    const auto Go = [this](int AIndex) {
        FView->GoToPage(AIndex);
    };
    Bar->addAction(QStringLiteral("首页"), this, [Go] { Go(0); });
    Bar->addAction(QStringLiteral("上一页"), this, [this, Go] { Go(FView->CurrentPage() - 1); });
    FPageBox = new QSpinBox(Bar);
    FPageBox->setObjectName(QStringLiteral("PageBox"));
    FPageBox->setRange(1, std::max(1, FPages.Count()));
    FPageBox->setKeyboardTracking(false);
    Bar->addWidget(FPageBox);
    auto* Total = new QLabel(QStringLiteral(" / 共 %1 页 ").arg(FPages.Count()), Bar);
    Total->setObjectName(QStringLiteral("PageTotal"));
    Bar->addWidget(Total);
    connect(FPageBox, &QSpinBox::valueChanged, this, [Go](int ANumber) { Go(ANumber - 1); });
    Bar->addAction(QStringLiteral("下一页"), this, [this, Go] { Go(FView->CurrentPage() + 1); });
    Bar->addAction(QStringLiteral("末页"), this, [this, Go] { Go(FPages.Count() - 1); });
    Bar->addSeparator();
    Bar->addAction(QStringLiteral("适合宽度"), this,
                   [this] { FView->SetFit(TCellPreviewView::FitWidth); });
    Bar->addAction(QStringLiteral("整页"), this,
                   [this] { FView->SetFit(TCellPreviewView::FitPage); });
    Bar->addAction(QStringLiteral("放大"), this,
                   [this] { FView->SetZoom(FView->Zoom() * ZoomStep); });
    Bar->addAction(QStringLiteral("缩小"), this,
                   [this] { FView->SetZoom(FView->Zoom() / ZoomStep); });
    Bar->addSeparator();
    QAction* Print = Bar->addAction(QStringLiteral("打印"), this, [this] { done(PrintChosen); });
    Print->setObjectName(QStringLiteral("PrintAction"));
    Bar->addAction(QStringLiteral("关闭"), this, &QDialog::reject);
}

void TCellPreviewDialog::ShowPageNumber(int AIndex) {
    const QSignalBlocker Quiet(FPageBox);
    FPageBox->setValue(AIndex + 1);
}
