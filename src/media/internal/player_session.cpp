// Trovecart - one opened file playing: opening, demuxing, decoding and control.
#include "media/internal/player_session.h"

#include <algorithm>
#include <cerrno>

#include "common/app_error.h"
#include "media/internal/media_input.h"
#include "media/player_volume.h"

namespace {

constexpr size_t kVideoFrameCapacity = 3;
constexpr size_t kAudioFrameCapacity = 9;
// The demux thread reads ahead until each queue holds this much, within the byte limit.
constexpr int kEnoughPackets = 25;
constexpr int64_t kEnoughDurationUs = 1000000;
constexpr int64_t kMaxQueuedBytes = 15 * 1024 * 1024;

int InterruptWhenAborted(void* aborted) {
    return static_cast<std::atomic<bool>*>(aborted)->load() ? 1 : 0;
}

bool HasEnough(const TPacketQueue& queue, const AVStream* stream) {
    if (queue.Count() <= kEnoughPackets)
        return false;
    const int64_t duration = queue.Duration();
    return duration <= 0 || av_rescale_q(duration, stream->time_base, AV_TIME_BASE_Q) > kEnoughDurationUs;
}

int64_t FramePtsUs(const AVFrame* frame, AVRational timeBase, int64_t guessUs) {
    if (frame->best_effort_timestamp == AV_NOPTS_VALUE)
        return guessUs;
    return av_rescale_q(frame->best_effort_timestamp, timeBase, AV_TIME_BASE_Q);
}

} // namespace

TPlaybackSession::TPlaybackSession(const QString& fileName, std::unique_ptr<TPlaybackListener> listener,
                                   int volume)
    : listener_(std::move(listener)), videoPackets_([this] { WakeDemux(); }),
      audioPackets_([this] { WakeDemux(); }), videoFrames_(kVideoFrameCapacity, [this] { WakePresenter(); }),
      audioFrames_(kAudioFrameCapacity) {
    OpenInput(fileName);
    if (videoStream_ >= 0)
        OpenVideo();
    if (audioStream_ >= 0)
        OpenAudio(volume);
    if (!videoDecoder_ && !audioDecoder_ && !silentSound_)
        throw EAppError(NoCodecParametersMessage(fileName));

    demuxThread_ = std::thread([this] { DemuxLoop(); });
    if (videoDecoder_)
        videoThread_ = std::thread([this] { VideoDecodeLoop(); });
    if (audioDecoder_)
        audioThread_ = std::thread([this] { AudioDecodeLoop(); });
    presenterThread_ = std::thread([this] { PresenterLoop(); });
    if (audio_)
        audio_->SetPaused(false);
}

TPlaybackSession::~TPlaybackSession() {
    Abort();
    for (std::thread* thread : {&demuxThread_, &videoThread_, &audioThread_, &presenterThread_}) {
        if (thread->joinable())
            thread->join();
    }
}

void TPlaybackSession::OpenInput(const QString& fileName) {
    AVFormatContext* context = avformat_alloc_context();
    if (!context)
        throw EAppError(OpenErrorMessage(fileName, AVERROR(ENOMEM)));
    context->interrupt_callback.callback = InterruptWhenAborted;
    context->interrupt_callback.opaque = &aborted_;
    const QByteArray path = fileName.toUtf8();
    // On failure the context is freed by avformat_open_input.
    const int opened = avformat_open_input(&context, path.constData(), nullptr, nullptr);
    if (opened < 0)
        throw EAppError(OpenFailureMessage(fileName, opened));
    input_.reset(context);
    if (avformat_find_stream_info(context, nullptr) < 0)
        throw EAppError(NoCodecParametersMessage(fileName));

    videoStream_ = av_find_best_stream(context, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    // Cover art is a single still picture, not a video: such files play as audio.
    if (videoStream_ >= 0 && (context->streams[videoStream_]->disposition & AV_DISPOSITION_ATTACHED_PIC))
        videoStream_ = -1;
    audioStream_ = av_find_best_stream(context, AVMEDIA_TYPE_AUDIO, -1, videoStream_, nullptr, 0);
    videoStream_ = std::max(videoStream_, -1);
    audioStream_ = std::max(audioStream_, -1);
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        if (static_cast<int>(i) != videoStream_ && static_cast<int>(i) != audioStream_)
            context->streams[i]->discard = AVDISCARD_ALL;
    }
    startUs_ = context->start_time == AV_NOPTS_VALUE ? 0 : context->start_time;
    durationUs_ = context->duration == AV_NOPTS_VALUE ? -1 : context->duration;
    if (videoStream_ >= 0) {
        const AVRational rate = av_guess_frame_rate(context, context->streams[videoStream_], nullptr);
        if (rate.num > 0 && rate.den > 0)
            nominalFrameUs_ = av_rescale_q(1, av_inv_q(rate), AV_TIME_BASE_Q);
    }
}

