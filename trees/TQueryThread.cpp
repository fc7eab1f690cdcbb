#include "TQueryThread.h"

#include "platform/data/TADOConnection.h"
#include "platform/data/TADOQuery.h"

std::atomic<int> TQueryThread::FLiveCount{0};

TQueryThread::TQueryThread(bool ACreateSuspended, TADOQuery* AQuery)
    : FQuery(AQuery) {
    ++FLiveCount;
    // Moving the query to the clone changes free-notification lists, which
    // only the thread that owns the components may touch: do it here.
    if (FQuery && FQuery->Connection()) {
        FConnection.reset(FQuery->Connection()->Clone());
        FQuery->SetConnection(FConnection.get());
    }
    connect(this, &QThread::finished, this, &TQueryThread::Finished);
    if (!ACreateSuspended)
        start();
}

TQueryThread::~TQueryThread() {
    // A query nobody took (terminated first, no handler, failed to open) is
    // freed with the thread, before the connection it points to.
    FQuery.reset();
    FConnection.reset();
    --FLiveCount;
}

void TQueryThread::run() {
    if (Terminated() || !FQuery)
        return;
    bool Opened = false;
    try {
        FQuery->Open();
        Opened = true;
    } catch (...) {
        // A query that cannot be opened ends the thread without a result.
    }
    if (Opened && !Terminated())
        QMetaObject::invokeMethod(
            this, [this] { DoQueryEnd(); }, Qt::BlockingQueuedConnection);
    if (FConnection)
        FConnection->Close(); // on the thread that opened it
}

void TQueryThread::DoQueryEnd() {
    if (Terminated() || !OnQueryEnd || !FQuery)
        return;
    // A copy: the handler may clear OnQueryEnd while it runs.
    const TQueryEndEvent Handler = OnQueryEnd;
    TADOQuery* DataSet = FQuery.release();
    try {
        Handler(this, DataSet);
    } catch (...) {
        // Nobody on the worker could act on it; the handler has freed the
        // query on its way out.
    }
}

void TQueryThread::Finished() {
    try {
        if (OnTerminate)
            OnTerminate(this);
    } catch (...) {
        // Nothing must keep the thread from freeing itself.
    }
    deleteLater();
}
