// Trovecart tests - media made with the ffmpeg program, and a recorder of everything a player says.
#include "media/player_test_support.h"

#include <algorithm>

#include "support/event_loop.h"
#include "support/run_program.h"

QString MakePlayerMedia(const QString& outFile, const QStringList& arguments) {
    return RunFfmpeg(arguments + QStringList{outFile}) ? outFile : QString();
}

QString MakeNumberedClip(const QString& folder) {
    return MakePlayerMedia(
        folder + QStringLiteral("numbered.mp4"),
        {QStringLiteral("-f"),
         QStringLiteral("lavfi"),
         QStringLiteral("-i"),
         QStringLiteral("color=c=black:s=64x48:r=25:d=2,format=yuv420p,geq=lum='16+N*4':cb=128:cr=128"),
         QStringLiteral("-f"),
         QStringLiteral("lavfi"),
         QStringLiteral("-i"),
         QStringLiteral("sine=frequency=440:sample_rate=44100:duration=2"),
         QStringLiteral("-c:v"),
         QStringLiteral("libx264"),
         QStringLiteral("-qp"),
         QStringLiteral("0"),
         QStringLiteral("-g"),
         QStringLiteral("12"),
         QStringLiteral("-sc_threshold"),
         QStringLiteral("0"),
         QStringLiteral("-bf"),
         QStringLiteral("2"),
         QStringLiteral("-c:a"),
         QStringLiteral("aac"),
         QStringLiteral("-shortest")});
}

QString MakeToneFile(const QString& folder) {
    return MakePlayerMedia(folder + QStringLiteral("tone.mp3"),
                           {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                            QStringLiteral("sine=frequency=440:sample_rate=44100:duration=1.5"),
                            QStringLiteral("-c:a"), QStringLiteral("libmp3lame")});
}

int PictureNumber(const QImage& picture) {
    if (picture.isNull())
        return -1;
    // Limited-range luma 16 + 4N becomes grey 255 * 4N / 219.
    const int grey = qGreen(picture.pixel(picture.width() / 2, picture.height() / 2));
    return qRound(grey * 219.0 / 255.0 / 4.0);
}

TPlayerRecorder::TPlayerRecorder(TFFPlayer& player) {
    // Player events reach the UI thread through the event loop.
    EnsureCoreApplication();
    Clock.start();
    connect(&player, &TFFPlayer::OnState, this, [this](TPlayState state) { States.push_back(state); });
    connect(&player, &TFFPlayer::OnPosition, this, [this](qint64 position) {
        Positions.push_back({position, Clock.nsecsElapsed() / 1000});
    });
}

void TPlayerRecorder::ShowFrame(const QImage& frame) {
    ++FramesShown;
    LastFrame = frame;
}

void TPlayerRecorder::ClearFrame() {
    ++Clears;
    LastFrame = QImage();
}

bool TPlayerRecorder::Saw(TPlayState state) const {
    return Count(state) > 0;
}

int TPlayerRecorder::Count(TPlayState state) const {
    return static_cast<int>(std::count(States.begin(), States.end(), state));
}

bool TPlayerRecorder::WaitForState(TPlayState state, int timeoutMs) {
    return WaitFor([this, state] { return Saw(state); }, timeoutMs);
}
