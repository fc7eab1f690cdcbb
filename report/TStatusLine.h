#pragma once

#include <QPointer>
#include <QString>

class QLabel;

// The window's bottom strip: one line that tells the outcome of the last
// thing worth telling (where an output went, why the unit list is missing).
// A new outcome replaces the line; Clear drops a line that no longer holds.
// A line wider than the strip is cut at its edge and shown whole in the
// strip's tool tip.
class TStatusLine {
public:
    explicit TStatusLine(QLabel* ALabel);

    void Set(const QString& AText);
    void Clear();
    QString Text() const;

private:
    QPointer<QLabel> FLabel;
};
