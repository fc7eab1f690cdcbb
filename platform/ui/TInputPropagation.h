#pragma once

#include "platform/PlatformExport.h"

#include <QEvent>
#include <QPointF>
#include <QPointer>
#include <QWidget>

// Recognises an input event that has been looked at already. Qt hands an
// input event that a widget ignored on to its parents (a key event as the
// same object, a mouse event as a copy in the parent's coordinates), and may
// deliver a mouse press to its widget more than once. Code that must act on
// each input once, for its first receiver, asks IsRepeat and acts only when
// it says no.
//
// A key event is the same when it is the same object with the same type,
// timestamp and key; a mouse event when it has the same type, timestamp,
// button and screen position. It is a repeat when it reaches a parent of the
// widget that saw it last, or, for mouse events, that widget again: mouse
// events carry distinct timestamps, while synthetic key events may all
// carry 0.
class PLATFORM_EXPORT TInputPropagation {
public:
    // True for a repeat; otherwise remembers the event at AReceiver.
    bool IsRepeat(QWidget* AReceiver, const QEvent* AEvent);

private:
    struct TSeen {
        const QEvent* Event = nullptr;
        QEvent::Type Type = QEvent::None;
        quint64 Timestamp = 0;
        int Key = 0;
        int Button = 0;
        QPointF ScreenPos;
        bool Mouse = false;
    };
    static TSeen Describe(const QEvent* AEvent);

    TSeen FLast;
    QPointer<QWidget> FReceiver;
};
