#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

// A frame in the highlight colour drawn around the control that has the
// focus, for controls whose own drawing shows no focus (a tree whose
// current row is selected anyway, the grid). It lies over the window,
// lets the mouse through and follows the control as it moves or resizes.
class TFocusMark : public QWidget {
    Q_OBJECT
public:
    explicit TFocusMark(QWidget* AWindow);

    // AControl shows the mark while it, or a child of it, has the focus.
    void Mark(QWidget* AControl);
    // The control the mark stands around, or nullptr while it is hidden.
    QWidget* Target() const { return isVisible() ? FTarget.data() : nullptr; }

protected:
    void paintEvent(QPaintEvent* AEvent) override;
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

private:
    void FocusChanged(QWidget* ANow);
    QWidget* MarkedOwner(QWidget* AWidget) const;
    void Follow();

    QList<QPointer<QWidget>> FMarked;
    QPointer<QWidget> FTarget;
};
