#pragma once

#include "report/tables/TReportProgress.h"

#include <QElapsedTimer>
#include <QPointer>

class QFrame;
class QProgressBar;
class QWidget;

// The report window's progress panel: centred over the window while a
// table is filled, with the bar moving and the hourglass cursor showing.
// The bar is repainted only when its drawn length changes, and at most
// twenty times a second, so the panel costs a table of many thousand rows
// a few dozen repaints and a small table next to nothing.
class TProgressPanel : public TReportProgress {
public:
    TProgressPanel(QWidget* AClient, QFrame* APanel, QProgressBar* ABar);

    void Begin(int ARowCount) override;
    void Step() override;
    void End() override;

private:
    // The bar's drawn length, in steps of one pixel of its width.
    int DrawnLength(int APosition) const;

    QPointer<QWidget> FClient;
    QPointer<QFrame> FPanel;
    QPointer<QProgressBar> FBar;
    int FMaximum = 0;
    int FPosition = 0;
    int FDrawn = -1;
    QElapsedTimer FSincePaint;
};