TCodecContextPtr TPlaybackSession::OpenDecoder(int streamIndex) {
    const AVStream* stream = input_->streams[streamIndex];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return {};
    TCodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0)
        return {};
    context->pkt_timebase = stream->time_base;
    context->thread_count = 0;
    if (avcodec_open2(context.get(), codec, nullptr) < 0)
        return {};
    return context;
}

void TPlaybackSession::OpenVideo() {
    if (TCodecContextPtr codec = OpenDecoder(videoStream_)) {
        videoDecoder_ = std::make_unique<TStreamDecoder>(std::move(codec), videoPackets_);
        return;
    }
    // A picture this build cannot decode: whatever sound there is still plays.
    input_->streams[videoStream_]->discard = AVDISCARD_ALL;
    videoStream_ = -1;
}

void TPlaybackSession::OpenAudio(int volume) {
    TCodecContextPtr codec = OpenDecoder(audioStream_);
    if (codec) {
        audio_ = std::make_unique<TAudioOutput>(audioFrames_, audioDecodedSerial_, serial_, audioClock_);
        audio_->SetVolume(volume);
        if (audio_->Open(codec->sample_rate, codec->ch_layout.nb_channels)) {
            audioDecoder_ = std::make_unique<TStreamDecoder>(std::move(codec), audioPackets_);
            return;
        }
        audio_.reset();
        silentSound_ = true;
    }
    // No decoder or no sound device: the picture, or the silent position, runs on the system clock.
    input_->streams[audioStream_]->discard = AVDISCARD_ALL;
    audioStream_ = -1;
}

void TPlaybackSession::Abort() {
    {
        std::lock_guard lock(control_);
        aborted_ = true;
    }
    demuxWake_.notify_all();
    presenterWake_.notify_all();
    videoPackets_.Abort();
    audioPackets_.Abort();
    videoFrames_.Abort();
    audioFrames_.Abort();
    if (audio_)
        audio_->Close();
}

void TPlaybackSession::SetPaused(bool paused) {
    {
        std::lock_guard lock(control_);
        if (paused_ == paused)
            return;
        paused_ = paused;
        // Resuming at the end plays the end out again and reports it again.
        endReportedSerial_ = -1;
        ++presenterWakeups_;
    }
    audioClock_.SetPaused(paused);
    externalClock_.SetPaused(paused);
    if (audio_)
        audio_->SetPaused(paused);
    presenterWake_.notify_all();
}

bool TPlaybackSession::Paused() const {
    std::lock_guard lock(control_);
    return paused_;
}

void TPlaybackSession::Seek(int64_t positionUs, bool exact) {
    {
        std::lock_guard lock(control_);
        seekPending_ = true;
        ++seekRequest_;
        seekTargetUs_ = startUs_ + positionUs;
        seekExact_ = exact;
    }
    positionUs_ = positionUs;
    demuxWake_.notify_all();
}

void TPlaybackSession::SetVolume(int volume) {
    if (audio_)
        audio_->SetVolume(volume);
}

int64_t TPlaybackSession::Position() const {
    return positionUs_.load();
}

QImage TPlaybackSession::CurrentFrame() const {
    std::lock_guard lock(frameMutex_);
    return currentFrame_;
}

void TPlaybackSession::DemuxLoop() {
    TPacketPtr packet = MakePacket();
    for (;;) {
        int64_t seekTarget = 0;
        bool seekExact = false;
        uint64_t seekRequest = 0;
        {
            std::unique_lock lock(control_);
            demuxWake_.wait(lock, [this] {
                return aborted_ || seekPending_ || (endOfFileSerial_ != serial_ && NeedsPackets());
            });
            if (aborted_)
                return;
            if (seekPending_) {
                seekTarget = seekTargetUs_;
                seekExact = seekExact_;
                seekRequest = seekRequest_;
            }
        }
        if (seekRequest != 0) {
            PerformSeek(seekTarget, seekExact, seekRequest);
            continue;
        }
        if (!packet)
            return;
        const int read = av_read_frame(input_.get(), packet.get());
        if (read < 0) {
            // The end of the file, or a read error taken as the end: the decoders drain.
            if (videoDecoder_)
                videoPackets_.PutEndOfStream();
            if (audioDecoder_)
                audioPackets_.PutEndOfStream();
            {
                std::lock_guard lock(control_);
                endOfFileSerial_ = serial_;
                ++presenterWakeups_;
            }
            presenterWake_.notify_all();
            continue;
        }
        if (packet->stream_index == videoStream_ && videoDecoder_) {
            videoPackets_.Put(std::move(packet));
            packet = MakePacket();
        } else if (packet->stream_index == audioStream_ && audioDecoder_) {
            audioPackets_.Put(std::move(packet));
            packet = MakePacket();
        } else {
            av_packet_unref(packet.get());
        }
    }
}

