// Trovecart tests - the output and input option sets built from conversion options.
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

#include "media/av_probe.h"
#include "media/media_error.h"
#include "media/video_options.h"
#include "support/media_fixtures.h"

namespace {

// The fields a conversion option set may change, as "name=value" words, unset ones left out.
QString Describe(const TOutputOptions& o, const QString& stem) {
    QStringList words;
    auto text = [&words](const char* name, const QString& value) {
        if (!value.isEmpty())
            words << QStringLiteral("%1=%2").arg(QLatin1String(name), value);
    };
    auto number = [&words](const char* name, int64_t value) {
        if (value != -1)
            words << QStringLiteral("%1=%2").arg(QLatin1String(name)).arg(value);
    };
    text("file", o.FileName.startsWith(stem) ? o.FileName.mid(stem.size()) : o.FileName);
    text("ext", o.FileExt);
    text("format", o.FileFormat);
    text("map", QString(o.ExtOptions)
                    .replace(QStringLiteral("map=0:"), QString())
                    .replace(QStringLiteral("\r\n"), QStringLiteral(";")));
    text("v", o.VideoCodec);
    text("preset", o.VideoPreset);
    text("tag", o.VideoTag);
    text("a", o.AudioCodec);
    number("ch", o.AudioChannels);
    number("ar", o.AudioSampleRate);
    number("ab", o.AudioBitrate);
    number("vb", o.VideoBitrate);
    text("s", o.FrameSize);
    text("r", o.FrameRate);
    if (o.DisableVideo)
        words << QStringLiteral("vn");
    if (o.Target != 0)
        words << QStringLiteral("target=%1/%2/%3").arg(o.Target).arg(o.NormType).arg(o.NormDefault);
    return words.join(QLatin1Char(' '));
}

class VideoOptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const TMediaFiles& media = TMediaFiles::Get();
        TAVProbe probe;
        QString message;
        ASSERT_TRUE(probe.Open(media.Video(), message)) << message.toStdString();
        TVideoStreamInfo video;
        probe.GetVideoStreamInfo(0, video);
        TAudioStreamInfo audio;
        probe.GetAudioStreamInfo(1, audio);
        videoRate_ = QString::number(video.BitRate);
        audioRate_ = QString::number(audio.BitRate);
        ASSERT_GT(video.BitRate, 0);
        ASSERT_NE(audio.BitRate / 1000, 128) << "the source's audio rate must not be a standard one";
    }

    TOutputOptions Output(TVideoOptions& options) {
        TOutputOptions output;
        options.GetOutputOptions(output);
        return output;
    }

    QString Expand(QString expected) const {
        return expected.replace(QStringLiteral("$VB"), videoRate_).replace(QStringLiteral("$AB"), audioRate_);
    }

    TTempFolder out_;
    QString videoRate_;
    QString audioRate_;
};

