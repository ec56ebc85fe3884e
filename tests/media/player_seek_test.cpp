// Trovecart tests - seeking (exact and to key frames, paused and playing), failures, stop races.
#include <algorithm>
#include <thread>

#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include "media/ff_player.h"
#include "media/player_test_support.h"
#include "support/event_loop.h"
#include "support/test_helpers.h"

namespace {

constexpr int64_t kFrameUs = 40000;

class PlayerSeek : public ::testing::Test {
protected:
    void SetUp() override {
        clip_ = MakeNumberedClip(folder_.Path());
        ASSERT_FALSE(clip_.isEmpty());
    }

    // Opens paused, as the media import's snapshot does.
    void OpenPaused() {
        player_.SetSeekByFrame(true);
        player_.SetSeekToAny(true);
        ASSERT_TRUE(player_.Open(clip_, &recorder_)) << player_.LastError().toStdString();
        player_.Pause();
        ASSERT_TRUE(recorder_.WaitForState(psPause, 2000));
    }

    // Seeks while paused and waits for the picture the seek steps to.
    bool SeekAndWaitForPicture(int64_t positionUs) {
        const int steps = recorder_.Count(psStep);
        const int pauses = recorder_.Count(psPause);
        player_.Seek(positionUs);
        return WaitFor([&] { return recorder_.Count(psStep) > steps && recorder_.Count(psPause) > pauses; },
                       5000);
    }

    TTempFolder folder_;
    QString clip_;
    TFFPlayer player_;
    TPlayerRecorder recorder_{player_};
};

} // namespace

TEST_F(PlayerSeek, ExactSeekWhilePausedShowsThePictureOnScreenAtTheTarget) {
    OpenPaused();
    struct TCase {
        int64_t TargetUs;
        int Picture;
    };
    // Picture N covers N*40 ms up to (N+1)*40 ms; seeks go backwards and forwards across key frames.
    for (const TCase& c : {TCase{1000000, 25}, TCase{1020000, 25}, TCase{1500000, 37}, TCase{0, 0},
                           TCase{1959999, 48}, TCase{460000, 11}, TCase{480000, 12}}) {
        ASSERT_TRUE(SeekAndWaitForPicture(c.TargetUs)) << c.TargetUs;
        EXPECT_EQ(PictureNumber(player_.CurrentFrame()), c.Picture) << c.TargetUs;
        EXPECT_EQ(PictureNumber(recorder_.LastFrame), c.Picture) << c.TargetUs;
        EXPECT_EQ(player_.CurrentPosition(), c.Picture * kFrameUs) << c.TargetUs;
    }
    EXPECT_EQ(recorder_.States.back(), psPause);
    EXPECT_FALSE(recorder_.Saw(psEnd));
}

TEST_F(PlayerSeek, SeekIsClippedToTheFile) {
    OpenPaused();
    ASSERT_TRUE(SeekAndWaitForPicture(60000000));
    EXPECT_EQ(PictureNumber(player_.CurrentFrame()), 49);
    ASSERT_TRUE(SeekAndWaitForPicture(-5000000));
    EXPECT_EQ(PictureNumber(player_.CurrentFrame()), 0);
    EXPECT_EQ(player_.CurrentPosition(), 0);
}

TEST_F(PlayerSeek, WithoutSeekToAnyTheSeekLandsOnTheKeyFrameBefore) {
    player_.SetSeekByFrame(true);
    ASSERT_TRUE(player_.Open(clip_, &recorder_));
    player_.Pause();
    ASSERT_TRUE(SeekAndWaitForPicture(1100000));
    // Key frames every 12 pictures: 0, 12, 24, 36, 48.
    EXPECT_EQ(PictureNumber(player_.CurrentFrame()), 24);
}

TEST_F(PlayerSeek, WithoutSeekByFrameAPausedSeekKeepsThePictureUntilResumed) {
    player_.SetSeekToAny(true);
    ASSERT_TRUE(player_.Open(clip_, &recorder_));
    ASSERT_TRUE(WaitFor([&] { return recorder_.FramesShown > 0; }, 5000));
    player_.Pause();
    ASSERT_TRUE(recorder_.WaitForState(psPause, 2000));
    const int frames = recorder_.FramesShown;
    player_.Seek(1500000);
    EXPECT_EQ(player_.CurrentPosition(), 1500000);
    SpinEventLoop(300);
    EXPECT_EQ(recorder_.FramesShown, frames);
    EXPECT_FALSE(recorder_.Saw(psStep));

    player_.Resume();
    ASSERT_TRUE(WaitFor([&] { return recorder_.FramesShown > frames; }, 5000));
    EXPECT_GE(PictureNumber(recorder_.LastFrame), 37);
}

TEST_F(PlayerSeek, SeekWhilePlayingGoesOnFromTheTarget) {
    player_.SetSeekToAny(true);
    ASSERT_TRUE(player_.Open(clip_, &recorder_));
    ASSERT_TRUE(WaitFor([&] { return recorder_.FramesShown > 3; }, 5000));
    player_.Seek(1200000);
    const size_t reports = recorder_.Positions.size();
    ASSERT_TRUE(WaitFor(
        [&] {
            return recorder_.Positions.size() > reports && recorder_.Positions.back().PositionUs >= 1200000;
        },
        3000));
    EXPECT_LT(recorder_.Positions.back().PositionUs, 1200000 + 5 * kFrameUs);
    ASSERT_TRUE(recorder_.WaitForState(psEnd, 5000));
    EXPECT_EQ(recorder_.Count(psEnd), 1);
}

