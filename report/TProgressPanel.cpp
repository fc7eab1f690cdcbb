#include "TProgressPanel.h"

#include "platform/ui/TScreen.h"

#include <QFrame>
#include <QProgressBar>
#include <algorithm>

namespace {
constexpr qint64 PaintInterval = 50; // milliseconds
} // namespace

TProgressPanel::TProgressPanel(QWidget* AClient, QFrame* APanel, QProgressBar* ABar)
    : FClient(AClient)
    , FPanel(APanel)
    , FBar(ABar) {}

int TProgressPanel::DrawnLength(int APosition) const {
    const qint64 Width = std::max(1, FBar ? FBar->width() : 1);
    return FMaximum > 0 ? int(qint64(APosition) * Width / FMaximum) : 0;
}

void TProgressPanel::Begin(int ARowCount) {
    FMaximum = std::max(0, ARowCount);
    FPosition = 0;
    FDrawn = 0;
    if (FBar) {
        FBar->setRange(0, std::max(1, FMaximum));
        FBar->setValue(0);
    }
    if (FPanel && FClient) {
        FPanel->move((FClient->width() - FPanel->width()) / 2,
                     (FClient->height() - FPanel->height()) / 2);
        FPanel->show();
        FPanel->raise();
        // The fill does not return to the event loop: the panel is painted
        // now, the rest of the window when the fill has ended.
        FPanel->repaint();
    }
    FSincePaint.start();
    if (Screen)
        Screen->SetCursor(crHourGlass);
}

void TProgressPanel::Step() {
    ++FPosition;
    const int Drawn = DrawnLength(FPosition);
    if (Drawn == FDrawn || !FBar || FSincePaint.elapsed() < PaintInterval)
        return;
    FDrawn = Drawn;
    FSincePaint.start();
    FBar->setValue(std::min(FPosition, FBar->maximum()));
    FBar->repaint();
}

void TProgressPanel::End() {
    if (Screen)
        Screen->SetCursor(crDefault);
    if (FPanel)
        FPanel->hide();
}
