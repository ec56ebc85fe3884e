// Trovecart - decoded frames waiting for the screen or the sound device.
#include "media/internal/player_frame_queue.h"

TFrameQueue::TFrameQueue(size_t capacity, std::function<void()> pushed)
    : pushed_(std::move(pushed)), capacity_(capacity) {}

bool TFrameQueue::Push(TQueuedFrame frame) {
    {
        std::unique_lock lock(mutex_);
        space_.wait(lock, [this] { return aborted_ || frames_.size() < capacity_; });
        if (aborted_)
            return false;
        frames_.push_back(std::move(frame));
    }
    if (pushed_)
        pushed_();
    return true;
}

TQueuedFrame* TFrameQueue::Front() {
    std::lock_guard lock(mutex_);
    return frames_.empty() ? nullptr : &frames_.front();
}

size_t TFrameQueue::Size() const {
    std::lock_guard lock(mutex_);
    return frames_.size();
}

void TFrameQueue::Pop() {
    {
        std::lock_guard lock(mutex_);
        if (frames_.empty())
            return;
        frames_.pop_front();
    }
    space_.notify_one();
}

bool TFrameQueue::TryPop(TQueuedFrame& frame) {
    {
        std::lock_guard lock(mutex_);
        if (frames_.empty())
            return false;
        frame = std::move(frames_.front());
        frames_.pop_front();
    }
    space_.notify_one();
    return true;
}

void TFrameQueue::Abort() {
    {
        std::lock_guard lock(mutex_);
        aborted_ = true;
    }
    space_.notify_all();
}
