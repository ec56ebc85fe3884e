// Trovecart tests - a product's preview import from real clips, checked by probing what it wrote.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

#include "import/media_import.h"
#include "media/av_probe.h"
#include "media/media_error.h"
#include "media/video_convertor.h"
#include "shop/cart_item.h"
#include "shop/shop_document.h"
#include "support/media_fixtures.h"

namespace {

struct TProbed {
    QString Format;
    int64_t Duration = -1;
    bool HasVideo = false;
};

TProbed Probe(const QString& file) {
    TAVProbe probe;
    QString message;
    TProbed result;
    if (!probe.Open(file, message)) {
        ADD_FAILURE() << message.toStdString();
        return result;
    }
    TFileStreamInfo info;
    probe.GetFileInfo(info);
    result.Format = probe.FormatName();
    result.Duration = info.Duration;
    result.HasVideo = probe.FirstVideoStreamIndex() >= 0;
    return result;
}

// An MP4 that browsers play while it loads, holding the same clip as the FLV preview.
void ExpectPlayableWebCopy(const QString& webCopy, const QString& preview) {
    const TWebCopyFacts facts = ReadWebCopyFacts(webCopy);
    EXPECT_EQ(facts.Streams, (QStringList{"h264,yuv420p", "aac"}));
    EXPECT_TRUE(facts.IndexFirst) << "moov before mdat";
    EXPECT_NEAR(VideoFrameCount(webCopy), VideoFrameCount(preview), 1) << "the same clip, within a frame";
}

// Runs the queued conversion to its end; the result a conversion dialog would give.
int RunToEnd(TVideoConvertor& convertor, bool cancelAtFirstProgress = false) {
    int result = mrNone;
    bool ended = false;
    convertor.OnTerminate = [&](int index, bool, bool exception, const QString&) {
        if (index == -1)
            ended = true;
        else if (result == mrNone)
            result = exception ? mrNo : mrOk;
    };
    convertor.OnProgress = [&](const TProgressInfo&) {
        if (cancelAtFirstProgress && result == mrNone) {
            result = mrCancel;
            convertor.Stop(true);
        }
    };
    convertor.Start(1);
    EXPECT_TRUE(WaitFor([&] { return ended || (result == mrCancel && !convertor.Working()); }));
    return result;
}

class MediaImport : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureCoreApplication();
        shop.SetSiteFolder(site.Path());
        shop.ShopConfig().SetThumbWidth(80);
        shop.ShopConfig().SetThumbHeight(50);
        for (const char* folder : {"image", "thumb", "preview"})
            QDir().mkpath(Work(folder));
        // The product as an earlier import left it.
        WriteFile(Work("image/old.jpg"), "jpeg");
        WriteFile(Work("thumb/old_Thumb.png"), "png");
        WriteFile(Work("preview/old.flv"), "flv");
        WriteFile(Work("preview/old.mp4"), "mp4");
        item.SetItemType(citVideo);
        item.SetImage("old.jpg");
        item.SetThumb("old_Thumb.png");
        item.SetPreview("old.flv");
        item.SetDuration("00:09:00");
    }
    QString Work(const QString& relative) const { return shop.WorkFolder() + relative; }
    // Hidden files too: the engine writes beside a target under a hidden name.
    QStringList Files(const char* folder) const {
        return QDir(Work(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    void ExpectProductUnchanged() {
        EXPECT_EQ(item.Preview(), "old.flv");
        EXPECT_EQ(item.Thumb(), "old_Thumb.png");
        EXPECT_EQ(item.Image(), "old.jpg");
        EXPECT_EQ(item.Duration(), "00:09:00");
        EXPECT_FALSE(shop.Modified());
        EXPECT_EQ(Files("preview"), (QStringList{"old.flv", "old.mp4"})) << "no preview left behind";
        EXPECT_EQ(Files("thumb"), QStringList{"old_Thumb.png"});
        EXPECT_EQ(Files("image"), QStringList{"old.jpg"});
    }

    TTempFolder site;
    TShop shop;
    TCartItem item;
};

TEST_F(MediaImport, VideoClipBecomesAnFlvPreviewWithTheSnapshotAsThumbnail) {
    QImage snapshot(160, 120, QImage::Format_RGB32);
    snapshot.fill(Qt::red);
    TMediaImport import(shop, item,
                        {TMediaFiles::Get().Video(),
                         TMediaKind::Video,
                         {500000, 1500000},
                         snapshot,
                         QStringLiteral("00:03:00")});
    TVideoConvertor convertor;
    ASSERT_TRUE(import.Queue(convertor)) << convertor.LastError().toStdString();
    EXPECT_TRUE(import.PartialFile().endsWith(".part.flv"));
    const int result = RunToEnd(convertor);
    ASSERT_EQ(result, mrOk);
    import.Finish(result);

    EXPECT_TRUE(item.Preview().endsWith(".flv"));
    const QString webCopy = item.Preview().chopped(4) + ".mp4";
    EXPECT_EQ(Files("preview"), (QStringList{item.Preview(), webCopy}))
        << "old preview, its web copy and the partial files gone";
    const TProbed preview = Probe(Work("preview/") + item.Preview());
    EXPECT_EQ(preview.Format, "flv");
    EXPECT_TRUE(preview.HasVideo);
    EXPECT_NEAR(VideoFrameCount(Work("preview/") + item.Preview()), 25, 1) << "1 s at 25 fps, within a frame";
    EXPECT_NEAR(preview.Duration, 1000000, 100000);
    ExpectPlayableWebCopy(Work("preview/") + webCopy, Work("preview/") + item.Preview());

    EXPECT_TRUE(item.Thumb().endsWith("_Thumb.png"));
    EXPECT_EQ(Files("thumb"), QStringList{item.Thumb()});
    const QImage thumb(Work("thumb/") + item.Thumb());
    EXPECT_EQ(thumb.height(), 50) << "fitted into the shop's 80 x 50";
    EXPECT_NEAR(thumb.width(), 67, 1);
    EXPECT_EQ(item.Image(), "");
    EXPECT_TRUE(Files("image").isEmpty()) << "the picture no product names any more is deleted";
    EXPECT_EQ(item.Duration(), "00:03:00") << "the typed duration, whatever the clip length";
    EXPECT_TRUE(shop.Modified());
}

TEST_F(MediaImport, SoundBecomesAnMp3PreviewAndKeepsTheThumbnail) {
    // A file without extension is sound, whatever it holds.
    const QString source = site.File("recording");
    ASSERT_TRUE(QFile::copy(TMediaFiles::Get().Mono(), source));
    ASSERT_EQ(MediaKindOfFile(source), TMediaKind::Audio);
    TMediaImport import(shop, item, {source, TMediaKind::Audio, {0, 2000000}, QImage(), "00:00:02"});
    TVideoConvertor convertor;
    ASSERT_TRUE(import.Queue(convertor));
    const int result = RunToEnd(convertor);
    ASSERT_EQ(result, mrOk);
    import.Finish(result);

    EXPECT_TRUE(item.Preview().endsWith(".mp3"));
    const TProbed preview = Probe(Work("preview/") + item.Preview());
    EXPECT_EQ(preview.Format, "mp3");
    EXPECT_FALSE(preview.HasVideo);
    EXPECT_NEAR(preview.Duration, 2000000, 60000) << "the whole source";
    EXPECT_EQ(item.Thumb(), "old_Thumb.png");
    EXPECT_EQ(Files("thumb"), QStringList{"old_Thumb.png"});
    EXPECT_EQ(item.Image(), "");
    EXPECT_EQ(Files("preview"), QStringList{item.Preview()});
}

TEST_F(MediaImport, FailedOrCancelledImportsLeaveTheProductAndItsFilesAlone) {
    {
        // Unreadable source: the option sets cannot be built.
        TMediaImport import(shop, item,
                            {TMediaFiles::Get().Garbage(), TMediaKind::Video, {0, 1000000}, {}, ""});
        TVideoConvertor convertor;
        EXPECT_THROW(import.Queue(convertor), EMediaError);
    }
    ExpectProductUnchanged();
    {
        TMediaImport import(shop, item,
                            {TMediaFiles::Get().LongVideo(), TMediaKind::Video, {0, 30000000}, {}, ""});
        TVideoConvertor convertor;
        ASSERT_TRUE(import.Queue(convertor));
        convertor.Engine().SetProgressInterval(100);
        const int result = RunToEnd(convertor, true);
        EXPECT_EQ(result, mrCancel);
        import.Finish(result);
    }
    ExpectProductUnchanged();
    {
        // Queued but never run: the object cleans up after itself.
        TMediaImport import(shop, item, {TMediaFiles::Get().Mono(), TMediaKind::Audio, {0, 1000000}, {}, ""});
        TVideoConvertor convertor;
        ASSERT_TRUE(import.Queue(convertor));
        WriteFile(import.PartialFile(), "half");
    }
    ExpectProductUnchanged();
}

TEST_F(MediaImport, AnOldPreviewGetsItsWebCopyAndAStopLeavesNone) {
    TMediaImport import(shop, item, {TMediaFiles::Get().Video(), TMediaKind::Video, {0, 2000000}, {}, ""});
    TVideoConvertor convertor;
    ASSERT_TRUE(import.Queue(convertor));
    ASSERT_EQ(RunToEnd(convertor), mrOk);
    import.Finish(mrOk);
    const QString preview = Work("preview/") + item.Preview();
    const QString webCopy = preview.chopped(4) + ".mp4";
    ASSERT_TRUE(QFile::remove(webCopy));

    ASSERT_TRUE(QueueWebCopy(convertor, preview));
    ASSERT_EQ(RunToEnd(convertor), mrOk);
    ExpectPlayableWebCopy(webCopy, preview);

    // 4:2:0 pictures take even sizes only; an odd picture loses its last row and column.
    ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=161x121:rate=25:duration=1", "-c:v", "ffv1",
                           "-f", "matroska", Work("preview/odd.flv")}));
    ASSERT_TRUE(QueueWebCopy(convertor, Work("preview/odd.flv")));
    ASSERT_EQ(RunToEnd(convertor), mrOk);
    TAVProbe probe;
    QString message;
    ASSERT_TRUE(probe.Open(Work("preview/odd.mp4"), message)) << message.toStdString();
    TVideoStreamInfo video;
    probe.GetVideoStreamInfo(probe.FirstVideoStreamIndex(), video);
    EXPECT_EQ(video.Width, 160);
    EXPECT_EQ(video.Height, 120);
    probe.Close();
    QFile::remove(Work("preview/odd.flv"));
    QFile::remove(Work("preview/odd.mp4"));

    // Any file may stand as an old preview; a long one is stopped while it is written.
    const QString longPreview = Work("preview/long.flv");
    ASSERT_TRUE(QFile::copy(TMediaFiles::Get().LongVideo(), longPreview));
    ASSERT_TRUE(QueueWebCopy(convertor, longPreview));
    convertor.Engine().SetProgressInterval(100);
    QElapsedTimer stopping;
    qint64 stopTime = -1;
    convertor.OnProgress = [&](const TProgressInfo&) {
        if (stopTime < 0) {
            stopping.start();
            convertor.Stop(true);
            stopTime = stopping.elapsed();
        }
    };
    convertor.Start(1);
    ASSERT_TRUE(WaitFor([&] { return stopTime >= 0 && !convertor.Working(); }));
    EXPECT_LT(stopTime, 1000) << "ms; the encoders' queues are dropped, not flushed";
    EXPECT_EQ(Files("preview"),
              (QStringList{QFileInfo(preview).fileName(), QFileInfo(webCopy).fileName(), "long.flv"}))
        << "no part of the stopped copy";
}

