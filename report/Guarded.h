#pragma once

#include "platform/ui/TApplication.h"

#include <QObject>

// Wraps a handler so that it runs the way the framework's message loop ran
// handlers: an error goes to the application's HandleException instead of
// travelling through Qt's signal delivery and event loop, which cannot
// carry it.
template <class F> auto Guarded(QObject* ASender, F AHandler) {
    return [ASender, AHandler](auto&&... AArgs) {
        try {
            AHandler(AArgs...);
        } catch (...) {
            if (Application)
                Application->HandleException(ASender);
        }
    };
}
