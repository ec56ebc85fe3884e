// Trovecart tests - the player's display panel.
#include <gtest/gtest.h>

#include "gui/widgets/video_panel.h"
#include "gui_application.h"
#include "media/ff_player.h"
#include "support/event_loop.h"
#include "support/run_program.h"
#include "support/test_helpers.h"

namespace {

QImage Solid(int width, int height, QColor colour) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

QColor At(const QImage& shot, int x, int y) {
    return shot.pixelColor(x, y);
}

} // namespace

TEST(VideoPanel, FitsThePictureWithItsAspectRatioOnBlack) {
    EnsureApplication();
    EXPECT_EQ(TVideoPanel::FitRect({40, 20}, {0, 0, 100, 100}), QRect(0, 25, 100, 50));
    EXPECT_EQ(TVideoPanel::FitRect({20, 40}, {0, 0, 100, 100}), QRect(25, 0, 50, 100));
    EXPECT_EQ(TVideoPanel::FitRect({320, 240}, {0, 0, 160, 120}), QRect(0, 0, 160, 120));
    EXPECT_TRUE(TVideoPanel::FitRect({0, 0}, {0, 0, 100, 100}).isEmpty());

    TVideoPanel panel;
    panel.resize(100, 100);
    QImage shot = panel.grab().toImage();
    EXPECT_EQ(At(shot, 50, 50), QColor(Qt::black));

    panel.ShowFrame(Solid(40, 20, Qt::red));
    shot = panel.grab().toImage();
    EXPECT_EQ(At(shot, 50, 50), QColor(Qt::red));
    EXPECT_EQ(At(shot, 1, 50), QColor(Qt::red));
    EXPECT_EQ(At(shot, 50, 10), QColor(Qt::black));
    EXPECT_EQ(At(shot, 50, 90), QColor(Qt::black));

    panel.resize(200, 50);
    shot = panel.grab().toImage();
    EXPECT_EQ(At(shot, 100, 25), QColor(Qt::red));
    EXPECT_EQ(At(shot, 10, 25), QColor(Qt::black));
    EXPECT_EQ(At(shot, 190, 25), QColor(Qt::black));

    panel.ClearFrame();
    shot = panel.grab().toImage();
    EXPECT_EQ(At(shot, 100, 25), QColor(Qt::black));
}

TEST(VideoPanel, ShowsWhatThePlayerPlays) {
    EnsureApplication();
    TTempFolder folder;
    const QString clip = folder.File(QStringLiteral("blue.mkv"));
    ASSERT_TRUE(RunFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                           QStringLiteral("color=c=blue:s=64x48:r=25:d=1"), QStringLiteral("-c:v"),
                           QStringLiteral("mpeg4"), clip}));

    TVideoPanel panel;
    panel.resize(160, 60);
    panel.show();
    TFFPlayer player;
    ASSERT_TRUE(player.Open(clip, &panel)) << player.LastError().toStdString();
    ASSERT_TRUE(WaitFor([&panel] { return !panel.Frame().isNull(); }, 5000));
    const QImage shot = panel.grab().toImage();
    const QColor centre = At(shot, 80, 30);
    EXPECT_GT(centre.blue(), 200);
    EXPECT_LT(centre.red(), 40);
    EXPECT_EQ(At(shot, 5, 30), QColor(Qt::black));

    player.Stop(true);
    EXPECT_TRUE(panel.Frame().isNull());
}
