// Trovecart tests - media made with the ffmpeg program, and a recorder of everything a player says.
#pragma once

#include <cstdint>
#include <vector>

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>

#include "media/ff_player.h"
#include "media/player_frame_sink.h"

// Runs `ffmpeg -f lavfi ...` into `outFile`; an empty string (and a test failure) when it fails.
QString MakePlayerMedia(const QString& outFile, const QStringList& arguments);

// 2 s at 25 frames per second, 64x48, with 44.1 kHz sound. Picture N is flat grey with luma
// 16 + 4N, key frames every 12 pictures, B-frames on.
QString MakeNumberedClip(const QString& folder);
// 1.5 s of a 440 Hz tone as MP3, no picture.
QString MakeToneFile(const QString& folder);
// The number of a numbered clip's picture, from its centre pixel; -1 for a null picture.
int PictureNumber(const QImage& picture);

// Stands in for the display and records every event, with the wall time it arrived.
class TPlayerRecorder : public QObject, public TFrameSink {
    Q_OBJECT

public:
    struct TPositionReport {
        int64_t PositionUs;
        int64_t WallUs;
    };

    explicit TPlayerRecorder(TFFPlayer& player);

    void ShowFrame(const QImage& frame) override;
    void ClearFrame() override;

    std::vector<TPlayState> States;
    std::vector<TPositionReport> Positions;
    int FramesShown = 0;
    int Clears = 0;
    QImage LastFrame;
    QElapsedTimer Clock;

    bool Saw(TPlayState state) const;
    // How often `state` was reported.
    int Count(TPlayState state) const;
    // Runs the event loop until `state` has been reported or `timeoutMs` passes.
    bool WaitForState(TPlayState state, int timeoutMs);
};
