#pragma once

#include "cell/TCellPreviewPages.h"

#include <QDialog>

class QLabel;
class QSpinBox;
class TCellPreviewView;

// The print preview of a sheet: its pages one below the other, drawn as
// they come into view, with page navigation, zoom and 打印. The dialog
// fills most of the free area of the screen it opens on and never more.
class TCellPreviewDialog : public QDialog {
    Q_OBJECT
public:
    // The result when the clerk chose 打印: the caller prints the sheet
    // (asking where and how many). Closing the preview gives Rejected.
    static constexpr int PrintChosen = 2;

    TCellPreviewDialog(const TCellSheet& ASheet, const QPageLayout& ALayout,
                       QWidget* AParent = nullptr);

    // The place of the preview in a screen's free area: most of it,
    // centred, with room for the window's frame, never larger.
    static QRect FittedGeometry(const QRect& AAvailable);
    // Room the window manager's frame takes around the dialog.
    static constexpr int FrameWidth = 16;
    static constexpr int FrameHeight = 40;

    TCellPreviewPages& Pages() { return FPages; }
    TCellPreviewView& View() { return *FView; }

private:
    void BuildToolBar();
    void ShowPageNumber(int AIndex);

    TCellPreviewPages FPages;
    TCellPreviewView* FView = nullptr;
    QSpinBox* FPageBox = nullptr;
};
