// Trovecart - turns one stream's queued packets into frames.
#pragma once

#include "media/internal/av_resources.h"
#include "media/internal/layer_guard.h"
#include "media/internal/player_packet_queue.h"

// Used by one decoder thread. Packets of an older serial are skipped and the codec is flushed
// whenever the serial changes, so no frame from before a seek leaves the decoder.
class TStreamDecoder {
public:
    enum class EResult { Frame, EndOfStream, Aborted };

    TStreamDecoder(TCodecContextPtr codec, TPacketQueue& packets);

    // Blocks until a frame is ready, the end-of-stream marker of the current serial has been
    // drained, or the queue is aborted. `serial` tells which seek the frame or the end belongs to.
    EResult Decode(AVFrame* frame, int& serial);

private:
    bool TakePacket(TQueuedPacket& item);

    TCodecContextPtr codec_;
    TPacketQueue& packets_;
    TQueuedPacket pending_;
    bool hasPending_ = false;
    int packetSerial_ = -1;
};
