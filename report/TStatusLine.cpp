#include "TStatusLine.h"

#include <QLabel>

TStatusLine::TStatusLine(QLabel* ALabel)
    : FLabel(ALabel) {
    // A long path must not widen the window: the strip takes the width it
    // is given.
    FLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    FLabel->setMinimumWidth(0);
}

void TStatusLine::Set(const QString& AText) {
    if (!FLabel)
        return;
    FLabel->setText(AText);
    FLabel->setToolTip(AText);
}

void TStatusLine::Clear() {
    Set(QString());
}

QString TStatusLine::Text() const {
    return FLabel ? FLabel->text() : QString();
}