TEST_F(PlayerSeek, EndThenSeekToStartAndPauseShowsTheFirstPicture) {
    // What the media import does at the end: back to the start, paused.
    player_.SetSeekByFrame(true);
    player_.SetSeekToAny(true);
    ASSERT_TRUE(player_.Open(clip_, &recorder_));
    player_.Seek(1800000);
    ASSERT_TRUE(recorder_.WaitForState(psEnd, 5000));
    player_.Seek(0);
    player_.Pause();
    // The first picture comes as the paused player's step, or, when the seek overtakes the pause
    // on a busy machine, as the first picture played just before the pause.
    ASSERT_TRUE(WaitFor(
        [&] { return PictureNumber(player_.CurrentFrame()) == 0 && recorder_.States.back() == psPause; },
        5000));
    EXPECT_EQ(player_.CurrentPosition(), 0);

    player_.Resume();
    EXPECT_TRUE(WaitFor([&] { return recorder_.Count(psEnd) == 2; }, 6000));
}

TEST_F(PlayerSeek, AResumeDuringAPausedSeeksPictureLeavesThePlayerReportedAsPlaying) {
    // Each resume comes the moment the seek's picture appears, while the step that shows it may
    // still be reporting. A step reported after the resume would leave the controls paused over a
    // playing file, and their next play would do nothing.
    OpenPaused();
    for (int round = 0; round < 40; ++round) {
        const qint64 shown = player_.CurrentFrame().cacheKey();
        player_.Seek(round % 2 ? 400000 : 800000);
        QElapsedTimer waited;
        waited.start();
        while (player_.CurrentFrame().cacheKey() == shown && waited.elapsed() < 2000)
            std::this_thread::yield();
        player_.Resume();
        SpinEventLoop(20);
        const auto lastResume = std::find(recorder_.States.rbegin(), recorder_.States.rend(), psResume);
        ASSERT_NE(lastResume, recorder_.States.rend());
        const bool pausedAfterTheResume =
            std::find(recorder_.States.rbegin(), lastResume, psPause) != lastResume;
        EXPECT_FALSE(pausedAfterTheResume) << "round " << round;
        player_.Pause();
        ASSERT_TRUE(WaitFor([&] { return recorder_.States.back() == psPause; }, 2000));
    }
}

TEST_F(PlayerSeek, FilesThatCannotPlayReportAnErrorAndPlayNothing) {
    const QString missing = folder_.File(QStringLiteral("missing.mp4"));
    EXPECT_FALSE(player_.Open(missing, &recorder_));
    EXPECT_EQ(player_.LastError(), missing + QStringLiteral(": no such file or directory"));

    const QString garbage = folder_.File(QStringLiteral("garbage.mp4"));
    WriteFile(garbage, QByteArray(4096, 'x'));
    EXPECT_FALSE(player_.Open(garbage, &recorder_));
    EXPECT_TRUE(player_.LastError().startsWith(garbage + QStringLiteral(": ")));

    const QString truncated = folder_.File(QStringLiteral("truncated.mp4"));
    WriteFile(truncated, ReadFile(clip_).left(3000));
    EXPECT_FALSE(player_.Open(truncated, &recorder_));
    EXPECT_FALSE(player_.LastError().isEmpty());

    EXPECT_FALSE(player_.IsOpen());
    SpinEventLoop(100);
    EXPECT_TRUE(recorder_.States.empty());
    EXPECT_EQ(recorder_.FramesShown, 0);
    EXPECT_TRUE(player_.CurrentFrame().isNull());
    // A good file opens after the failures.
    EXPECT_TRUE(player_.Open(clip_, &recorder_));
    EXPECT_TRUE(player_.LastError().isEmpty());
}

TEST_F(PlayerSeek, StoppingWhileASeekOrTheEndIsInFlightNeverHangs) {
    player_.SetSeekByFrame(true);
    player_.SetSeekToAny(true);
    for (int round = 0; round < 10; ++round) {
        ASSERT_TRUE(player_.Open(clip_, &recorder_));
        player_.Seek(round * 190000);
        if (round % 2)
            player_.Pause();
        player_.Stop(round % 3 != 0);
    }
    ASSERT_TRUE(player_.Open(clip_, &recorder_));
    player_.Seek(1990000);
    recorder_.WaitForState(psEnd, 3000);
    player_.Seek(1000000);
    player_.Stop(false);
    EXPECT_FALSE(player_.IsOpen());
    ASSERT_TRUE(player_.Open(clip_, &recorder_));
    player_.Stop(true);
    EXPECT_TRUE(WaitFor([&] { return recorder_.Count(psStop) == 12; }, 3000));
}

TEST_F(PlayerSeek, ManyOpenStopCyclesLeaveNothingBehind) {
    const QString tone = MakeToneFile(folder_.Path());
    ASSERT_FALSE(tone.isEmpty());
    for (int cycle = 0; cycle < 50; ++cycle) {
        ASSERT_TRUE(player_.Open(cycle % 5 == 4 ? tone : clip_, &recorder_));
        if (cycle % 7 == 0)
            WaitFor([&] { return recorder_.FramesShown > 0 || recorder_.Positions.size() > 0; }, 2000);
        player_.Stop(cycle % 4 != 1);
    }
    WaitFor([&] { return recorder_.Count(psStop) == 50; }, 3000);
    EXPECT_EQ(recorder_.Count(psPlay), 50);
    EXPECT_EQ(recorder_.Count(psStop), 50);
}
