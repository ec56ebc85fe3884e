// Trovecart - the control row of a media player: play, pause, position and volume.
#pragma once

#include <cstdint>

#include <QString>
#include <QWidget>

#include "media/player_state.h"

class TFFPlayer;
class TImageButtonEx;
class TQLTrackBarEx;
class QSlider;
class TVideoPanel;

// The values the position slider takes for a file of some duration.
struct TPositionSliderSetup {
    int Maximum = 100;
    int TickInterval = 1;
    int PageStep = 5;
};

// Drives one player on the display it draws into. The player's events reach the handlers of the
// same names; everything runs on the UI thread.
class TPlayerControls : public QWidget {
    Q_OBJECT
public:
    TPlayerControls(TFFPlayer& player, TVideoPanel& display, QWidget* parent = nullptr);

    // The maximum becomes the duration in whole milliseconds (when there are any); a film longer
    // than 10,000,000 of them gets 10000.
    static TPositionSliderSetup PositionSliderSetup(int64_t durationUs, int currentMaximum);
    // "Volume 74%" for 191.
    static QString VolumeHint(int volume);

    // The file Play opens, with its duration in microseconds (-1 unknown) and stream count.
    // Sets the position slider up; enables nothing.
    void SetMedia(const QString& fileName, int64_t durationUs, int streamCount);
    void SetSlidersEnabled(bool enabled);
    void SetButtonsEnabled(bool enabled);
    // Opens the file on the display, which starts playback. False when the player cannot.
    bool Play();
    // Stops the player, waiting for its threads; the remembered state is psStop at once.
    void StopPlayer();
    // The player's last reported state.
    TPlayState State() const { return state_; }
    bool Dragging() const { return dragging_; }

    void btnPlayClick();
    void BtnPauseClick();
    void FFPlayerState(TPlayState state);
    void FFPlayerPosition(qint64 positionUs);
    void TrackBar1MouseDown(Qt::MouseButton button);
    void TrackBar1MouseUp(Qt::MouseButton button);
    void TrackBarValumeChange();

    TImageButtonEx* btnPlay;
    TImageButtonEx* BtnPause;
    TQLTrackBarEx* TrackBar1;
    QSlider* TrackBarValume;

private:
    TFFPlayer& player_;
    TVideoPanel& display_;
    QString fileName_;
    int64_t durationUs_ = -1;
    int streamCount_ = 0;
    TPlayState state_ = psStop;
    bool dragging_ = false;
};
