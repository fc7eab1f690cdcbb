#include "TInputPropagation.h"

#include <QKeyEvent>
#include <QMouseEvent>

TInputPropagation::TSeen TInputPropagation::Describe(const QEvent* AEvent) {
    TSeen Seen;
    Seen.Event = AEvent;
    Seen.Type = AEvent->type();
    if (const auto* Input = dynamic_cast<const QInputEvent*>(AEvent))
        Seen.Timestamp = Input->timestamp();
    if (const auto* Key = dynamic_cast<const QKeyEvent*>(AEvent))
        Seen.Key = Key->key();
    if (const auto* Mouse = dynamic_cast<const QMouseEvent*>(AEvent)) {
        Seen.Mouse = true;
        Seen.Button = static_cast<int>(Mouse->button());
        Seen.ScreenPos = Mouse->globalPosition();
    }
    return Seen;
}

bool TInputPropagation::IsRepeat(QWidget* AReceiver, const QEvent* AEvent) {
    const TSeen Now = Describe(AEvent);
    const bool SameEvent =
        FReceiver && Now.Type == FLast.Type && Now.Timestamp == FLast.Timestamp &&
        Now.Key == FLast.Key &&
        (Now.Mouse ? Now.Button == FLast.Button && Now.ScreenPos == FLast.ScreenPos
                   : Now.Event == FLast.Event);
    const bool ToParent = SameEvent && AReceiver != FReceiver && AReceiver->isAncestorOf(FReceiver);
    const bool MouseAgain = SameEvent && Now.Mouse && AReceiver == FReceiver;
    if (ToParent || MouseAgain)
        return true;
    FLast = Now;
    FReceiver = AReceiver;
    return false;
}
