// Trovecart - the sound device: plays decoded audio frames and keeps the master clock.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "media/internal/av_resources.h"
#include "media/internal/layer_guard.h"
#include "media/internal/player_frame_queue.h"
#include "media/player_clock.h"

// Opened and closed on the UI thread. SDL calls Fill on its own audio thread; everything Fill
// touches besides the queue and the clock belongs to that thread while the device is open.
class TAudioOutput {
public:
    // `decodedSerial` names the serial whose every frame is in `frames`; `serial` the current one.
    TAudioOutput(TFrameQueue& frames, const std::atomic<int>& decodedSerial, const std::atomic<int>& serial,
                 TPlayClock& clock);
    ~TAudioOutput();
    TAudioOutput(const TAudioOutput&) = delete;
    TAudioOutput& operator=(const TAudioOutput&) = delete;

    // Opens the default device, paused, as 16-bit samples at the source's rate with at most two
    // channels. False when there is no usable device; playback then goes on without sound.
    bool Open(int sampleRate, int channels);
    // Blocks until a running callback has returned.
    void Close();
    void SetPaused(bool paused);
    void SetVolume(int volume) { volume_ = volume; }
    // True once every frame of the serial has been played out.
    bool Drained(int serial) const { return drainedSerial_.load() == serial; }

    void Fill(uint8_t* stream, int length);

private:
    bool DecodeNextChunk();
    bool Resample(const AVFrame* frame);

    TFrameQueue& frames_;
    const std::atomic<int>& decodedSerial_;
    const std::atomic<int>& serial_;
    TPlayClock& clock_;
    uint32_t device_ = 0;
    bool subsystemStarted_ = false;
    std::atomic<int> volume_;
    std::atomic<int> drainedSerial_{-1};

    // Owned by the callback thread.
    int deviceRate_ = 0;
    int deviceChannels_ = 0;
    int bytesPerSecond_ = 0;
    int hardwareBufferBytes_ = 0;
    TSwrPtr resampler_;
    int resamplerFormat_ = -1;
    int resamplerRate_ = 0;
    AVChannelLayout resamplerLayout_{};
    std::vector<uint8_t> chunk_;
    size_t chunkRead_ = 0;
    // Media time in microseconds at the end of the chunk, and its serial.
    int64_t chunkEndUs_ = 0;
    int chunkSerial_ = -1;
};
