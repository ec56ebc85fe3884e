// Trovecart - turns one stream's queued packets into frames.
#include "media/internal/player_decoder.h"

TStreamDecoder::TStreamDecoder(TCodecContextPtr codec, TPacketQueue& packets)
    : codec_(std::move(codec)), packets_(packets) {}

TStreamDecoder::EResult TStreamDecoder::Decode(AVFrame* frame, int& serial) {
    for (;;) {
        if (packets_.Serial() == packetSerial_) {
            for (;;) {
                if (packets_.Aborted())
                    return EResult::Aborted;
                const int received = avcodec_receive_frame(codec_.get(), frame);
                if (received >= 0) {
                    serial = packetSerial_;
                    return EResult::Frame;
                }
                if (received == AVERROR_EOF) {
                    serial = packetSerial_;
                    avcodec_flush_buffers(codec_.get());
                    return EResult::EndOfStream;
                }
                // EAGAIN wants the next packet; a damaged frame is skipped the same way.
                break;
            }
        }
        TQueuedPacket item;
        if (!TakePacket(item))
            return EResult::Aborted;
        if (item.Serial != packetSerial_) {
            avcodec_flush_buffers(codec_.get());
            packetSerial_ = item.Serial;
        }
        const int sent =
            avcodec_send_packet(codec_.get(), item.IsEndOfStream() ? nullptr : item.Packet.get());
        if (sent == AVERROR(EAGAIN)) {
            // The codec has frames to hand out first; the packet goes in on the next round.
            pending_ = std::move(item);
            hasPending_ = true;
        }
    }
}

bool TStreamDecoder::TakePacket(TQueuedPacket& item) {
    for (;;) {
        if (hasPending_) {
            item = std::move(pending_);
            hasPending_ = false;
        } else if (!packets_.Get(item)) {
            return false;
        }
        if (item.Serial == packets_.Serial())
            return true;
    }
}
