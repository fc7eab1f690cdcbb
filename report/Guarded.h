#pragma once

#include "platform/ui/TApplication.h"

#include <QObject>

// Wraps a handler so that an error it raises goes to the application's
// HandleException, which shows or records it, instead of travelling through
// Qt's signal delivery and event loop, which cannot carry it.
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
