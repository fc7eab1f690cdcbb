#pragma once

#include "TNodeItem.h"

#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

class TADOConnection;
class TADOQuery;

// Opens one query on a worker thread and hands it to the user-interface
// thread. The query runs on the thread's own clone of its connection (a
// connection may only be used on the thread that opened it); everything
// else happens on the thread that created this object.
//
// The thread frees itself once it has finished, after its termination
// handler has run. Nobody waits for it: asking it to terminate and clearing
// its handlers is all a user who no longer wants the rows does.
class TQueryThread : public QThread {
    Q_OBJECT
public:
    // Receives the opened query and with it the duty to free it.
    using TQueryEndEvent = std::function<void(TQueryThread* Sender, TADOQuery* DataSet)>;
    using TNotifyEvent = std::function<void(TQueryThread* Sender)>;

    // Takes AQuery over and moves it onto a clone of its connection. Starts
    // at once unless ACreateSuspended.
    TQueryThread(bool ACreateSuspended, TADOQuery* AQuery);
    ~TQueryThread() override;

    void Start() { start(); }
    // Asks the thread to skip what is left; safe before it has started.
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }

    // The query until OnQueryEnd has taken it; null afterwards.
    TADOQuery* Query() const { return FQuery.get(); }

    // Runs on the user-interface thread after the query has been opened,
    // unless the thread was asked to terminate first. The worker waits.
    TQueryEndEvent OnQueryEnd;
    // Runs on the user-interface thread when the thread has finished.
    TNotifyEvent OnTerminate;
    // The node the rows belong to, recorded by whoever starts the thread.
    TNodeItem::TWeakRef ParentNode;

    // Threads of this class not yet freed, for shutting down in order.
    static int LiveCount() { return FLiveCount; }

protected:
    void run() override;

private:
    void DoQueryEnd();
    void Finished();

    std::unique_ptr<TADOConnection> FConnection;
    std::unique_ptr<TADOQuery> FQuery;
    std::atomic<bool> FTerminated{false};
    static std::atomic<int> FLiveCount;
};
