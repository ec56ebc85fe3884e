// Trovecart tests - trovecart-cli snapshot, run as a user would.
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include "app/cli_runner.h"
#include "support/test_helpers.h"

namespace {

using TRun = TCliResult;

TRun Cli(const QStringList& arguments) {
    return RunCli(arguments);
}

// 2 s at 25 pictures per second; picture N is flat grey with luma 16 + 4N.
QString MakeNumberedClip(const TTempFolder& folder) {
    const QString clip = folder.File(QStringLiteral("numbered.mkv"));
    const bool made = RunFfmpeg(
        {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
         QStringLiteral("color=c=black:s=64x48:r=25:d=2,format=yuv420p,geq=lum='16+N*4':cb=128:cr=128"),
         QStringLiteral("-c:v"), QStringLiteral("mpeg4"), QStringLiteral("-q:v"), QStringLiteral("1"),
         QStringLiteral("-g"), QStringLiteral("10"), clip});
    return made ? clip : QString();
}

int PictureNumber(const QImage& picture) {
    const int grey = qGreen(picture.pixel(picture.width() / 2, picture.height() / 2));
    return qRound(grey * 219.0 / 255.0 / 4.0);
}

} // namespace

TEST(CliSnapshot, SavesThePictureOnScreenAtTheMoment) {
    TTempFolder folder;
    const QString clip = MakeNumberedClip(folder);
    ASSERT_FALSE(clip.isEmpty());
    const QString out = folder.File(QStringLiteral("shot.png"));

    for (const auto& [at, picture] : {std::pair{1020000, 25}, std::pair{330000, 8}, std::pair{0, 0}}) {
        const TRun run =
            Cli({QStringLiteral("snapshot"), clip, QStringLiteral("--at"), QString::number(at), out});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QImage shot(out);
        ASSERT_FALSE(shot.isNull());
        EXPECT_EQ(shot.size(), QSize(64, 48));
        EXPECT_EQ(PictureNumber(shot), picture) << at;
    }
}

TEST(CliSnapshot, FailuresLeaveNoPicture) {
    TTempFolder folder;
    const QString out = folder.File(QStringLiteral("shot.png"));
    const QString missing = folder.File(QStringLiteral("missing.mp4"));

    TRun run = Cli({QStringLiteral("snapshot"), missing, QStringLiteral("--at"), QStringLiteral("0"), out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(
        QString::fromLocal8Bit(run.err).contains(missing + QStringLiteral(": no such file or directory")));

    const QString tone = folder.File(QStringLiteral("tone.wav"));
    ASSERT_TRUE(RunFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                           QStringLiteral("sine=duration=1"), tone}));
    run = Cli({QStringLiteral("snapshot"), tone, QStringLiteral("--at"), QStringLiteral("1000"), out});
    EXPECT_EQ(run.exitCode, 1);

    run = Cli({QStringLiteral("snapshot"), tone, QStringLiteral("--at"), QStringLiteral("soon"), out});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_FALSE(QFile::exists(out));
}
