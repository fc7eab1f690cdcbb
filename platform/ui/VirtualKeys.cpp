#include "VirtualKeys.h"

#include <QKeyEvent>

int VirtualKeyFromQt(int AQtKey) {
    if ((AQtKey >= Qt::Key_0 && AQtKey <= Qt::Key_9) ||
        (AQtKey >= Qt::Key_A && AQtKey <= Qt::Key_Z))
        return AQtKey; // same codes as ASCII
    if (AQtKey >= Qt::Key_F1 && AQtKey <= Qt::Key_F24)
        return VK_F1 + (AQtKey - Qt::Key_F1);
    switch (AQtKey) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        return 0;
    }
}

QChar CharFromKeyEvent(const QKeyEvent* AEvent) {
    if (AEvent->key() == Qt::Key_Return || AEvent->key() == Qt::Key_Enter)
        return QChar(13);
    if (AEvent->key() == Qt::Key_Escape)
        return QChar(27);
    const QString Text = AEvent->text();
    return Text.isEmpty() ? QChar() : Text.front();
}
