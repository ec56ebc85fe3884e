// Trovecart tests - the player from open to end: states, positions, pause, sound and no sound.
#include <cstdlib>

#include <QtGlobal>

#include <gtest/gtest.h>

#include "media/ff_player.h"
#include "media/player_test_support.h"
#include "media/player_volume.h"
#include "support/event_loop.h"
#include "support/scripted_message_service.h"
#include "support/test_helpers.h"

namespace {

constexpr int kFrameUs = 40000;

class PlayerPlayback : public ::testing::Test {
protected:
    void SetUp() override {
        clip_ = MakeNumberedClip(folder_.Path());
        ASSERT_FALSE(clip_.isEmpty());
        // Wall times count from the start of playback, not from the making of the clip.
        recorder_.Clock.start();
    }

    TTempFolder folder_;
    QString clip_;
    TFFPlayer player_;
    TPlayerRecorder recorder_{player_};
};

// Restores the sound driver the test environment chose.
class TSoundDriverGuard {
public:
    explicit TSoundDriverGuard(const char* driver) : saved_(qgetenv("SDL_AUDIODRIVER")) {
        qputenv("SDL_AUDIODRIVER", driver);
    }
    ~TSoundDriverGuard() { qputenv("SDL_AUDIODRIVER", saved_); }

private:
    QByteArray saved_;
};

} // namespace

TEST_F(PlayerPlayback, PlaysFromOpenToEndWithRisingPositions) {
    ASSERT_TRUE(player_.Open(clip_, &recorder_)) << player_.LastError().toStdString();
    EXPECT_EQ(player_.Duration(), 2000000);
    ASSERT_TRUE(recorder_.WaitForState(psEnd, 8000));
    const int64_t endWallUs = recorder_.Clock.nsecsElapsed() / 1000;

    ASSERT_FALSE(recorder_.States.empty());
    EXPECT_EQ(recorder_.States.front(), psPlay);
    EXPECT_EQ(recorder_.States.back(), psEnd);
    EXPECT_EQ(recorder_.Count(psEnd), 1);
    // Plays in real time: two seconds, give or take scheduling.
    EXPECT_GT(endWallUs, 1800000);
    EXPECT_LT(endWallUs, 3500000);
    EXPECT_GE(recorder_.FramesShown + player_.DroppedFrames(), 45);
    EXPECT_EQ(PictureNumber(player_.CurrentFrame()), 49);
    EXPECT_EQ(player_.CurrentPosition(), 49 * kFrameUs);

    ASSERT_GE(recorder_.Positions.size(), 40u);
    const auto& first = recorder_.Positions.front();
    int late = 0;
    for (size_t i = 1; i < recorder_.Positions.size(); ++i) {
        const auto& report = recorder_.Positions[i];
        EXPECT_GT(report.PositionUs, recorder_.Positions[i - 1].PositionUs + 10000);
        // Within one picture of the wall clock, plus the event loop's latency; a busy machine may
        // deliver a report or two late, but a clock that runs fast or slow drifts further and further.
        const int64_t drift = (report.PositionUs - first.PositionUs) - (report.WallUs - first.WallUs);
        EXPECT_LE(std::llabs(drift), 3 * kFrameUs) << "report " << i;
        if (std::llabs(drift) > kFrameUs + 10000)
            ++late;
    }
    EXPECT_LE(late, 2);
}

TEST_F(PlayerPlayback, PauseHoldsThePositionAndResumeGoesOn) {
    ASSERT_TRUE(player_.Open(clip_, &recorder_));
    ASSERT_TRUE(WaitFor([&] { return player_.CurrentPosition() >= 400000; }, 5000));
    player_.Pause();
    ASSERT_TRUE(recorder_.WaitForState(psPause, 2000));
    SpinEventLoop(100);
    const int64_t held = player_.CurrentPosition();
    const int framesAtPause = recorder_.FramesShown;
    const size_t reportsAtPause = recorder_.Positions.size();

    SpinEventLoop(500);
    EXPECT_EQ(player_.CurrentPosition(), held);
    EXPECT_EQ(recorder_.FramesShown, framesAtPause);
    EXPECT_EQ(recorder_.Positions.size(), reportsAtPause);

    player_.TogglePause();
    ASSERT_TRUE(recorder_.WaitForState(psResume, 2000));
    ASSERT_TRUE(WaitFor([&] { return recorder_.Positions.size() > reportsAtPause; }, 2000));
    const int64_t resumedAt = recorder_.Positions[reportsAtPause].PositionUs;
    EXPECT_GT(resumedAt, held);
    EXPECT_LT(resumedAt, held + 3 * kFrameUs);
    EXPECT_TRUE(recorder_.WaitForState(psEnd, 5000));
    EXPECT_FALSE(recorder_.Saw(psStop));
}

