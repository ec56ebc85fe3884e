// Trovecart - the presenter thread: shows each picture when the master clock reaches it, drops
// pictures that are late, reports positions, steps while paused and notices the end.
#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "media/internal/player_session.h"

namespace {

// How often the position is read while only sound plays.
constexpr int64_t kSoundPollUs = 20000;
// A long wait for a picture is cut into pieces so that clock jumps are noticed.
constexpr int64_t kMaxSleepUs = 100000;
// How long a picture waits for the sound clock to start.
constexpr int64_t kSoundStartWaitUs = 500000;
// Positions are reported when they moved by more than this.
constexpr int64_t kPositionStepUs = 10000;

} // namespace

void TPlaybackSession::PresenterLoop() {
    std::unique_lock lock(control_);
    while (!aborted_) {
        const uint64_t seen = presenterWakeups_;
        const TControl control{paused_, seekPending_};
        lock.unlock();
        const int64_t waitUs = PresentOnce(control);
        lock.lock();
        if (waitUs == 0)
            continue;
        const auto woken = [&] { return aborted_ || presenterWakeups_ != seen; };
        if (waitUs == kUntilWoken)
            presenterWake_.wait(lock, woken);
        else
            presenterWake_.wait_for(lock, std::chrono::microseconds(waitUs), woken);
    }
}

// Returns how long to sleep before the next look, 0 to look again at once, or kUntilWoken.
int64_t TPlaybackSession::PresentOnce(const TControl& control) {
    if (control.SeekPending)
        return kUntilWoken;
    const int serial = serial_.load();
    if (!videoDecoder_)
        return PresentWithoutPicture(control, serial);

    while (TQueuedFrame* stale = videoFrames_.Front()) {
        if (stale->Serial == serial)
            break;
        videoFrames_.Pop();
    }
    const bool step = control.Paused && showWhilePaused_ && shownSerial_ != serial;
    if (control.Paused && !step)
        return kUntilWoken;

    TQueuedFrame* frame = videoFrames_.Front();
    if (!frame) {
        if (videoDecodedSerial_.load() != serial)
            return kUntilWoken;
        if (step) {
            FinishStep(serial);
            return kUntilWoken;
        }
        // The last picture stays for its whole duration before the end is reported.
        const int64_t lastPictureLeftUs = lastShownAtUs_ + lastShownDurationUs_ - SystemTimeUs();
        if (shownSerial_ == serial && lastPictureLeftUs > 0)
            return std::min(lastPictureLeftUs, kMaxSleepUs);
        return CheckEnd(control, serial) ? kUntilWoken : kSoundPollUs;
    }

    if (!step && shownSerial_ == serial) {
        const std::optional<int64_t> master = MasterClock(serial);
        int64_t dueInUs = 0;
        if (master)
            dueInUs = frame->PtsUs - *master;
        else if (audio_ && !audio_->Drained(serial))
            // The sound is about to start (after opening, a seek or a pause): the picture waits for
            // it, though not for long if the sound begins later than the picture.
            dueInUs = lastShownAtUs_ + std::max(lastShownDurationUs_, kSoundStartWaitUs) - SystemTimeUs();
        else
            dueInUs = lastShownAtUs_ + lastShownDurationUs_ - SystemTimeUs();
        if (dueInUs > 0)
            return std::min(dueInUs, kMaxSleepUs);
        // Late: skip this picture when the next one is due as well.
        if (master && videoFrames_.Size() > 1 && frame->PtsUs + frame->DurationUs < *master) {
            videoFrames_.Pop();
            ++droppedFrames_;
            return 0;
        }
    }
    ShowFrame(*frame, serial, step);
    return 0;
}

int64_t TPlaybackSession::PresentWithoutPicture(const TControl& control, int serial) {
    if (control.Paused) {
        if (showWhilePaused_ && shownSerial_ != serial)
            FinishStep(serial);
        return kUntilWoken;
    }
    std::optional<int64_t> clock = MasterClock(serial);
    if (!clock && !audio_) {
        // Sound without a device: the position runs on the system clock.
        externalClock_.Set(startUs_ + positionUs_.load(), serial);
        clock = MasterClock(serial);
    }
    if (clock) {
        shownSerial_ = serial;
        int64_t position = std::max<int64_t>(0, *clock - startUs_);
        if (durationUs_ > 0)
            position = std::min(position, durationUs_);
        SetPosition(position);
    }
    return CheckEnd(control, serial) ? kUntilWoken : kSoundPollUs;
}

void TPlaybackSession::ShowFrame(TQueuedFrame& frame, int serial, bool step) {
    const QImage picture = converter_.Convert(frame.Frame.get());
    const int64_t now = SystemTimeUs();
    if (!audio_ && (step || !externalClock_.Get(serial)))
        externalClock_.Set(frame.PtsUs, serial, now);
    lastShownAtUs_ = now;
    lastShownDurationUs_ = frame.DurationUs;
    shownSerial_ = serial;
    const int64_t position = std::max<int64_t>(0, frame.PtsUs - startUs_);
    videoFrames_.Pop();
    {
        std::lock_guard lock(frameMutex_);
        currentFrame_ = picture;
    }
    listener_->PlaybackFrame(picture);
    SetPosition(position);
    if (step)
        FinishStep(serial);
}

void TPlaybackSession::SetPosition(int64_t positionUs) {
    {
        // A seek asked for meanwhile owns the position until its first picture.
        std::lock_guard lock(control_);
        if (seekPending_)
            return;
        positionUs_ = positionUs;
    }
    if (std::abs(positionUs - lastReportedUs_) > kPositionStepUs) {
        lastReportedUs_ = positionUs;
        listener_->PlaybackPosition(positionUs);
    }
}

void TPlaybackSession::FinishStep(int serial) {
    shownSerial_ = serial;
    // The player reports a resume after taking this lock, so a step reported under it arrives before
    // the psResume, or not at all: never after it, leaving the controls paused while the file plays.
    std::lock_guard lock(control_);
    if (!paused_)
        return;
    listener_->PlaybackState(psStep);
    listener_->PlaybackState(psPause);
}

std::optional<int64_t> TPlaybackSession::MasterClock(int serial) const {
    return audio_ ? audioClock_.Get(serial) : externalClock_.Get(serial);
}

// True once the end of this serial has been reported.
bool TPlaybackSession::CheckEnd(const TControl& control, int serial) {
    {
        std::lock_guard lock(control_);
        if (endReportedSerial_ == serial)
            return true;
        if (control.Paused || endOfFileSerial_ != serial)
            return false;
    }
    if (videoDecoder_ && (videoDecodedSerial_.load() != serial || videoFrames_.Size() > 0))
        return false;
    if (audio_ && !audio_->Drained(serial))
        return false;
    if (!videoDecoder_ && !audio_) {
        const std::optional<int64_t> clock = MasterClock(serial);
        if (durationUs_ > 0 && (!clock || *clock < startUs_ + durationUs_))
            return false;
    }
    // Reported under the lock, like a step, so that it keeps its order with a pause.
    std::lock_guard lock(control_);
    if (paused_)
        return false;
    endReportedSerial_ = serial;
    listener_->PlaybackState(psEnd);
    return true;
}
