// Trovecart - the sound device: plays decoded audio frames and keeps the master clock.
#include "media/internal/player_audio_output.h"

#include <algorithm>
#include <cstring>

#include <SDL.h>

extern "C" {
#include <libavutil/samplefmt.h>
}

#include "media/player_volume.h"

namespace {

constexpr int kMinDeviceSamples = 512;
// Frames are reported at this many callbacks per second at least.
constexpr int kCallbacksPerSecond = 30;

void SDLCALL FillCallback(void* output, Uint8* stream, int length) {
    static_cast<TAudioOutput*>(output)->Fill(stream, length);
}

} // namespace

TAudioOutput::TAudioOutput(TFrameQueue& frames, const std::atomic<int>& decodedSerial,
                           const std::atomic<int>& serial, TPlayClock& clock)
    : frames_(frames), decodedSerial_(decodedSerial), serial_(serial), clock_(clock),
      volume_(kDefaultAudioVolume) {}

TAudioOutput::~TAudioOutput() {
    Close();
    av_channel_layout_uninit(&resamplerLayout_);
}

bool TAudioOutput::Open(int sampleRate, int channels) {
    if (sampleRate <= 0 || channels <= 0)
        return false;
    // Qt owns the process's signals.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    subsystemStarted_ = true;

    SDL_AudioSpec wanted{};
    wanted.freq = sampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(std::min(channels, 2));
    int samples = kMinDeviceSamples;
    while (samples < sampleRate / kCallbacksPerSecond)
        samples *= 2;
    wanted.samples = static_cast<Uint16>(samples);
    wanted.callback = FillCallback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No format changes allowed: SDL converts our 16-bit samples for the hardware if it must.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0) {
        Close();
        return false;
    }
    deviceRate_ = obtained.freq;
    deviceChannels_ = obtained.channels;
    bytesPerSecond_ = deviceRate_ * deviceChannels_ * static_cast<int>(sizeof(int16_t));
    hardwareBufferBytes_ = static_cast<int>(obtained.size);
    return true;
}

void TAudioOutput::Close() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
    if (subsystemStarted_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemStarted_ = false;
    }
}

void TAudioOutput::SetPaused(bool paused) {
    if (device_ != 0)
        SDL_PauseAudioDevice(device_, paused ? 1 : 0);
}

void TAudioOutput::Fill(uint8_t* stream, int length) {
    const int64_t callbackTimeUs = SystemTimeUs();
    const int volume = volume_.load();
    bool played = false;
    while (length > 0) {
        if (chunkRead_ >= chunk_.size() && !DecodeNextChunk()) {
            // Nothing decoded yet (or the end): silence, and the clock waits.
            std::memset(stream, 0, static_cast<size_t>(length));
            break;
        }
        const size_t count = std::min(chunk_.size() - chunkRead_, static_cast<size_t>(length));
        std::memcpy(stream, chunk_.data() + chunkRead_, count);
        ScaleSamples(reinterpret_cast<int16_t*>(stream), count / sizeof(int16_t), volume);
        chunkRead_ += count;
        played = true;
        stream += count;
        length -= static_cast<int>(count);
    }
    // A callback that found nothing new leaves the clock running on its own.
    if (played && chunkSerial_ == serial_.load() && bytesPerSecond_ > 0) {
        // What was handed to SDL is heard about two device buffers later.
        const int64_t unplayedBytes =
            2LL * hardwareBufferBytes_ + static_cast<int64_t>(chunk_.size() - chunkRead_);
        clock_.Set(chunkEndUs_ - unplayedBytes * 1000000 / bytesPerSecond_, chunkSerial_, callbackTimeUs);
    }
}

bool TAudioOutput::DecodeNextChunk() {
    const int serial = serial_.load();
    TQueuedFrame queued;
    for (;;) {
        if (!frames_.TryPop(queued)) {
            chunk_.clear();
            chunkRead_ = 0;
            if (decodedSerial_.load() == serial)
                drainedSerial_ = serial;
            return false;
        }
        // Frames from before a seek, and frames the resampler refuses, are skipped.
        if (queued.Serial == serial && Resample(queued.Frame.get()))
            break;
    }
    chunkEndUs_ = queued.PtsUs + queued.DurationUs;
    chunkSerial_ = queued.Serial;
    return true;
}

bool TAudioOutput::Resample(const AVFrame* frame) {
    AVChannelLayout layout{};
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&layout, frame->ch_layout.nb_channels);
    else
        av_channel_layout_copy(&layout, &frame->ch_layout);

    if (!resampler_ || frame->format != resamplerFormat_ || frame->sample_rate != resamplerRate_ ||
        av_channel_layout_compare(&layout, &resamplerLayout_) != 0) {
        AVChannelLayout deviceLayout{};
        av_channel_layout_default(&deviceLayout, deviceChannels_);
        SwrContext* resampler = nullptr;
        const int made =
            swr_alloc_set_opts2(&resampler, &deviceLayout, AV_SAMPLE_FMT_S16, deviceRate_, &layout,
                                static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&deviceLayout);
        resampler_.reset(resampler);
        if (made < 0 || swr_init(resampler) < 0) {
            resampler_.reset();
            av_channel_layout_uninit(&layout);
            return false;
        }
        resamplerFormat_ = frame->format;
        resamplerRate_ = frame->sample_rate;
        av_channel_layout_uninit(&resamplerLayout_);
        av_channel_layout_copy(&resamplerLayout_, &layout);
    }
    av_channel_layout_uninit(&layout);

    const int capacity = swr_get_out_samples(resampler_.get(), frame->nb_samples);
    if (capacity <= 0)
        return false;
    const size_t frameBytes = static_cast<size_t>(deviceChannels_) * sizeof(int16_t);
    chunk_.resize(static_cast<size_t>(capacity) * frameBytes);
    uint8_t* output = chunk_.data();
    const int converted = swr_convert(resampler_.get(), &output, capacity,
                                      const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
    if (converted < 0)
        return false;
    chunk_.resize(static_cast<size_t>(converted) * frameBytes);
    chunkRead_ = 0;
    return true;
}
