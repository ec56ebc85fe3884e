// Trovecart - one opened file playing: the demux, decoder and presenter threads.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include <QImage>
#include <QString>

#include "media/internal/av_resources.h"
#include "media/internal/layer_guard.h"
#include "media/internal/player_audio_output.h"
#include "media/internal/player_decoder.h"
#include "media/internal/player_frame_queue.h"
#include "media/internal/player_packet_queue.h"
#include "media/internal/player_picture.h"
#include "media/player_clock.h"
#include "media/player_state.h"

// Receives what the playback threads have to say; called on those threads.
class TPlaybackListener {
public:
    virtual ~TPlaybackListener() = default;
    // psStep and psPause after a picture shown while paused, and psEnd.
    virtual void PlaybackState(TPlayState state) = 0;
    virtual void PlaybackPosition(int64_t positionUs) = 0;
    virtual void PlaybackFrame(const QImage& frame) = 0;
};

// Starts playing on construction and stops for good on destruction. The public calls come from
// the UI thread. Positions are microseconds from the file's start; media times inside carry the
// stream's start time.
class TPlaybackSession {
public:
    // Throws EAppError with the message for the user when the file cannot be played.
    TPlaybackSession(const QString& fileName, std::unique_ptr<TPlaybackListener> listener, int volume);
    ~TPlaybackSession();
    TPlaybackSession(const TPlaybackSession&) = delete;
    TPlaybackSession& operator=(const TPlaybackSession&) = delete;

    // Stops the threads and the sound without waiting for them.
    void Abort();

    void SetPaused(bool paused);
    bool Paused() const;
    // `positionUs` lies within the file; with `exact` the picture and sound start at it,
    // otherwise at the key frame before it.
    void Seek(int64_t positionUs, bool exact);
    void SetShowFramesWhilePaused(bool show) { showWhilePaused_ = show; }
    void SetVolume(int volume);

    int64_t Position() const;
    // Microseconds, or -1 when the file does not say.
    int64_t Duration() const { return durationUs_; }
    QImage CurrentFrame() const;
    int DroppedFrames() const { return droppedFrames_.load(); }

private:
    struct TControl {
        bool Paused = false;
        bool SeekPending = false;
    };
    static constexpr int64_t kUntilWoken = -1;

    void OpenInput(const QString& fileName);
    TCodecContextPtr OpenDecoder(int streamIndex);
    void OpenVideo();
    void OpenAudio(int volume);

    void DemuxLoop();
    bool NeedsPackets() const;
    void PerformSeek(int64_t targetUs, bool exact, uint64_t request);
    void VideoDecodeLoop();
    void AudioDecodeLoop();
    bool BeforeExactTarget(int serial, int64_t frameEndUs);

    void PresenterLoop();
    int64_t PresentOnce(const TControl& control);
    int64_t PresentWithoutPicture(const TControl& control, int serial);
    void ShowFrame(TQueuedFrame& frame, int serial, bool step);
    std::optional<int64_t> MasterClock(int serial) const;
    void SetPosition(int64_t positionUs);
    void FinishStep(int serial);
    bool CheckEnd(const TControl& control, int serial);
    void WakePresenter();
    void WakeDemux();

    const std::unique_ptr<TPlaybackListener> listener_;
    TInputFormatPtr input_;
    int videoStream_ = -1;
    int audioStream_ = -1;
    // The file has sound but no device plays it; its position then runs on the system clock.
    bool silentSound_ = false;
    int64_t startUs_ = 0;
    int64_t durationUs_ = -1;
    int64_t nominalFrameUs_ = 40000;

    // Bumped by each seek; every queued packet and frame carries the serial it was read under.
    std::atomic<int> serial_{0};
    std::atomic<int> videoDecodedSerial_{-1};
    std::atomic<int> audioDecodedSerial_{-1};
    std::atomic<bool> aborted_{false};
    std::atomic<bool> showWhilePaused_{false};
    std::atomic<int64_t> positionUs_{0};
    std::atomic<int> droppedFrames_{0};

    // Guards the control fields below; the demux and presenter threads sleep on it.
    mutable std::mutex control_;
    std::condition_variable demuxWake_;
    std::condition_variable presenterWake_;
    uint64_t presenterWakeups_ = 0;
    bool paused_ = false;
    bool seekPending_ = false;
    uint64_t seekRequest_ = 0;
    int64_t seekTargetUs_ = 0;
    bool seekExact_ = false;
    int exactSerial_ = -1;
    int64_t exactTargetUs_ = 0;
    int endOfFileSerial_ = -1;
    int endReportedSerial_ = -1;

    TPacketQueue videoPackets_;
    TPacketQueue audioPackets_;
    TFrameQueue videoFrames_;
    TFrameQueue audioFrames_;
    std::unique_ptr<TStreamDecoder> videoDecoder_;
    std::unique_ptr<TStreamDecoder> audioDecoder_;
    TPlayClock audioClock_;
    TPlayClock externalClock_;
    std::unique_ptr<TAudioOutput> audio_;

    // Owned by the presenter thread.
    TPictureConverter converter_;
    int shownSerial_ = 0;
    int64_t lastShownAtUs_ = 0;
    int64_t lastShownDurationUs_ = 0;
    int64_t lastReportedUs_ = 0;

    mutable std::mutex frameMutex_;
    QImage currentFrame_;

    std::thread demuxThread_;
    std::thread videoThread_;
    std::thread audioThread_;
    std::thread presenterThread_;
};
