// Trovecart tests - what the probe reads and how it fails.
#include <gtest/gtest.h>

#include "media/av_probe.h"
#include "media/extra_options.h"
#include "media/media_error.h"
#include "support/media_fixtures.h"

namespace {

TEST(ProbeTest, ReadsFormatStreamsAndTags) {
    TAVProbe probe;
    QString message;
    ASSERT_TRUE(probe.Open(TMediaFiles::Get().Video(), message)) << message.toStdString();
    EXPECT_EQ(probe.StreamCount(), 2);
    EXPECT_EQ(probe.AudioStreamCount(), 1);
    EXPECT_EQ(probe.FirstVideoStreamIndex(), 0);
    EXPECT_EQ(probe.FirstAudioStreamIndex(), 1);
    EXPECT_TRUE(probe.FormatName().contains(QStringLiteral("mp4")));
    TFileStreamInfo info;
    probe.GetFileInfo(info);
    EXPECT_EQ(info.StartTime, 0);
    EXPECT_NEAR(static_cast<double>(info.Duration), 2000000, 50000);
    EXPECT_EQ(info.Title, QStringLiteral("Test Card"));
    EXPECT_EQ(info.Author, QStringLiteral("Someone"));
    TVideoStreamInfo video;
    probe.GetVideoStreamInfo(0, video);
    EXPECT_EQ(video.Width, 160);
    EXPECT_EQ(video.Height, 120);
    TAudioStreamInfo audio;
    probe.GetAudioStreamInfo(-1, audio);
    EXPECT_EQ(audio.Channels, 2);
    EXPECT_EQ(audio.SampleRate, 44100);

    ASSERT_TRUE(probe.Open(TMediaFiles::Get().SilentVideo(), message));
    EXPECT_EQ(probe.FirstAudioStreamIndex(), -1);
    probe.GetAudioStreamInfo(-1, audio);
    EXPECT_EQ(audio.Channels, 0);
}

TEST(ProbeTest, FailuresCarryTheirMessages) {
    const TMediaFiles& media = TMediaFiles::Get();
    TAVProbe probe;
    QString message;
    const QString missing = media.Folder().File(QStringLiteral("missing.mp4"));
    EXPECT_FALSE(probe.Open(missing, message));
    EXPECT_EQ(message, missing + QStringLiteral(": no such file or directory"));
    EXPECT_FALSE(probe.Open(media.Garbage(), message));
    EXPECT_EQ(message, media.Garbage() + QStringLiteral(": Unknown format"));
    EXPECT_FALSE(probe.Open(media.Truncated(), message));
    EXPECT_EQ(message, media.Truncated() + QStringLiteral(": Error while parsing header"));
    EXPECT_FALSE(probe.IsOpen());
    try {
        probe.StreamCount();
        FAIL() << "no error";
    } catch (const EMediaError& error) {
        EXPECT_EQ(error.Message(), QStringLiteral("file not loaded."));
    }
}

TEST(ExtraOptionsTest, AllThreeLineEndsSplitLines) {
    const QList<TExtraOption> options =
        ParseExtraOptions(QStringLiteral("map=0:1\r\nvn=1\nvhook=a b=c<CRLF> an \r\n"));
    ASSERT_EQ(options.size(), 4);
    EXPECT_EQ(options.at(0).Name, QStringLiteral("map"));
    EXPECT_EQ(options.at(0).Value, QStringLiteral("0:1"));
    EXPECT_EQ(options.at(1).Name, QStringLiteral("vn"));
    EXPECT_EQ(options.at(2).Value, QStringLiteral("a b=c"));
    EXPECT_EQ(options.at(3).Name, QStringLiteral("an"));
    EXPECT_TRUE(options.at(3).Value.isEmpty());
}

} // namespace