TEST_F(VideoOptionsTest, EveryFormatFromAStereoVideo) {
    // Source: 160x120 H.264 with stereo AAC, both with a known bit rate; default options.
    const std::pair<TOutPutFormat, const char*> expected[] = {
        {ofVCD, "file=_vcd_auto.mpg ext=.vcd map=0;1; ch=2 s=160x120 target=1/0/2"},
        {ofSVCD, "file=_svcd_auto.mpg ext=.svcd map=0;1; ch=2 s=160x120 target=2/0/2"},
        {ofDVD, "file=_dvd_auto.mpg ext=.dvd map=0;1; ch=2 s=160x120 target=3/0/2"},
        {of3GP, "file=.3gp ext=.3gp map=0;1; ch=1 ar=8000 ab=7400 vb=$VB s=176x144"},
        {ofAVI, "file=.avi ext=.avi map=0;1; ch=2 s=160x120"},
        {ofFLV, "file=.flv ext=.flv map=0;1; ch=2 ar=22050 ab=$AB vb=$VB s=160x120"},
        {ofiPod, "file=_ipod.mp4 ext=.ipod map=0;1; v=mpeg4 a=libfaac ab=$AB vb=$VB s=340x220"},
        {ofMKV,
         "file=.mkv ext=.mkv map=0;1; v=libx264 preset=libx264-default ch=2 ab=192000 vb=$VB s=160x120"},
        {ofMOV, "file=.mov ext=.mov map=0;1; ch=2 ab=$AB vb=$VB s=160x120"},
        {ofMP4, "file=.mp4 ext=.mp4 map=0;1; ch=2 ab=$AB vb=$VB s=160x120"},
        {ofOGG, "file=.ogg ext=.ogg map=0;1; a=libvorbis ch=2 ab=192000 vb=$VB s=160x120"},
        {ofPSP,
         "file=_psp.mp4 ext=.psp format=psp map=0;1; v=mpeg4 tag=DIVX a=libfaac ch=2 ar=24000 ab=$AB vb=$VB "
         "s=160x120 r=15000/1001"},
        {ofRM10, "file=_rv10.rm ext=.rm10 map=0;1; v=rv10 s=160x120"},
        {ofRM20, "file=_rv20.rm ext=.rm20 map=0;1; v=rv20 s=160x120"},
        {ofSWF, "file=.swf ext=.swf map=0;1; ch=2 ar=22050 ab=$AB vb=$VB s=160x120"},
        {ofWMV, "file=.wmv ext=.wmv map=0;1; v=wmv2 a=wmav2 ch=2 ab=192000 vb=$VB s=160x120"},
        {ofM1V, "file=.m1v ext=.m1v map=0; ab=$AB vb=$VB s=160x120"},
        {ofM2V, "file=.m2v ext=.m2v map=0; ab=$AB vb=$VB s=160x120"},
        {ofAAC, "file=.aac ext=.aac map=1; ch=2 ab=$AB vb=$VB s=160x120"},
        {ofAC3, "file=.ac3 ext=.ac3 map=1; ch=2 ab=192000 vb=$VB s=160x120"},
        {ofMP2, "file=.mp2 ext=.mp2 map=1; ch=2 ab=192000 vb=$VB"},
        {ofMP3, "file=.mp3 ext=.mp3 map=1; ch=2 ab=$AB vb=$VB"},
        {ofWAV, "file=.wav ext=.wav map=1; ch=2 vb=$VB s=160x120"},
        {ofWMA, "file=.wma ext=.wma map=1; a=wmav2 ch=2 ab=192000 vb=$VB s=160x120 vn"},
    };
    for (const auto& [format, description] : expected) {
        TVideoOptions options;
        options.FileName = TMediaFiles::Get().Video();
        options.OutFileName = out_.File(QStringLiteral("clip.xyz"));
        options.OutPutFormat = format;
        EXPECT_EQ(Describe(Output(options), out_.File(QStringLiteral("clip"))),
                  Expand(QLatin1String(description)))
            << OutPutFormatName(format).toStdString();
    }
}

TEST_F(VideoOptionsTest, FormatsReplaceCodecsTheyCannotCarry) {
    struct TCase {
        TOutPutFormat format;
        TVideoCodec video;
        TAudioCodec audio;
        const char* expected; // "video/preset/audio", empty parts left to the engine
    };
    const TCase cases[] = {
        {ofFLV, vcXvid, acFlac, "libx264/libx264-default/libmp3lame"},
        {ofFLV, vcLibx264, acAc3, "libx264/libx264-default/libmp3lame"},
        {ofFLV, vcAuto, acAcc, "//libfaac"},
        {ofSWF, vcLibx264, acAcc, "//libmp3lame"},
        {ofSWF, vcAuto, acMp3, "//libmp3lame"},
        {ofWMV, vcLibx264, acFlac, "libxvid//wmav2"},
        {ofMKV, vcXvid, acAc3, "libx264/libx264-default/ac3"},
        {ofMP4, vcAuto, acFlac, "//libmp3lame"},
        {ofMP4, vcAuto, acAc3, "//ac3"},
        {of3GP, vcAuto, acFlac, "//libmp3lame"},
        {ofPSP, vcLibx264, acMp3, "mpeg4//libfaac"},
        {ofiPod, vcAuto, acMp3, "mpeg4//libfaac"},
        {ofRM20, vcLibx264, acAuto, "rv20//"},
        {ofWMA, vcDivx, acMp3, "//wmav2"},
        {ofWAV, vcDivx, acMp3, "//"},
        // Ogg keeps Vorbis: an Ogg file cannot hold the MP3 that FLAC used to be replaced with.
        {ofOGG, vcXvid, acFlac, "//libvorbis"},
    };
    for (const TCase& test : cases) {
        TVideoOptions options;
        options.FileName = TMediaFiles::Get().Video();
        options.OutPutFormat = test.format;
        options.VideoCodec = test.video;
        options.AudioCodec = test.audio;
        const TOutputOptions output = Output(options);
        EXPECT_EQ(output.VideoCodec + '/' + output.VideoPreset + '/' + output.AudioCodec,
                  QLatin1String(test.expected))
            << OutPutFormatName(test.format).toStdString();
    }

    // An AVI made from a QuickTime file gets MP3 unless another codec was asked for.
    TTempFolder folder;
    const QString mov = folder.File(QStringLiteral("clip.mov"));
    QFile::copy(TMediaFiles::Get().Video(), mov);
    TVideoOptions avi;
    avi.FileName = mov;
    avi.OutPutFormat = ofAVI;
    EXPECT_EQ(Output(avi).AudioCodec, QStringLiteral("libmp3lame"));
    avi.AudioCodec = acFlac;
    EXPECT_EQ(Output(avi).AudioCodec, QStringLiteral("flac"));
}

