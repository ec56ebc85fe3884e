// Trovecart - the packets one stream's decoder has yet to take.
#include "media/internal/player_packet_queue.h"

TPacketQueue::TPacketQueue(std::function<void()> consumed) : consumed_(std::move(consumed)) {}

bool TPacketQueue::Put(TPacketPtr packet) {
    {
        std::lock_guard lock(mutex_);
        if (aborted_)
            return false;
        bytes_ += packet->size + static_cast<int64_t>(sizeof(AVPacket));
        duration_ += packet->duration;
        packets_.push_back({std::move(packet), serial_});
    }
    arrived_.notify_one();
    return true;
}

bool TPacketQueue::PutEndOfStream() {
    TPacketPtr marker = MakePacket();
    if (!marker)
        return false;
    return Put(std::move(marker));
}

bool TPacketQueue::Get(TQueuedPacket& item) {
    {
        std::unique_lock lock(mutex_);
        arrived_.wait(lock, [this] { return aborted_ || !packets_.empty(); });
        if (aborted_)
            return false;
        item = std::move(packets_.front());
        packets_.pop_front();
        bytes_ -= item.Packet->size + static_cast<int64_t>(sizeof(AVPacket));
        duration_ -= item.Packet->duration;
    }
    if (consumed_)
        consumed_();
    return true;
}

void TPacketQueue::Flush(int serial) {
    std::lock_guard lock(mutex_);
    packets_.clear();
    bytes_ = 0;
    duration_ = 0;
    serial_ = serial;
}

void TPacketQueue::Abort() {
    {
        std::lock_guard lock(mutex_);
        aborted_ = true;
    }
    arrived_.notify_all();
}

bool TPacketQueue::Aborted() const {
    std::lock_guard lock(mutex_);
    return aborted_;
}

int TPacketQueue::Serial() const {
    std::lock_guard lock(mutex_);
    return serial_;
}

int TPacketQueue::Count() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(packets_.size());
}

int64_t TPacketQueue::Bytes() const {
    std::lock_guard lock(mutex_);
    return bytes_;
}

int64_t TPacketQueue::Duration() const {
    std::lock_guard lock(mutex_);
    return duration_;
}
