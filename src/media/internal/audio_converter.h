// Trovecart - an audio stream's way from its decoder to its encoder (inside the media layer).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "media/internal/av_resources.h"
#include "media/internal/layer_guard.h"

extern "C" {
#include <libavutil/audio_fifo.h>
}

// What the encoder takes, and which part of the source goes to it.
struct TAudioConversion {
    AVSampleFormat Format = AV_SAMPLE_FMT_NONE;
    int SampleRate = 0;
    AVChannelLayout Layout{};
    double Volume = 1.0; // factor; 1 leaves the samples as they are
    int FrameSize = 0;   // samples per frame the encoder needs; 0 for any
    // Microseconds on the input's clock; a start of 0 keeps everything before, an end of -1
    // everything after.
    int64_t WindowStart = 0;
    int64_t WindowEnd = -1;
    // Moves the clock so that the window's start is 0.
    bool StartAtZero = false;
};

// Cuts decoded frames to the window, converts them with swresample and hands them out in frames
// of the encoder's size, timed in 1/SampleRate from the first kept sample. Used on the task's
// worker thread only. Errors raise EMediaError.
class TAudioConverter {
public:
    TAudioConverter(const AVCodecContext& decoder, AVRational inputTimeBase,
                    const TAudioConversion& conversion);
    ~TAudioConverter();
    TAudioConverter(const TAudioConverter&) = delete;
    TAudioConverter& operator=(const TAudioConverter&) = delete;

    // Takes a decoded frame, timed in the input stream's time base.
    void Push(const AVFrame& frame);
    // Converts what the resampler still holds; Pull then hands out the last, shorter frame too.
    void Flush();
    // The next frame for the encoder into an empty `frame`; false when none is ready.
    bool Pull(AVFrame& frame);

private:
    int Convert(const uint8_t** input, int count);

    struct TFifoFreer {
        void operator()(AVAudioFifo* fifo) const { av_audio_fifo_free(fifo); }
    };

    TAudioConversion conversion_;
    AVRational inputTimeBase_;
    AVSampleFormat inputFormat_;
    int inputRate_;
    int inputChannels_;
    std::vector<const uint8_t*> inputPlanes_; // where a frame's kept samples start, one per plane
    TSwrPtr resampler_;
    std::unique_ptr<AVAudioFifo, TFifoFreer> fifo_;
    uint8_t** scratch_ = nullptr; // converted samples on their way into the fifo
    int scratchCapacity_ = 0;
    std::optional<int64_t> windowStart_; // in input samples
    std::optional<int64_t> windowEnd_;
    int64_t nextInput_ = 0;                // input sample time a frame without a time follows on
    int64_t firstOutput_ = AV_NOPTS_VALUE; // output time of the first kept sample
    int64_t pulled_ = 0;
    bool flushed_ = false;
};
