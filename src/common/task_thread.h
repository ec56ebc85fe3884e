// Trovecart - runs tasks one after another on a thread of its own.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>

#include <QtGlobal>

// The thread starts with the first task. Destroying the object asks the running task to stop
// (through its stop token), drops those not yet started and waits for the thread.
class TTaskThread {
public:
    using TTask = std::function<void(const std::stop_token& stop)>;

    TTaskThread() = default;
    TTaskThread(const TTaskThread&) = delete;
    TTaskThread& operator=(const TTaskThread&) = delete;

    // Queues the task; returns its number, counted from 1 in the order of the calls.
    quint64 Add(TTask task);
    // Whether the task with this number has ended, after waiting at most `timeout` for it.
    bool WaitEnded(quint64 number, std::chrono::milliseconds timeout = {});

private:
    void Run(const std::stop_token& stop);

    std::mutex mutex_;
    std::condition_variable_any changed_;
    // Guarded by mutex_.
    std::deque<TTask> queue_;
    quint64 added_ = 0;
    quint64 ended_ = 0;
    // Last: stopped and joined before the members above go.
    std::jthread thread_;
};