TEST_F(VideoOptionsTest, BuildingASetLeavesTheOptionsAsTheyWere) {
    TVideoOptions options;
    options.FileName = TMediaFiles::Get().Video();
    options.OutPutFormat = ofAC3;
    options.AudioSampleRate = 32000;
    EXPECT_EQ(Output(options).AudioSampleRate, 32000);
    EXPECT_EQ(options.AudioSampleRate, 32000u);
    EXPECT_EQ(Output(options).AudioSampleRate, 32000);
}

TEST_F(VideoOptionsTest, PreviewSetsOfTheMediaImport) {
    TVideoOptions options;
    options.FileName = TMediaFiles::Get().Video();
    options.OutFileName = out_.File(QStringLiteral("preview/x.flv"));
    options.OutPutFormat = ofFLV;
    options.AudioBitRate = -1;
    options.MapStreams = false;
    options.StartTime = 500000;
    options.VideoLength = 1000000;
    options.CutClip = true;
    TOutputOptions output = Output(options);
    EXPECT_EQ(Describe(output, out_.File(QStringLiteral("preview/x"))),
              Expand(QStringLiteral("file=.flv ext=.flv ch=2 ar=22050 vb=$VB s=160x120")));
    EXPECT_TRUE(output.CutClip);
    EXPECT_EQ(output.StartTime, 500000);
    EXPECT_EQ(output.RecordingTime, 1000000);
    TInputOptions input;
    options.GetInputOptions(input);
    EXPECT_EQ(input.FileName, options.FileName);
    EXPECT_EQ(input.StartOffset, 500000);
    EXPECT_TRUE(input.ExtOptions.isEmpty());

    options.OutPutFormat = ofMP3;
    output = Output(options);
    EXPECT_EQ(Describe(output, out_.File(QStringLiteral("preview/x"))),
              Expand(QStringLiteral("file=.mp3 ext=.mp3 ch=2 vb=$VB")));
    options.GetInputOptions(input);
    EXPECT_EQ(input.ExtOptions, QStringLiteral("vn=1"));
}

TEST_F(VideoOptionsTest, StreamChoiceAndBitRates) {
    TVideoOptions options;
    options.FileName = TMediaFiles::Get().Video();
    options.OutPutFormat = ofMP4;
    options.VideoStreamIndex = 1;
    options.AudioStreamIndex = 0;
    EXPECT_EQ(Output(options).ExtOptions, QStringLiteral("map=0:1\r\nmap=0:0\r\n"));
    options.MapStreams = false;
    EXPECT_TRUE(Output(options).ExtOptions.isEmpty());

    options.AudioBitRate = -1;
    EXPECT_EQ(Output(options).AudioBitrate, -1);
    options.AudioBitRate = 96000;
    options.VideoBitRate = 300000;
    EXPECT_EQ(Output(options).AudioBitrate, 96000);
    EXPECT_EQ(Output(options).VideoBitrate, 300000);

    // A source without audio gets no audio map line.
    options.FileName = TMediaFiles::Get().SilentVideo();
    options.MapStreams = true;
    options.VideoStreamIndex = -1;
    options.AudioStreamIndex = -1;
    EXPECT_EQ(Output(options).ExtOptions, QStringLiteral("map=0:0\r\n"));
}

TEST_F(VideoOptionsTest, ChannelsFollowTheSource) {
    TVideoOptions options;
    options.OutPutFormat = ofMP3;
    options.AudioChannels = acsStereo;
    options.FileName = TMediaFiles::Get().Mono();
    EXPECT_EQ(Output(options).AudioChannels, 1);
    options.FileName = TMediaFiles::Get().SixChannels();
    EXPECT_EQ(Output(options).AudioChannels, 2);
    options.OutPutFormat = ofDVD;
    EXPECT_EQ(Output(options).AudioChannels, 6);
    options.OutPutFormat = ofMOV;
    EXPECT_EQ(Output(options).AudioChannels, 6);
    options.OutPutFormat = ofRM10; // no rule: the asked count stays
    EXPECT_EQ(Output(options).AudioChannels, 2);
}

