#pragma once

#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

// Threads that run a run's statements, each on a read-only connection of
// its own: the connection is made and opened on its thread (a Qt SQL
// connection serves only the thread that opened it) from the run's
// connection string, so it is of the same read-only kind as the run's own
// (on PostgreSQL every statement still in a read-only transaction of its
// own), and the report's statements on that thread use it
// (TThreadConnection). Work is taken in the order it was handed over.
class TQueryThreads {
public:
    // The most connections a run opens at once.
    static constexpr int MaxThreads = 8;

    // AThreads 0 runs each work on the caller's thread as it is handed over,
    // on the run's own connection: one step after the other. More than
    // MaxThreads are MaxThreads.
    TQueryThreads(int AThreads, const QString& AConnectionString);
    ~TQueryThreads();
    TQueryThreads(const TQueryThreads&) = delete;
    TQueryThreads& operator=(const TQueryThreads&) = delete;

    // How many works may run at once (1 without threads).
    int Width() const;
    // Hands AWork over; the future is ready once it has run (at once
    // without threads). A work must not throw.
    std::future<void> Run(std::function<void()> AWork);

private:
    void Work();

    const QString FConnectionString;
    std::mutex FLock;
    std::condition_variable FChanged;
    std::deque<std::packaged_task<void()>> FQueue;
    bool FStopping = false;
    std::vector<std::thread> FThreads;
};
