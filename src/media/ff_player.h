// Trovecart - the media player: plays a video or audio file into a display, with sound.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QImage>
#include <QObject>
#include <QString>

#include "media/player_frame_sink.h"
#include "media/player_state.h"

class TPlaybackSession;

// Lives on the UI thread; every call comes from there and every event arrives there (queued).
// Playback runs on threads of its own (see TPlaybackSession). Positions are microseconds from
// the file's start.
class TFFPlayer : public QObject {
    Q_OBJECT

public:
    explicit TFFPlayer(QObject* parent = nullptr);
    ~TFFPlayer() override;

    // Stops what plays and starts playing `fileName` into `window` (which may be null: the
    // pictures are then only kept for CurrentFrame). False, with LastError, when the file cannot
    // be played; nothing plays then. Without a sound device the file plays silently.
    bool Open(const QString& fileName, TFrameSink* window);
    QString LastError() const { return lastError_; }
    bool IsOpen() const { return session_ != nullptr; }

    // With `wait` the playback threads have ended on return; otherwise they end on their own and
    // are collected later. Reports psStop; the display turns black.
    void Stop(bool wait = true);
    void Pause();
    void Resume();
    void TogglePause();
    // Clipped to 0 .. the duration.
    void Seek(int64_t positionUs);

    int64_t CurrentPosition() const;
    // -1 when nothing is open or the file does not tell.
    int64_t Duration() const;
    // The picture on screen; null before the first one and for sound-only files.
    QImage CurrentFrame() const;
    // Pictures skipped because they were late, since Open.
    int DroppedFrames() const;

    int AudioVolume() const { return audioVolume_; }
    // 0 (silent) to 255 (as recorded).
    void SetAudioVolume(int volume);
    // A seek while paused shows the picture at the new position (reported as psStep, psPause).
    bool SeekByFrame() const { return seekByFrame_; }
    void SetSeekByFrame(bool on);
    // Seeks land exactly on the target rather than on the key frame before it.
    bool SeekToAny() const { return seekToAny_; }
    void SetSeekToAny(bool on) { seekToAny_ = on; }

signals:
    void OnPosition(qint64 APTS);
    void OnState(TPlayState AState);

private:
    class TListener;

    void EndSession(bool wait);
    void PostState(TPlayState state);

    std::unique_ptr<TPlaybackSession> session_;
    // Sessions stopped without waiting; their threads end on their own.
    std::vector<std::unique_ptr<TPlaybackSession>> retired_;
    TFrameSink* window_ = nullptr;
    // Events of a session are delivered only while it is the open one.
    uint64_t sessionId_ = 0;
    uint64_t lastSessionId_ = 0;
    QString lastError_;
    int audioVolume_;
    bool seekByFrame_ = false;
    bool seekToAny_ = false;
};
