// Trovecart - the packets one stream's decoder has yet to take, stamped with the seek serial.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include "media/internal/av_resources.h"
#include "media/internal/layer_guard.h"

// A packet and the serial of the seek it belongs to. A packet without data marks the end of the
// stream: the decoder drains on it.
struct TQueuedPacket {
    TPacketPtr Packet;
    int Serial = 0;

    bool IsEndOfStream() const { return !Packet || (!Packet->data && Packet->size == 0); }
};

// Filled by the demux thread, emptied by one decoder thread. Every Flush starts a new serial so
// the decoder can tell packets from before a seek from those after it.
class TPacketQueue {
public:
    // `consumed` runs on the decoder's thread after each Get, outside the queue's lock; the demux
    // thread uses it to learn that there is room again.
    explicit TPacketQueue(std::function<void()> consumed = {});

    // Takes the packet; false (and the packet is freed) once the queue is aborted.
    bool Put(TPacketPtr packet);
    bool PutEndOfStream();
    // Blocks until a packet arrives or the queue is aborted (false).
    bool Get(TQueuedPacket& item);
    // Drops every packet; later packets carry `serial`.
    void Flush(int serial);
    // Wakes every waiter for good.
    void Abort();

    bool Aborted() const;
    int Serial() const;
    int Count() const;
    int64_t Bytes() const;
    // Sum of the packet durations, in the stream's time base.
    int64_t Duration() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<TQueuedPacket> packets_;
    std::function<void()> consumed_;
    int serial_ = 0;
    int64_t bytes_ = 0;
    int64_t duration_ = 0;
    bool aborted_ = false;
};