TEST_F(PlayerPlayback, WithoutASoundDeviceThePicturePlaysSilently) {
    TScriptedMessageService messages;
    TSoundDriverGuard noDevice("no-such-driver");
    ASSERT_TRUE(player_.Open(clip_, &recorder_)) << player_.LastError().toStdString();
    ASSERT_TRUE(recorder_.WaitForState(psEnd, 8000));
    const int64_t endWallUs = recorder_.Clock.nsecsElapsed() / 1000;
    EXPECT_GT(endWallUs, 1800000);
    EXPECT_GE(recorder_.FramesShown + player_.DroppedFrames(), 45);
    EXPECT_TRUE(messages.Calls().empty());

    // A sound-only file runs its position on the system clock to the end.
    const QString tone = MakeToneFile(folder_.Path());
    ASSERT_FALSE(tone.isEmpty());
    ASSERT_TRUE(player_.Open(tone, &recorder_)) << player_.LastError().toStdString();
    const int64_t openedUs = recorder_.Clock.nsecsElapsed() / 1000;
    ASSERT_TRUE(WaitFor([&] { return recorder_.Count(psEnd) == 2; }, 8000));
    EXPECT_GT(recorder_.Clock.nsecsElapsed() / 1000 - openedUs, 1300000);
    EXPECT_GT(player_.CurrentPosition(), 1400000);
    EXPECT_TRUE(messages.Calls().empty());
}

TEST_F(PlayerPlayback, SoundOnlyFileLeavesTheDisplayBlackAndEnds) {
    const QString tone = MakeToneFile(folder_.Path());
    ASSERT_FALSE(tone.isEmpty());
    ASSERT_TRUE(player_.Open(tone, &recorder_)) << player_.LastError().toStdString();
    ASSERT_TRUE(recorder_.WaitForState(psEnd, 8000));
    EXPECT_EQ(recorder_.FramesShown, 0);
    EXPECT_GE(recorder_.Clears, 1);
    EXPECT_TRUE(player_.CurrentFrame().isNull());
    ASSERT_GE(recorder_.Positions.size(), 10u);
    EXPECT_GT(recorder_.Positions.back().PositionUs, 1300000);
}

TEST_F(PlayerPlayback, StopReportsAndBlanksTheDisplay) {
    ASSERT_TRUE(player_.Open(clip_, &recorder_));
    ASSERT_TRUE(WaitFor([&] { return recorder_.FramesShown > 2; }, 5000));
    const int clears = recorder_.Clears;
    player_.Stop(true);
    EXPECT_FALSE(player_.IsOpen());
    EXPECT_EQ(recorder_.Clears, clears + 1);
    EXPECT_TRUE(player_.CurrentFrame().isNull());
    ASSERT_TRUE(recorder_.WaitForState(psStop, 2000));
    // Nothing of the stopped playback arrives afterwards.
    const int frames = recorder_.FramesShown;
    const size_t states = recorder_.States.size();
    SpinEventLoop(200);
    EXPECT_EQ(recorder_.FramesShown, frames);
    EXPECT_EQ(recorder_.States.size(), states);
    EXPECT_EQ(recorder_.States.back(), psStop);
}

TEST(PlayerVolume, ScalesSamplesFromSilentToAsRecorded) {
    const std::vector<int16_t> source{0, 1000, -1000, 32767, -32768};
    auto scaled = [&](int volume) {
        std::vector<int16_t> samples = source;
        ScaleSamples(samples.data(), samples.size(), volume);
        return samples;
    };
    EXPECT_EQ(scaled(255), source);
    EXPECT_EQ(scaled(400), source);
    EXPECT_EQ(scaled(0), std::vector<int16_t>(source.size(), 0));
    EXPECT_EQ(scaled(-3), std::vector<int16_t>(source.size(), 0));
    EXPECT_EQ(scaled(128), (std::vector<int16_t>{0, 501, -501, 16447, -16448}));

    TFFPlayer player;
    EXPECT_EQ(player.AudioVolume(), 128);
    player.SetAudioVolume(300);
    EXPECT_EQ(player.AudioVolume(), 255);
    player.SetAudioVolume(-1);
    EXPECT_EQ(player.AudioVolume(), 0);
}
