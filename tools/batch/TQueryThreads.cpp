#include "TQueryThreads.h"

#include "hostcontext/TThreadConnection.h"
#include "platform/data/TAdoConn.h"

#include <algorithm>
#include <memory>

TQueryThreads::TQueryThreads(int AThreads, const QString& AConnectionString)
    : FConnectionString(AConnectionString) {
    const int Count = std::clamp(AThreads, 0, MaxThreads);
    for (int I = 0; I < Count; ++I)
        FThreads.emplace_back([this] { Work(); });
}

TQueryThreads::~TQueryThreads() {
    {
        const std::lock_guard<std::mutex> Guard(FLock);
        FStopping = true;
    }
    FChanged.notify_all();
    for (std::thread& Thread : FThreads)
        Thread.join();
}

int TQueryThreads::Width() const {
    return std::max(1, int(FThreads.size()));
}

std::future<void> TQueryThreads::Run(std::function<void()> AWork) {
    std::packaged_task<void()> Task(std::move(AWork));
    std::future<void> Done = Task.get_future();
    if (FThreads.empty()) {
        Task();
        return Done;
    }
    {
        const std::lock_guard<std::mutex> Guard(FLock);
        FQueue.push_back(std::move(Task));
    }
    FChanged.notify_one();
    return Done;
}

// The thread's connection lives from its first statement to the thread's
// end, and is closed on the thread that opened it. Work still queued when
// the threads are stopped is run all the same: a caller may wait for it.
void TQueryThreads::Work() {
    const auto Free = [](TAdoConn* AConnection) {
        AConnection->Free();
    };
    const std::unique_ptr<TAdoConn, decltype(Free)> Connection(new TAdoConn(nullptr), Free);
    Connection->SetLoginPrompt(false);
    Connection->SetConnectionString(FConnectionString);
    {
        const TThreadConnection Scope(Connection.get());
        std::unique_lock<std::mutex> Guard(FLock);
        for (;;) {
            FChanged.wait(Guard, [this] { return !FQueue.empty() || FStopping; });
            if (FQueue.empty())
                break;
            std::packaged_task<void()> Task = std::move(FQueue.front());
            FQueue.pop_front();
            Guard.unlock();
            Task();
            Guard.lock();
        }
    }
}