TEST_F(VideoOptionsTest, ClipIsCutAtTheSourcesEnd) {
    TVideoOptions options;
    options.FileName = TMediaFiles::Get().Video();
    options.OutPutFormat = ofFLV;
    options.CutClip = true;
    options.StartTime = 1500000;
    options.VideoLength = 3000000;
    const TOutputOptions output = Output(options);
    EXPECT_EQ(output.StartTime, 1500000);
    EXPECT_NEAR(static_cast<double>(output.RecordingTime), 500000, 30000);
    TInputOptions input;
    options.GetInputOptions(input);
    EXPECT_EQ(input.StartOffset, 1500000);

    // A start beyond the end: no input offset.
    options.StartTime = 5000000;
    options.GetInputOptions(input);
    EXPECT_EQ(input.StartOffset, kNoTime);
}

TEST_F(VideoOptionsTest, TargetNamesAreNumbered) {
    TVideoOptions options;
    options.FileName = TMediaFiles::Get().Video();
    options.OutFileName = out_.File(QStringLiteral("clip.avi"));
    options.OutPutFormat = ofFLV;
    EXPECT_EQ(Output(options).FileName, out_.File(QStringLiteral("clip.flv")));
    WriteFile(out_.File(QStringLiteral("clip.flv")), "x");
    EXPECT_EQ(Output(options).FileName, out_.File(QStringLiteral("clip1.flv")));
    WriteFile(out_.File(QStringLiteral("clip1.flv")), "x");
    EXPECT_EQ(Output(options).FileName, out_.File(QStringLiteral("clip2.flv")));
    options.OverwriteOutFile = true;
    EXPECT_EQ(Output(options).FileName, out_.File(QStringLiteral("clip.flv")));

    options.OutFileName.clear();
    options.OutPutFormat = ofVCD;
    options.NormType = ntPAL;
    EXPECT_EQ(Output(options).FileName,
              QFileInfo(options.FileName).path() + QStringLiteral("/video_vcd_pal.mpg"));
}

TEST_F(VideoOptionsTest, CropPadAndFrameSize) {
    TVideoOptions options;
    options.FileName = TMediaFiles::Get().Video();
    options.OutPutFormat = ofAVI;
    options.Crop.Active = true;
    options.Crop.Left = 5;
    options.Crop.Right = -3;
    options.Crop.Top = 8;
    options.Pad.Active = true;
    options.Pad.Bottom = 10;
    options.Pad.Colour = 0x0000FF; // red
    TOutputOptions output = Output(options);
    EXPECT_EQ(output.CropLeft, 4);
    EXPECT_EQ(output.CropRight, -2);
    EXPECT_EQ(output.CropTop, 8);
    EXPECT_EQ(output.PadBottom, 10);
    EXPECT_EQ(output.PadColor, 0xFF0000);
    // base 160x120, plus crop sums (2, 8), minus pad sums (0, 10)
    EXPECT_EQ(output.FrameSize, QStringLiteral("162x118"));

    options.Crop.Active = false;
    options.Pad.Active = false;
    options.OutPutFormat = of3GP;
    options.VideoWidth = 320;
    options.VideoHeight = 240;
    EXPECT_EQ(Output(options).FrameSize, QStringLiteral("176x144"));
    options.VideoWidth = 352;
    options.VideoHeight = 288;
    EXPECT_EQ(Output(options).FrameSize, QStringLiteral("352x288"));
}

