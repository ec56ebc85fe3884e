// Trovecart tests - media made with the ffmpeg program, and a recorder of everything a player says.
#include "media/player_test_support.h"

#include <algorithm>
#include <memory>

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Player events reach the UI thread through the event loop, so the tests need an application.
class TApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (!QCoreApplication::instance())
            application_ = std::make_unique<QCoreApplication>(argc_, argv_);
    }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "tc_media_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> application_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

} // namespace

QString MakePlayerMedia(const QString& outFile, const QStringList& arguments) {
    QProcess ffmpeg;
    QStringList all{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                    QStringLiteral("-y")};
    all << arguments << outFile;
    ffmpeg.start(QStringLiteral("ffmpeg"), all);
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitStatus() != QProcess::NormalExit ||
        ffmpeg.exitCode() != 0) {
        ADD_FAILURE() << "ffmpeg failed: " << ffmpeg.readAllStandardError().toStdString();
        ffmpeg.kill();
        return {};
    }
    return outFile;
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
    Clock.start();
    connect(&player, &TFFPlayer::OnState, this, [this](TPlayState state) {
        States.push_back(state);
        emit Changed();
    });
    connect(&player, &TFFPlayer::OnPosition, this, [this](qint64 position) {
        Positions.push_back({position, Clock.nsecsElapsed() / 1000});
        emit Changed();
    });
}

void TPlayerRecorder::ShowFrame(const QImage& frame) {
    ++FramesShown;
    LastFrame = frame;
    emit Changed();
}

void TPlayerRecorder::ClearFrame() {
    ++Clears;
    LastFrame = QImage();
    emit Changed();
}

bool TPlayerRecorder::Saw(TPlayState state) const {
    return Count(state) > 0;
}

int TPlayerRecorder::Count(TPlayState state) const {
    return static_cast<int>(std::count(States.begin(), States.end(), state));
}

bool TPlayerRecorder::WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    if (done())
        return true;
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    const QMetaObject::Connection changed = connect(this, &TPlayerRecorder::Changed, &loop, [&] {
        if (done())
            loop.quit();
    });
    timeout.start(timeoutMs);
    loop.exec();
    disconnect(changed);
    return done();
}

bool TPlayerRecorder::WaitForState(TPlayState state, int timeoutMs) {
    return WaitUntil([this, state] { return Saw(state); }, timeoutMs);
}

void TPlayerRecorder::Idle(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