TEST(PreviewOptions, KindComesFromTheWholeExtension) {
    EXPECT_EQ(MediaKindOfFile("/a/clip.mp4"), TMediaKind::Video);
    EXPECT_EQ(MediaKindOfFile("/a/clip.Mkv"), TMediaKind::Video);
    EXPECT_EQ(MediaKindOfFile("/a/clip.ts"), TMediaKind::Video);
    EXPECT_EQ(MediaKindOfFile("/a/song.mp3"), TMediaKind::Audio);
    EXPECT_EQ(MediaKindOfFile("/a/song"), TMediaKind::Audio);
    // Parts of a video extension are not one.
    EXPECT_EQ(MediaKindOfFile("/a/table.tsv"), TMediaKind::Audio);
    EXPECT_EQ(MediaKindOfFile("/a/x.m"), TMediaKind::Audio);
    EXPECT_EQ(MediaKindOfFile("/a/x.mp"), TMediaKind::Audio);
}

TEST(PreviewOptions, ClipTimesStayExactBeyondThirtyTwoBits) {
    EnsureCoreApplication();
    // 71 minutes 35 s (2^32 us) plus half a second: a 32-bit start would wrap to 0.5 s and cut a
    // clip from the 2 s source; the real start lies beyond it.
    const int64_t start = (int64_t{1} << 32) + 500000;
    TInputOptions input;
    TOutputOptions output;
    TTempFolder out;
    BuildPreviewOptions(TMediaFiles::Get().Video(), TMediaKind::Video, {start, start + 1000000},
                        out.File("p.flv"), input, output);
    EXPECT_EQ(output.StartTime, start);
    EXPECT_EQ(input.StartOffset, kNoTime);

    EXPECT_EQ(DurationText(12000000), "00:00:12");
    EXPECT_EQ(DurationText(int64_t{3} * 3600000000 + 5 * 60000000 + 999999), "03:05:00");
    EXPECT_FALSE((TClip{5, 5}.IsValid()));
}

} // namespace