TEST_F(VideoOptionsTest, FiltersAndSimpleValues) {
    TVideoOptions options;
    options.FileName = TMediaFiles::Get().Video();
    options.OutPutFormat = ofMP4;
    options.VerticallyFlip = true;
    options.HorizontallyFlip = true;
    options.Negate = true;
    options.Scale.Active = true;
    options.Scale.Width = 80;
    options.Scale.Height = 60;
    options.RotateAngle = 90;
    options.SetPTS = QStringLiteral("  0.5*PTS ");
    options.FrameRateNum = 30000;
    options.FrameRateDen = 1001;
    options.AspectRatio = QStringLiteral("4:3");
    options.AudioVolume = 300;
    options.VideoCodec = vcDivx;
    options.AudioCodec = acAcc;
    const TOutputOptions output = Output(options);
    EXPECT_EQ(output.VideoFilters, QStringLiteral("vflip,hflip,negate,scale=80:60,rotate=90,setpts=0.5*PTS"));
    EXPECT_EQ(output.FrameRate, QStringLiteral("30000/1001"));
    EXPECT_EQ(output.FrameAspectRatio, QStringLiteral("4:3"));
    EXPECT_EQ(output.AudioVolume, 300);
    EXPECT_EQ(output.VideoCodec, QStringLiteral("mpeg4"));
    EXPECT_EQ(output.VideoTag, QStringLiteral("DIVX"));
    EXPECT_EQ(output.AudioCodec, QStringLiteral("libfaac"));
    EXPECT_TRUE(output.AlwaysSet);
}

TEST_F(VideoOptionsTest, OverlayLines) {
    const QString image = out_.File(QStringLiteral("logo image.png"));
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    ASSERT_TRUE(picture.save(image));
    TVideoOptions options;
    options.FileName = TMediaFiles::Get().Video();
    options.OutPutFormat = ofFLV;
    options.MapStreams = false;
    options.Imlib2VideoHookImage.Active = true;
    options.Imlib2VideoHookImage.FileName = image;
    options.NativeHookImage.Active = true;
    options.NativeHookImage.FileName = image;
    options.NativeHookText.Active = true;
    options.NativeHookText.Text = QStringLiteral("  ");
    options.NativeHookText.Font.Bold = true;
    options.NativeHookText.Font.StrikeOut = true;
    options.WaterMark.Active = true; // its file is missing: no line
    const QStringList lines = Output(options).ExtOptions.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const QString vhook = TVideoOptions::VhookFolder();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines.at(0), QStringLiteral("vhook=%1imlib2.dll|-i|%2|-x|W-w|-y|H-h").arg(vhook, image));
    EXPECT_EQ(lines.at(1),
              QStringLiteral("vhook=%1NativeHook.dll|-i|%2|-mc|010203|-ix|130|-iy|100").arg(vhook, image));
    EXPECT_TRUE(lines.at(2).startsWith(
        QStringLiteral("vhook=%1NativeHook.dll -t Your Text Here -tx 0 -ty 0").arg(vhook)))
        << lines.at(2).toStdString();
    EXPECT_TRUE(lines.at(2).endsWith(QStringLiteral("-fst BS")));
    EXPECT_TRUE(options.NativeHookText.Text.isEmpty()); // trimmed and stored back
}

TEST_F(VideoOptionsTest, AssignLeavesStreamChoiceAlone) {
    TVideoOptions source;
    source.FileName = QStringLiteral("a.mp4");
    source.OutPutFormat = ofMKV;
    source.Crop.Active = true;
    source.Crop.Top = 6;
    source.WaterMark.SetMode(1);
    source.VideoStreamIndex = 3;
    source.MapStreams = false;
    source.JoinToThis = true;
    TVideoOptions copy;
    copy.Assign(source);
    EXPECT_EQ(copy.FileName, source.FileName);
    EXPECT_EQ(copy.OutPutFormat, ofMKV);
    EXPECT_EQ(copy.Crop.ToString(), QStringLiteral("(T: 6, L: 0, R: 0, B: 0)"));
    EXPECT_EQ(copy.WaterMark.Mode(), 1);
    EXPECT_EQ(copy.VideoStreamIndex, -1);
    EXPECT_TRUE(copy.MapStreams);
    EXPECT_FALSE(copy.JoinToThis);

    copy.WaterMark.SetMode(2);
    EXPECT_EQ(copy.WaterMark.Mode(), 1);
    TPadRect pad;
    EXPECT_EQ(pad.ToString(), QStringLiteral("<Inactive>"));
    pad.Active = true;
    pad.Colour = 0xFF;
    EXPECT_EQ(pad.ToString(), QStringLiteral("(T: 0, L: 0, R: 0, B: 0, Colour: 0000ff)"));
}

TEST_F(VideoOptionsTest, UnreadableSourceRaisesFileLoadError) {
    TVideoOptions options;
    options.FileName = TMediaFiles::Get().Garbage();
    TOutputOptions output;
    try {
        options.GetOutputOptions(output);
        FAIL() << "no error";
    } catch (const EMediaError& error) {
        EXPECT_EQ(error.Message(),
                  QStringLiteral("File load error: %1: Unknown format").arg(options.FileName));
    }
}

} // namespace
