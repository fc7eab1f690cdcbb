#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

// Under test nobody answers a modal window: a message box, a dialog run
// with exec() or a form shown modally that stays open longer than a test's
// own timers keep one fails the running test and is closed, so the suite
// goes on instead of waiting for ctest's time-out. Both test mains run one.
class TModalWatch : public QObject {
public:
    explicit TModalWatch(int APatienceMs = 5000);

private:
    void Check();

    QTimer FTimer;
    QPointer<QWidget> FSeen;
    QElapsedTimer FSince;
    int FPatienceMs;
};
