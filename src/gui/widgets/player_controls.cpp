// Trovecart - player control row.
#include "gui/widgets/player_controls.h"

#include <QHBoxLayout>
#include <QSlider>

#include "gui/widgets/button_image_list.h"
#include "gui/widgets/control_names.h"
#include "gui/widgets/image_button_ex.h"
#include "gui/widgets/ql_track_bar_ex.h"
#include "gui/widgets/video_panel.h"
#include "media/ff_player.h"
#include "media/player_volume.h"

namespace {

constexpr int kInitialVolume = 191;
// Maxima above the first bound become the second: a long film moves in steps of many milliseconds.
constexpr int64_t kMaxExactPositions = 10000000;
constexpr int kLongFilmPositions = 10000;

TImageButtonEx* NewPlayerButton(QWidget* parent, const char* entry) {
    auto* button = new TImageButtonEx(parent);
    const TButtonImageList& list = TButtonImageList::PlayerButtons();
    button->SetImageList(&list, list.IndexOf(QLatin1String(entry)));
    button->GroupIndex = 1;
    button->AllowAllUp = true;
    button->setEnabled(false);
    return button;
}

} // namespace

TPlayerControls::TPlayerControls(TFFPlayer& player, TVideoPanel& display, QWidget* parent)
    : QWidget(parent), player_(player), display_(display) {
    btnPlay = NewPlayerButton(this, "Play");
    BtnPause = NewPlayerButton(this, "Pause");
    TrackBar1 = new TQLTrackBarEx(this);
    TrackBar1->setRange(0, 100);
    TrackBar1->setTickPosition(QSlider::TicksBothSides);
    TrackBar1->setEnabled(false);
    TrackBarValume = new QSlider(Qt::Horizontal, this);
    TrackBarValume->setRange(0, kMaxAudioVolume);
    TrackBarValume->setValue(kInitialVolume);
    TrackBarValume->setToolTip(QStringLiteral("Volume 75%"));
    TrackBarValume->setFixedWidth(70);
    TrackBarValume->setEnabled(false);
    NameControl(btnPlay, "btnPlay", QStringLiteral("Play"));
    NameControl(BtnPause, "BtnPause", QStringLiteral("Pause"));
    NameControl(TrackBar1, "TrackBar1", QStringLiteral("Position"));
    NameControl(TrackBarValume, "TrackBarValume", QStringLiteral("Volume"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(btnPlay);
    row->addWidget(BtnPause);
    row->addWidget(TrackBar1, 1);
    row->addWidget(TrackBarValume);

    connect(btnPlay, &QAbstractButton::clicked, this, [this] { btnPlayClick(); });
    connect(BtnPause, &QAbstractButton::clicked, this, [this] { BtnPauseClick(); });
    connect(TrackBar1, &TQLTrackBarEx::MouseDown, this, [this](Qt::MouseButton b) { TrackBar1MouseDown(b); });
    connect(TrackBar1, &TQLTrackBarEx::MouseUp, this, [this](Qt::MouseButton b) { TrackBar1MouseUp(b); });
    // Connected after the initial value: the player keeps its own volume until the user moves this.
    connect(TrackBarValume, &QSlider::valueChanged, this, [this] { TrackBarValumeChange(); });
    connect(&player_, &TFFPlayer::OnState, this, [this](TPlayState state) { FFPlayerState(state); });
    connect(&player_, &TFFPlayer::OnPosition, this, [this](qint64 position) { FFPlayerPosition(position); });
}

TPositionSliderSetup TPlayerControls::PositionSliderSetup(int64_t durationUs, int currentMaximum) {
    TPositionSliderSetup setup;
    int64_t maximum = currentMaximum;
    if (durationUs / 1000 > 0)
        maximum = durationUs / 1000;
    setup.Maximum = maximum > kMaxExactPositions ? kLongFilmPositions : static_cast<int>(maximum);
    setup.TickInterval = setup.Maximum > 10 ? setup.Maximum / 100 : 1;
    setup.PageStep = setup.Maximum < 10 ? 2 : setup.Maximum < 100 ? 5 : setup.Maximum / 20;
    return setup;
}

QString TPlayerControls::VolumeHint(int volume) {
    return QStringLiteral("Volume %1%").arg(volume * 100 / kMaxAudioVolume);
}

void TPlayerControls::SetMedia(const QString& fileName, int64_t durationUs, int streamCount) {
    fileName_ = fileName;
    durationUs_ = durationUs;
    streamCount_ = streamCount;
    const TPositionSliderSetup setup = PositionSliderSetup(durationUs, TrackBar1->maximum());
    const bool enabled = TrackBar1->isEnabled();
    TrackBar1->setEnabled(false);
    TrackBar1->setMaximum(setup.Maximum);
    TrackBar1->setTickInterval(setup.TickInterval);
    TrackBar1->setPageStep(setup.PageStep);
    TrackBar1->setEnabled(enabled);
}

void TPlayerControls::SetSlidersEnabled(bool enabled) {
    TrackBar1->setEnabled(enabled);
    TrackBarValume->setEnabled(enabled);
}

void TPlayerControls::SetButtonsEnabled(bool enabled) {
    btnPlay->setEnabled(enabled);
    BtnPause->setEnabled(enabled);
}

bool TPlayerControls::Play() {
    return player_.Open(fileName_, &display_);
}

void TPlayerControls::StopPlayer() {
    player_.Stop(true);
    state_ = psStop;
}

void TPlayerControls::btnPlayClick() {
    if (state_ == psStop || state_ == psEnd)
        Play();
    else if (state_ == psPause)
        player_.Resume();
    else
        player_.Pause();
}

void TPlayerControls::BtnPauseClick() {
    if (state_ != psPause)
        player_.TogglePause();
}

void TPlayerControls::FFPlayerState(TPlayState state) {
    state_ = state;
    switch (state) {
    case psPlay:
    case psResume:
        btnPlay->SetLatched(true);
        break;
    case psPause:
        BtnPause->SetLatched(true);
        break;
    case psStop:
        display_.update();
        break;
    case psEnd:
        // Back at the start and paused, so that the next play starts from the beginning.
        TrackBar1->setValue(0);
        BtnPause->SetLatched(true);
        player_.Seek(0);
        player_.Pause();
        break;
    case psStep:
        break;
    }
}

void TPlayerControls::FFPlayerPosition(qint64 positionUs) {
    if (dragging_)
        return;
    if (state_ == psEnd)
        TrackBar1->setValue(0);
    else if (positionUs >= 0 && durationUs_ > 0)
        TrackBar1->setValue(static_cast<int>(positionUs * TrackBar1->maximum() / durationUs_));
}

void TPlayerControls::TrackBar1MouseDown(Qt::MouseButton button) {
    if (button == Qt::LeftButton)
        dragging_ = true;
}

void TPlayerControls::TrackBar1MouseUp(Qt::MouseButton button) {
    if (button != Qt::LeftButton)
        return;
    if (TrackBar1->isEnabled() && streamCount_ > 0 && TrackBar1->maximum() > 0)
        player_.Seek(durationUs_ * TrackBar1->value() / TrackBar1->maximum());
    dragging_ = false;
}

void TPlayerControls::TrackBarValumeChange() {
    player_.SetAudioVolume(TrackBarValume->value());
    TrackBarValume->setToolTip(VolumeHint(TrackBarValume->value()));
}
