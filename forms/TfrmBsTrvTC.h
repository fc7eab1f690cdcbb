#pragma once

#include "TfrmBsCld.h"

class QFrame;
class QSplitter;
class QTreeWidget;

// A child window split into a tree on the left and two stacked panes on the
// right, each pane over a thin message strip.
class TfrmBsTrvTC : public TfrmBsCld {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TfrmBsTrvTC(TComponent* AOwner = nullptr);
    ~TfrmBsTrvTC() override;

    QFrame* pnlBottom = nullptr;
    QSplitter* Splitter1 = nullptr;
    QFrame* pnlLeft = nullptr;
    QTreeWidget* trvList = nullptr;
    QFrame* pnlNo = nullptr;
    QSplitter* Splitter2 = nullptr;
    QFrame* pnlBTop = nullptr;
    QFrame* pnlRightTop = nullptr;
    QFrame* pnlTopMessage = nullptr;
    QFrame* pnlBBotton = nullptr;
    QFrame* pnlRightBottom = nullptr;
    QFrame* pnlBottonMessage = nullptr;

private:
    void BuildLeftPane();
    void BuildRightPanes();
};
