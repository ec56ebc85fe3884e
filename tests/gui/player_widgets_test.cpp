// Trovecart tests - the player's control row: slider arithmetic, volume hint, picture buttons.
#include <QSlider>

#include <gtest/gtest.h>

#include "gui/dialogs/convert_video_dlg.h"
#include "gui/widgets/image_button_ex.h"
#include "gui/widgets/player_controls.h"
#include "gui_application.h"

namespace {

TEST(PlayerControls, PositionSliderFollowsTheDurationUpToTenThousandSteps) {
    struct TCase {
        int64_t durationUs;
        int currentMaximum;
        TPositionSliderSetup expected;
    };
    const TCase cases[] = {
        {12000000, 100, {12000, 120, 600}},
        {int64_t{3} * 3600 * 1000000, 100, {10000, 100, 500}},
        {5000, 100, {5, 1, 2}},   // 5 ms
        {50000, 100, {50, 0, 5}}, // 50 ms
        {999, 100, {100, 1, 5}},  // below a millisecond the maximum stays
        {-1, 300, {300, 3, 15}},  // unknown duration
        {int64_t{1} << 40, 100, {10000, 100, 500}},
        {int64_t{7200} * 1000000, 100, {7200000, 72000, 360000}}, // two hours
    };
    for (const TCase& c : cases) {
        const TPositionSliderSetup setup =
            TPlayerControls::PositionSliderSetup(c.durationUs, c.currentMaximum);
        EXPECT_EQ(setup.Maximum, c.expected.Maximum) << c.durationUs;
        EXPECT_EQ(setup.TickInterval, c.expected.TickInterval) << c.durationUs;
        EXPECT_EQ(setup.PageStep, c.expected.PageStep) << c.durationUs;
    }
}

TEST(PlayerControls, VolumeHintAndProgressUseWholeNumbers) {
    EXPECT_EQ(TPlayerControls::VolumeHint(191), "Volume 74%");
    EXPECT_EQ(TPlayerControls::VolumeHint(255), "Volume 100%");
    EXPECT_EQ(TPlayerControls::VolumeHint(0), "Volume 0%");
    EXPECT_EQ(TConvertVideoDlg::ProgressPercent(1000000, 2000000), 50);
    EXPECT_EQ(TConvertVideoDlg::ProgressPercent(0, 0), 0);
    // Ten hours in microseconds times 100 overflows 32 bits many times over.
    EXPECT_EQ(TConvertVideoDlg::ProgressPercent(int64_t{36000} * 1000000 - 1, int64_t{36000} * 1000000), 99);
}

TEST(ImageButtonEx, PicksItsPictureByPrecedenceAndLatchesInItsGroup) {
    EnsureApplication();
    using L = TButtonLook;
    EXPECT_EQ(TImageButtonEx::LookFor(false, true, true, true), L::Disabled);
    EXPECT_EQ(TImageButtonEx::LookFor(true, true, true, true), L::Down);
    EXPECT_EQ(TImageButtonEx::LookFor(true, false, true, true), L::Clicked);
    EXPECT_EQ(TImageButtonEx::LookFor(true, false, false, true), L::MouseOver);
    EXPECT_EQ(TImageButtonEx::LookFor(true, false, false, false), L::Normal);

    QWidget row;
    TImageButtonEx play(&row);
    TImageButtonEx pause(&row);
    play.Pictures[L::Normal] = QPixmap(10, 10);
    play.Pictures[L::Down] = QPixmap(12, 12);
    // An empty slot falls back to the normal picture.
    EXPECT_EQ(play.PictureFor(L::MouseOver).size(), QSize(10, 10));
    EXPECT_EQ(play.PictureFor(L::Down).size(), QSize(12, 12));
    // Pictures of a list entry take precedence over the button's own.
    const TButtonImageList& list = TButtonImageList::PlayerButtons();
    pause.SetImageList(&list, list.IndexOf("Pause"));
    EXPECT_FALSE(pause.PictureFor(L::Disabled).isNull());
    EXPECT_EQ(list.IndexOf("Stop"), -1);

    for (TImageButtonEx* button : {&play, &pause}) {
        button->GroupIndex = 1;
        button->AllowAllUp = true;
    }
    play.click();
    EXPECT_TRUE(play.Latched());
    pause.click();
    EXPECT_TRUE(pause.Latched());
    EXPECT_FALSE(play.Latched()) << "one of a group is down at a time";
    pause.click();
    EXPECT_FALSE(pause.Latched()) << "both may be up";
    pause.AllowAllUp = false;
    pause.click();
    pause.click();
    EXPECT_TRUE(pause.Latched());
}

} // namespace
