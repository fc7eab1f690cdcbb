#include "TScreen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

TScreen* Screen = nullptr;

TScreen::TScreen(TComponent* AOwner)
    : TComponent(AOwner) {}

TScreen::~TScreen() {
    SetCursor(crDefault);
}

namespace {
QSize PrimaryScreenSize() {
    QScreen* Primary = QGuiApplication::primaryScreen();
    return Primary ? Primary->geometry().size() : QSize(1024, 768);
}
} // namespace

int TScreen::Width() const {
    return FFixedSize ? FFixedSize->width() : PrimaryScreenSize().width();
}

int TScreen::Height() const {
    return FFixedSize ? FFixedSize->height() : PrimaryScreenSize().height();
}

void TScreen::SetSize(int AWidth, int AHeight) {
    FFixedSize = QSize(AWidth, AHeight);
}

void TScreen::SetCursor(TCursor ACursor) {
    FCursor = ACursor;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    if (FOverriding) {
        QGuiApplication::restoreOverrideCursor();
        FOverriding = false;
    }
    if (ACursor == crHourGlass || ACursor == crSQLWait) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        FOverriding = true;
    } else if (ACursor == crArrow) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
        FOverriding = true;
    }
}
