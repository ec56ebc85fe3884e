// Trovecart - a thread that runs queued tasks.
#include "common/task_thread.h"

quint64 TTaskThread::Add(TTask task) {
    std::unique_lock lock(mutex_);
    queue_.push_back(std::move(task));
    const quint64 number = ++added_;
    if (!thread_.joinable())
        thread_ = std::jthread([this](const std::stop_token& stop) { Run(stop); });
    lock.unlock();
    changed_.notify_all();
    return number;
}

bool TTaskThread::WaitEnded(quint64 number, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return ended_ >= number; });
}

void TTaskThread::Run(const std::stop_token& stop) {
    std::unique_lock lock(mutex_);
    while (changed_.wait(lock, stop, [this] { return !queue_.empty(); }) && !stop.stop_requested()) {
        const TTask task = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        task(stop);
        lock.lock();
        ++ended_;
        changed_.notify_all();
    }
}
