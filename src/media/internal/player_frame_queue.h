// Trovecart - decoded frames waiting for the screen or the sound device.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include "media/internal/av_resources.h"
#include "media/internal/layer_guard.h"

struct TQueuedFrame {
    TFramePtr Frame;
    int Serial = 0;
    // Media time in microseconds (the stream's start included) and how long the frame lasts.
    int64_t PtsUs = 0;
    int64_t DurationUs = 0;
};

// One producer (a decoder thread) and one consumer. Small and bounded, so a decoder never runs
// far ahead of the clock; the producer blocks while the queue is full.
class TFrameQueue {
public:
    // `pushed` runs on the producer's thread after each Push, outside the queue's lock.
    explicit TFrameQueue(size_t capacity, std::function<void()> pushed = {});

    // Blocks while full; false (the frame is dropped) once aborted.
    bool Push(TQueuedFrame frame);
    // The oldest frame, or nullptr. The reference stays valid until the consumer pops it.
    TQueuedFrame* Front();
    size_t Size() const;
    void Pop();
    // Moves the oldest frame out; false when the queue is empty.
    bool TryPop(TQueuedFrame& frame);
    void Abort();

private:
    mutable std::mutex mutex_;
    std::condition_variable space_;
    std::deque<TQueuedFrame> frames_;
    std::function<void()> pushed_;
    const size_t capacity_;
    bool aborted_ = false;
};
