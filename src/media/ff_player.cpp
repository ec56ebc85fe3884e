// Trovecart - the media player.
#include "media/ff_player.h"

#include <algorithm>
#include <atomic>

#include "common/app_error.h"
#include "media/internal/player_session.h"
#include "media/player_volume.h"

// Carries the playback threads' reports to the UI thread, tagged with the session they came from.
class TFFPlayer::TListener : public TPlaybackListener {
public:
    TListener(TFFPlayer& player, uint64_t sessionId) : player_(player), sessionId_(sessionId) {}

    void PlaybackState(TPlayState state) override {
        Deliver([state](TFFPlayer& player) { emit player.OnState(state); });
    }
    void PlaybackPosition(int64_t positionUs) override {
        Deliver([positionUs](TFFPlayer& player) { emit player.OnPosition(positionUs); });
    }
    void PlaybackFrame(const QImage&) override {
        // One delivery at a time: a busy UI thread skips pictures rather than queueing them up.
        if (framePending_.exchange(true))
            return;
        Deliver([this](TFFPlayer& player) {
            framePending_ = false;
            if (player.window_)
                player.window_->ShowFrame(player.CurrentFrame());
        });
    }

private:
    template <typename TAction> void Deliver(TAction action) {
        TFFPlayer* player = &player_;
        const uint64_t id = sessionId_;
        // Queued on the player: dropped with it, and ignored once its session has been stopped
        // (the listener lives as long as its session, so an action that runs finds it alive).
        QMetaObject::invokeMethod(
            player,
            [player, id, action] {
                if (player->sessionId_ == id)
                    action(*player);
            },
            Qt::QueuedConnection);
    }

    TFFPlayer& player_;
    const uint64_t sessionId_;
    std::atomic<bool> framePending_{false};
};

TFFPlayer::TFFPlayer(QObject* parent) : QObject(parent), audioVolume_(kDefaultAudioVolume) {}

// The display may already be gone: a dying player leaves it alone.
TFFPlayer::~TFFPlayer() {
    if (session_)
        EndSession(true);
    retired_.clear();
}

bool TFFPlayer::Open(const QString& fileName, TFrameSink* window) {
    Stop(true);
    lastError_.clear();
    try {
        auto session = std::make_unique<TPlaybackSession>(
            fileName, std::make_unique<TListener>(*this, ++lastSessionId_), audioVolume_);
        session->SetShowFramesWhilePaused(seekByFrame_);
        session_ = std::move(session);
    } catch (const EAppError& error) {
        lastError_ = error.Message();
        return false;
    }
    sessionId_ = lastSessionId_;
    window_ = window;
    if (window_)
        window_->ClearFrame();
    PostState(psPlay);
    return true;
}

void TFFPlayer::Stop(bool wait) {
    if (session_) {
        EndSession(wait);
        if (window_)
            window_->ClearFrame();
        window_ = nullptr;
        PostState(psStop);
    }
    if (wait)
        retired_.clear();
}

void TFFPlayer::EndSession(bool wait) {
    session_->Abort();
    sessionId_ = 0;
    if (wait)
        session_.reset();
    else
        retired_.push_back(std::move(session_));
}

void TFFPlayer::Pause() {
    if (!session_ || session_->Paused())
        return;
    session_->SetPaused(true);
    PostState(psPause);
}

void TFFPlayer::Resume() {
    if (!session_ || !session_->Paused())
        return;
    session_->SetPaused(false);
    PostState(psResume);
}

void TFFPlayer::TogglePause() {
    if (session_ && session_->Paused())
        Resume();
    else
        Pause();
}

void TFFPlayer::Seek(int64_t positionUs) {
    if (!session_)
        return;
    positionUs = std::max<int64_t>(0, positionUs);
    if (session_->Duration() >= 0)
        positionUs = std::min(positionUs, session_->Duration());
    session_->Seek(positionUs, seekToAny_);
}

int64_t TFFPlayer::CurrentPosition() const {
    return session_ ? session_->Position() : 0;
}

int64_t TFFPlayer::Duration() const {
    return session_ ? session_->Duration() : -1;
}

QImage TFFPlayer::CurrentFrame() const {
    return session_ ? session_->CurrentFrame() : QImage();
}

int TFFPlayer::DroppedFrames() const {
    return session_ ? session_->DroppedFrames() : 0;
}

void TFFPlayer::SetAudioVolume(int volume) {
    audioVolume_ = std::clamp(volume, 0, kMaxAudioVolume);
    if (session_)
        session_->SetVolume(audioVolume_);
}

void TFFPlayer::SetSeekByFrame(bool on) {
    seekByFrame_ = on;
    if (session_)
        session_->SetShowFramesWhilePaused(on);
}

void TFFPlayer::PostState(TPlayState state) {
    // Queued like the playback threads' reports, so every report arrives in the order it was made.
    QMetaObject::invokeMethod(
        this, [this, state] { emit OnState(state); }, Qt::QueuedConnection);
}
