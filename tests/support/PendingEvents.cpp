#include "PendingEvents.h"

#include <QCoreApplication>

void ProcessPendingEvents() {
    for (int I = 0; I < 3; ++I)
        QCoreApplication::processEvents();
}