// Called with the control lock held; takes the queues' own locks after it.
bool TPlaybackSession::NeedsPackets() const {
    if (!videoDecoder_ && !audioDecoder_)
        return true; // only silent sound: read through to the end of the file
    if (videoPackets_.Bytes() + audioPackets_.Bytes() > kMaxQueuedBytes)
        return false;
    return (videoDecoder_ && !HasEnough(videoPackets_, input_->streams[videoStream_])) ||
           (audioDecoder_ && !HasEnough(audioPackets_, input_->streams[audioStream_]));
}

void TPlaybackSession::PerformSeek(int64_t targetUs, bool exact, uint64_t request) {
    // The key frame at or before the target; failing that, the nearest one after it.
    if (avformat_seek_file(input_.get(), -1, INT64_MIN, targetUs, targetUs, 0) < 0)
        avformat_seek_file(input_.get(), -1, INT64_MIN, targetUs, INT64_MAX, 0);
    const int serial = serial_ + 1;
    videoPackets_.Flush(serial);
    audioPackets_.Flush(serial);
    {
        std::lock_guard lock(control_);
        serial_ = serial;
        exactSerial_ = exact ? serial : -1;
        exactTargetUs_ = targetUs;
        endReportedSerial_ = -1;
        if (seekRequest_ == request)
            seekPending_ = false;
        ++presenterWakeups_;
    }
    presenterWake_.notify_all();
}

bool TPlaybackSession::BeforeExactTarget(int serial, int64_t frameEndUs) {
    std::lock_guard lock(control_);
    return serial == exactSerial_ && frameEndUs <= exactTargetUs_;
}

void TPlaybackSession::VideoDecodeLoop() {
    const AVRational timeBase = input_->streams[videoStream_]->time_base;
    TFramePtr frame = MakeFrame();
    // The last picture before an exact seek's target: shown when nothing follows it.
    TQueuedFrame held;
    bool hasHeld = false;
    int64_t nextPtsUs = startUs_;
    while (frame) {
        int serial = 0;
        const TStreamDecoder::EResult result = videoDecoder_->Decode(frame.get(), serial);
        if (result == TStreamDecoder::EResult::Aborted)
            return;
        if (result == TStreamDecoder::EResult::EndOfStream) {
            if (hasHeld && held.Serial == serial && !videoFrames_.Push(std::move(held)))
                return;
            hasHeld = false;
            videoDecodedSerial_ = serial;
            WakePresenter();
            continue;
        }
        TQueuedFrame queued{std::move(frame), serial, 0, nominalFrameUs_};
        frame = MakeFrame();
        queued.PtsUs = FramePtsUs(queued.Frame.get(), timeBase, nextPtsUs);
        nextPtsUs = queued.PtsUs + queued.DurationUs;
        if (BeforeExactTarget(serial, queued.PtsUs + queued.DurationUs)) {
            held = std::move(queued);
            hasHeld = true;
            continue;
        }
        hasHeld = false;
        if (!videoFrames_.Push(std::move(queued)))
            return;
    }
}

void TPlaybackSession::AudioDecodeLoop() {
    const AVRational timeBase = input_->streams[audioStream_]->time_base;
    TFramePtr frame = MakeFrame();
    int64_t nextPtsUs = startUs_;
    while (frame) {
        int serial = 0;
        const TStreamDecoder::EResult result = audioDecoder_->Decode(frame.get(), serial);
        if (result == TStreamDecoder::EResult::Aborted)
            return;
        if (result == TStreamDecoder::EResult::EndOfStream) {
            audioDecodedSerial_ = serial;
            continue;
        }
        if (frame->sample_rate <= 0)
            continue;
        TQueuedFrame queued{std::move(frame), serial, 0, 0};
        frame = MakeFrame();
        queued.PtsUs = FramePtsUs(queued.Frame.get(), timeBase, nextPtsUs);
        queued.DurationUs = int64_t{queued.Frame->nb_samples} * 1000000 / queued.Frame->sample_rate;
        nextPtsUs = queued.PtsUs + queued.DurationUs;
        if (BeforeExactTarget(serial, nextPtsUs))
            continue;
        if (!audioFrames_.Push(std::move(queued)))
            return;
    }
}

void TPlaybackSession::WakePresenter() {
    {
        std::lock_guard lock(control_);
        ++presenterWakeups_;
    }
    presenterWake_.notify_all();
}

void TPlaybackSession::WakeDemux() {
    // Taking the lock orders this wake-up after the demux thread's look at the queues.
    { std::lock_guard lock(control_); }
    demuxWake_.notify_one();
}
