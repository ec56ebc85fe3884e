// Trovecart tests - conversions on the engine, checked by probing what they wrote.
#include <algorithm>
#include <cmath>

#include <QFile>

#include <gtest/gtest.h>

#include "media/av_probe.h"
#include "media/ffmpeg_vcl.h"
#include "media/preview_options.h"
#include "media/video_convertor.h"
#include "media/video_options.h"
#include "support/media_fixtures.h"

namespace {

struct TRun {
    QList<TTerminateInfo> Notices;
    QStringList Events; // "terminate", "error" in the order they came
    QString LastError;
    QList<TProgressInfo> Progress;
};

// Queues a conversion on a convertor, runs it on one worker and waits for the end.
TRun Convert(const TInputOptions& input, const TOutputOptions& output) {
    TRun run;
    TVideoConvertor convertor;
    convertor.OnTerminate = [&run](int index, bool finished, bool exception, const QString& message) {
        run.Notices.append({index, finished, exception, message});
        run.Events << QStringLiteral("terminate");
    };
    convertor.OnError = [&run](const QString& message) {
        run.LastError = message;
        run.Events << QStringLiteral("error");
    };
    convertor.OnProgress = [&run](const TProgressInfo& info) { run.Progress.append(info); };
    EXPECT_EQ(convertor.AddConversion(input, output, true), 0) << convertor.LastError().toStdString();
    convertor.Start();
    EXPECT_TRUE(WaitFor([&run] { return !run.Notices.isEmpty() && run.Notices.last().TaskIndex == -1; }));
    return run;
}

TRun Convert(TVideoOptions& options, QString* target = nullptr) {
    TOutputOptions output;
    TInputOptions input;
    options.GetOutputOptions(output);
    options.GetInputOptions(input);
    if (target)
        *target = output.FileName;
    return Convert(input, output);
}

// The 16-bit samples of a WAV file's data chunk.
QList<int16_t> WavSamples(const QString& file) {
    const QByteArray whole = ReadFile(file);
    const qsizetype data = whole.indexOf("data");
    QList<int16_t> samples;
    if (data < 0)
        return samples;
    const qsizetype begin = data + 8;
    for (qsizetype at = begin; at + 1 < whole.size(); at += 2)
        samples.append(static_cast<int16_t>(static_cast<uint8_t>(whole[at]) |
                                            (static_cast<uint8_t>(whole[at + 1]) << 8)));
    return samples;
}

struct TProbed {
    QString Format;
    int64_t Duration = -1;
    int VideoWidth = 0;
    int VideoHeight = 0;
    QString VideoCodec;
    int Channels = 0;
    int SampleRate = 0;
    QString AudioCodec;
    QString Title;
};

TProbed Probe(const QString& file) {
    TAVProbe probe;
    QString message;
    TProbed result;
    EXPECT_TRUE(probe.Open(file, message)) << message.toStdString();
    if (!probe.IsOpen())
        return result;
    TFileStreamInfo info;
    probe.GetFileInfo(info);
    result.Format = probe.FormatName();
    result.Duration = info.Duration;
    result.Title = info.Title;
    if (probe.FirstVideoStreamIndex() >= 0) {
        TVideoStreamInfo video;
        probe.GetVideoStreamInfo(probe.FirstVideoStreamIndex(), video);
        result.VideoWidth = video.Width;
        result.VideoHeight = video.Height;
        result.VideoCodec = probe.CodecName(probe.FirstVideoStreamIndex());
    }
    if (probe.FirstAudioStreamIndex() >= 0) {
        TAudioStreamInfo audio;
        probe.GetAudioStreamInfo(-1, audio);
        result.Channels = audio.Channels;
        result.SampleRate = audio.SampleRate;
        result.AudioCodec = probe.CodecName(probe.FirstAudioStreamIndex());
    }
    return result;
}

class ConversionTest : public ::testing::Test {
protected:
    // The media import's preview options.
    void Preview(TVideoOptions& options, const QString& source, TOutPutFormat format, uint32_t start,
                 uint32_t end) {
        options.FileName = source;
        options.OutFileName = out_.File(QStringLiteral("preview.") + (format == ofFLV ? "flv" : "mp3"));
        options.OutPutFormat = format;
        options.AudioBitRate = -1;
        options.MapStreams = false;
        options.StartTime = start;
        options.VideoLength = end - start;
        options.CutClip = true;
    }

    struct TSets {
        TInputOptions Input;
        TOutputOptions Output;
    };
    // The engine's sets for a preview of the test video's start.
    TSets PreviewSets(TOutPutFormat format, uint32_t end) {
        TVideoOptions options;
        Preview(options, TMediaFiles::Get().Video(), format, 0, end);
        TSets sets;
        options.GetOutputOptions(sets.Output);
        options.GetInputOptions(sets.Input);
        return sets;
    }
    // A preview that fails in the engine (its encoder does not exist), over an older target file.
    TSets FailingPreviewSets() {
        TSets sets = PreviewSets(ofFLV, 1000000);
        sets.Output.VideoCodec = QStringLiteral("no-such-encoder");
        WriteFile(sets.Output.FileName, "left from before");
        return sets;
    }

    TTempFolder out_;
};

void ExpectFinished(const TRun& run) {
    ASSERT_EQ(run.Notices.size(), 2);
    EXPECT_EQ(run.Notices.at(0).TaskIndex, 0);
    EXPECT_TRUE(run.Notices.at(0).Finished);
    EXPECT_FALSE(run.Notices.at(0).Exception) << run.Notices.at(0).ExceptionMsg.toStdString();
    EXPECT_EQ(run.Notices.at(1).TaskIndex, -1);
    EXPECT_TRUE(run.Notices.at(1).Finished);
}

TEST_F(ConversionTest, VideoPreviewIsFlvWithMp3At22050) {
    TVideoOptions options;
    Preview(options, TMediaFiles::Get().Video(), ofFLV, 0, 2000000);
    QString target;
    const TRun run = Convert(options, &target);
    ExpectFinished(run);
    const TProbed probed = Probe(target);
    EXPECT_EQ(probed.Format, QStringLiteral("flv"));
    EXPECT_EQ(probed.VideoCodec, QStringLiteral("flv1"));
    EXPECT_EQ(probed.VideoWidth, 160);
    EXPECT_EQ(probed.VideoHeight, 120);
    EXPECT_EQ(probed.AudioCodec, QStringLiteral("mp3"));
    EXPECT_EQ(probed.SampleRate, 22050);
    EXPECT_EQ(probed.Channels, 2);
    EXPECT_NEAR(static_cast<double>(probed.Duration), 2000000, 100000);
    ASSERT_FALSE(run.Progress.isEmpty());
    EXPECT_EQ(run.Progress.last().CurrentDuration, run.Progress.last().TotalDuration);
}

TEST_F(ConversionTest, AudioPreviewIsMp3WithoutVideo) {
    TVideoOptions options;
    Preview(options, TMediaFiles::Get().Video(), ofMP3, 0, 2000000);
    options.Info.Title = QStringLiteral("Song");
    QString target;
    ExpectFinished(Convert(options, &target));
    const TProbed probed = Probe(target);
    EXPECT_EQ(probed.Format, QStringLiteral("mp3"));
    EXPECT_TRUE(probed.VideoCodec.isEmpty());
    EXPECT_EQ(probed.Channels, 2);
    EXPECT_EQ(probed.Title, QStringLiteral("Song"));

    // Six channels come down to two, one stays one.
    Preview(options, TMediaFiles::Get().SixChannels(), ofMP3, 0, 1000000);
    ExpectFinished(Convert(options, &target));
    EXPECT_EQ(Probe(target).Channels, 2);
    Preview(options, TMediaFiles::Get().Mono(), ofMP3, 0, 1000000);
    ExpectFinished(Convert(options, &target));
    EXPECT_EQ(Probe(target).Channels, 1);
}

TEST_F(ConversionTest, ClipsAreCutToTheirLength) {
    // A clip from the middle lasts its length within a frame (40 ms) and 30 ms.
    TVideoOptions options;
    options.FileName = TMediaFiles::Get().Video();
    options.OutFileName = out_.File(QStringLiteral("middle.avi"));
    options.OutPutFormat = ofAVI;
    options.DisableAudio = true;
    options.CutClip = true;
    options.StartTime = 500000;
    options.VideoLength = 1000000;
    QString target;
    ExpectFinished(Convert(options, &target));
    EXPECT_NEAR(static_cast<double>(Probe(target).Duration), 1000000, 70000);

    // FLV times start after the MP3 encoder's delay (about 50 ms), which the container adds.
    options.DisableAudio = false;
    Preview(options, TMediaFiles::Get().Video(), ofFLV, 500000, 1500000);
    ExpectFinished(Convert(options, &target));
    EXPECT_NEAR(static_cast<double>(Probe(target).Duration), 1000000, 100000);

    Preview(options, TMediaFiles::Get().Mono(), ofMP3, 700000, 1200000);
    ExpectFinished(Convert(options, &target));
    EXPECT_NEAR(static_cast<double>(Probe(target).Duration), 500000, 70000);

    // A clip that runs past the end stops at the source's end.
    Preview(options, TMediaFiles::Get().Video(), ofFLV, 1500000, 4000000);
    ExpectFinished(Convert(options, &target));
    EXPECT_NEAR(static_cast<double>(Probe(target).Duration), 500000, 70000);
}

TEST_F(ConversionTest, AudioIsCutToTheSampleAndScaledByItsVolume) {
    // 0.5 s to 1.2 s of the 44100 Hz mono sine, as 16-bit samples that need no conversion.
    TVideoOptions options;
    Preview(options, TMediaFiles::Get().Mono(), ofMP3, 500000, 1200000);
    TInputOptions input;
    TOutputOptions output;
    options.GetInputOptions(input);
    options.GetOutputOptions(output);
    output.FileName = out_.File(QStringLiteral("cut.wav"));
    output.FileExt = QStringLiteral(".wav");
    output.AudioCodec = QStringLiteral("pcm_s16le");
    const QList<int16_t> source = WavSamples(TMediaFiles::Get().Mono());
    const qsizetype first = 22050;

    struct TCase {
        int Volume;
        double Factor;
    };
    for (const TCase& volume : {TCase{-1, 1.0}, TCase{128, 0.5}, TCase{512, 2.0}}) {
        SCOPED_TRACE(volume.Volume);
        output.AudioVolume = volume.Volume;
        QFile::remove(output.FileName);
        ExpectFinished(Convert(input, output));
        const QList<int16_t> cut = WavSamples(output.FileName);
        ASSERT_EQ(cut.size(), 30870);
        int worst = 0;
        for (qsizetype i = 0; i < cut.size(); ++i)
            worst = std::max(worst, std::abs(cut.at(i) - static_cast<int>(std::lround(source.at(first + i) *
                                                                                      volume.Factor))));
        EXPECT_LE(worst, 1);
    }
}

TEST_F(ConversionTest, OggTargetsGetVorbisWhateverAudioCodecWasAsked) {
    TVideoOptions options;
    options.FileName = TMediaFiles::Get().Video();
    options.OutFileName = out_.File(QStringLiteral("clip.ogg"));
    options.OutPutFormat = ofOGG;
    options.AudioCodec = acFlac;
    QString target;
    ExpectFinished(Convert(options, &target));
    const TProbed probed = Probe(target);
    EXPECT_EQ(probed.Format, QStringLiteral("ogg"));
    EXPECT_EQ(probed.AudioCodec, QStringLiteral("vorbis"));
    EXPECT_EQ(probed.VideoCodec, QStringLiteral("theora"));
}

TEST_F(ConversionTest, CropPadAndScaleShapeThePicture) {
    TVideoOptions options;
    options.FileName = TMediaFiles::Get().Video();
    options.OutFileName = out_.File(QStringLiteral("shaped.avi"));
    options.OutPutFormat = ofAVI;
    options.Crop.Active = true;
    options.Crop.Left = 10;
    options.Crop.Right = 10;
    options.Pad.Active = true;
    options.Pad.Top = 20;
    options.Pad.Bottom = 20;
    QString target;
    ExpectFinished(Convert(options, &target));
    // The picture keeps its base size: cropped content is scaled into the space inside the pads.
    TProbed probed = Probe(target);
    EXPECT_EQ(probed.VideoWidth, 160);
    EXPECT_EQ(probed.VideoHeight, 120);

    options.VideoWidth = 96;
    options.VideoHeight = 64;
    options.OverwriteOutFile = true;
    ExpectFinished(Convert(options, &target));
    probed = Probe(target);
    EXPECT_EQ(probed.VideoWidth, 96);
    EXPECT_EQ(probed.VideoHeight, 64);
}

TEST_F(ConversionTest, UnreadableSourceIsRefusedWhenQueued) {
    TVideoConvertor convertor;
    QStringList errors;
    convertor.OnError = [&errors](const QString& message) { errors << message; };
    TInputOptions input;
    input.FileName = TMediaFiles::Get().Truncated();
    TOutputOptions output;
    output.FileName = out_.File(QStringLiteral("never.flv"));
    output.FileExt = QStringLiteral(".flv");
    EXPECT_EQ(convertor.AddConversion(input, output, true), -1);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(convertor.LastMessage(),
              QStringLiteral("File load error: %1: Error while parsing header").arg(input.FileName));
    EXPECT_TRUE(convertor.LastError().startsWith(QStringLiteral("Time Stamp : \t")));
    EXPECT_TRUE(convertor.LastError().endsWith(
        QStringLiteral("\r\nMessage : \t\tFile load error: %1: Error while parsing header\r\n")
            .arg(input.FileName)));
    EXPECT_FALSE(QFile::exists(output.FileName));
}

TEST_F(ConversionTest, EngineFailureEndsFirstThenErrorsAndKeepsTheOlderFile) {
    const auto [input, output] = FailingPreviewSets();

    TVideoConvertor convertor;
    QStringList events;
    QList<TTerminateInfo> notices;
    convertor.OnTerminate = [&](int index, bool finished, bool exception, const QString& message) {
        notices.append({index, finished, exception, message});
        events << QStringLiteral("terminate");
    };
    convertor.OnError = [&events](const QString&) { events << QStringLiteral("error"); };
    ASSERT_EQ(convertor.AddConversion(input, output, true), 0);
    convertor.Threads = 2; // Start(-1) takes Threads
    convertor.Start(-1);
    EXPECT_TRUE(convertor.Working());
    ASSERT_TRUE(WaitFor([&notices] { return notices.size() == 2; }));
    EXPECT_EQ(events, (QStringList{"terminate", "error", "terminate"}));
    EXPECT_TRUE(notices.at(0).Exception);
    EXPECT_EQ(notices.at(0).ExceptionMsg, QStringLiteral("Unknown encoder 'no-such-encoder'"));
    EXPECT_EQ(convertor.LastMessage(), notices.at(0).ExceptionMsg);
    EXPECT_EQ(ReadFile(output.FileName), QByteArray("left from before"));
    EXPECT_EQ(out_.Entries(), QStringList({QStringLiteral("preview.flv")}));
    EXPECT_FALSE(convertor.Working());
}

TEST_F(ConversionTest, RefusedOutputLeavesTheFirstConversionQueued) {
    const auto [input, output] = PreviewSets(ofFLV, 1000000);
    TVideoConvertor convertor;
    ASSERT_EQ(convertor.AddConversion(input, output, true), 0);
    TOutputOptions refused = output;
    refused.ExtOptions = QStringLiteral("map=0:9\r\n");
    EXPECT_EQ(convertor.AddConversion(input, refused, true), -1);
    EXPECT_EQ(convertor.LastMessage(),
              QStringLiteral("Cannot convert file, error: Stream map '0:9' matches no streams."));
    EXPECT_EQ(convertor.Engine().TaskCount(), 1);

    QList<TTerminateInfo> notices;
    convertor.OnTerminate = [&](int index, bool finished, bool exception, const QString& message) {
        notices.append({index, finished, exception, message});
    };
    convertor.Start(1);
    ASSERT_TRUE(WaitFor([&notices] { return notices.size() == 2; }));
    EXPECT_TRUE(notices.at(0).Finished);
    EXPECT_TRUE(QFile::exists(output.FileName));
}

TEST_F(ConversionTest, AStartRefusedDuringARunKeepsTheRunsTargets) {
    const auto [input, output] = FailingPreviewSets();

    TVideoConvertor convertor;
    QList<TTerminateInfo> notices;
    convertor.OnTerminate = [&](int index, bool finished, bool exception, const QString& message) {
        notices.append({index, finished, exception, message});
    };
    ASSERT_EQ(convertor.AddConversion(input, output, true), 0);
    EXPECT_EQ(convertor.QueuedCount(), 1);
    convertor.Start(1);
    // The run's end has not been delivered yet: the engine is still working.
    convertor.Start(1);
    EXPECT_EQ(convertor.LastMessage(), QStringLiteral("Cannot start task while working."));
    EXPECT_TRUE(convertor.Working());
    ASSERT_TRUE(WaitFor([&notices] { return notices.size() == 2; }));
    EXPECT_TRUE(notices.at(0).Exception);
    EXPECT_EQ(ReadFile(output.FileName), QByteArray("left from before"));
    EXPECT_EQ(convertor.QueuedCount(), 0);
    EXPECT_FALSE(convertor.Working());
}

TEST_F(ConversionTest, TheProgressBarFollowsTheRunAndGoesBackToZero) {
    struct TBar : TProgressBarHook {
        void SetPosition(int position) override { Positions.append(position); }
        void Repaint() override { ++Repaints; }
        QList<int> Positions;
        int Repaints = 0;
    } bar;
    const auto [input, output] = PreviewSets(ofMP3, 2000000);
    TVideoConvertor convertor;
    convertor.ProgressBar = &bar;
    bool ended = false;
    convertor.OnTerminate = [&ended](int index, bool, bool, const QString&) { ended = index == -1; };
    ASSERT_EQ(convertor.AddConversion(input, output, true), 0);
    convertor.Start();
    ASSERT_TRUE(WaitFor([&ended] { return ended; }));
    ASSERT_GE(bar.Positions.size(), 3);
    EXPECT_GT(bar.Repaints, 0);
    // The last progress report is the whole clip, then each end notice resets the bar.
    EXPECT_EQ(bar.Positions.at(bar.Positions.size() - 3), 100);
    EXPECT_EQ(bar.Positions.at(bar.Positions.size() - 2), 0);
    EXPECT_EQ(bar.Positions.last(), 0);
    EXPECT_TRUE(std::is_sorted(bar.Positions.begin(), bar.Positions.end() - 2));
}

TEST_F(ConversionTest, OneTaskWritesSeveralOutputs) {
    TFFmpegVCL engine;
    QString message;
    TInputOptions input;
    const int task = engine.AddTask(TMediaFiles::Get().Video(), input, message);
    ASSERT_EQ(task, 0) << message.toStdString();
    TOutputOptions flv;
    flv.FileExt = QStringLiteral(".flv");
    TOutputOptions mp3;
    mp3.FileExt = QStringLiteral(".mp3");
    ASSERT_TRUE(engine.SetOutputFile(task, out_.File(QStringLiteral("a.flv")), flv, message));
    ASSERT_TRUE(engine.SetOutputFile(task, out_.File(QStringLiteral("a.mp3")), mp3, message));
    for (int i = 2; i < TFFmpegVCL::kMaxOutputFiles; ++i)
        ASSERT_TRUE(engine.SetOutputFile(task, out_.File(QStringLiteral("b%1.mp3").arg(i)), mp3, message));
    EXPECT_FALSE(engine.SetOutputFile(task, out_.File(QStringLiteral("c.mp3")), mp3, message));
    EXPECT_EQ(message, QStringLiteral("max output files 20 reached"));

    QList<TTerminateInfo> notices;
    engine.OnTerminate = [&notices](const TTerminateInfo& info) { notices.append(info); };
    ASSERT_TRUE(engine.StartTask(0, message)); // on this thread
    ASSERT_EQ(notices.size(), 2);
    EXPECT_TRUE(notices.at(0).Finished) << notices.at(0).ExceptionMsg.toStdString();
    EXPECT_EQ(Probe(out_.File(QStringLiteral("a.flv"))).Format, QStringLiteral("flv"));
    EXPECT_EQ(Probe(out_.File(QStringLiteral("b19.mp3"))).Format, QStringLiteral("mp3"));
}

// A queued task reads the file the probe had open for it; every other task opens its own.
TEST_F(ConversionTest, TasksTakeOnlyTheProbedFileOfTheirOwnName) {
    TFFmpegVCL engine;
    QString message;
    TInputOptions input;
    TOutputOptions mp3;
    mp3.FileExt = QStringLiteral(".mp3");
    ASSERT_TRUE(engine.Probe().Open(TMediaFiles::Get().Mono(), message)) << message.toStdString();
    ASSERT_EQ(engine.AddTask(TMediaFiles::Get().Video(), input, message), 0) << message.toStdString();
    EXPECT_EQ(engine.Probe().FileName(), TMediaFiles::Get().Mono());

    ASSERT_TRUE(engine.Probe().Open(TMediaFiles::Get().Video(), message));
    ASSERT_EQ(engine.AddTask(TMediaFiles::Get().Video(), input, message), 1) << message.toStdString();
    EXPECT_FALSE(engine.Probe().IsOpen());
    ASSERT_EQ(engine.AddTask(TMediaFiles::Get().Video(), input, message), 2) << message.toStdString();
    for (int task = 0; task < 3; ++task)
        ASSERT_TRUE(engine.SetOutputFile(task, out_.File(QStringLiteral("t%1.mp3").arg(task)), mp3, message));

    QList<TTerminateInfo> notices;
    engine.OnTerminate = [&notices](const TTerminateInfo& info) { notices.append(info); };
    ASSERT_TRUE(engine.StartTask(0, message));
    ASSERT_EQ(notices.size(), 4);
    for (int task = 0; task < 3; ++task) {
        EXPECT_TRUE(notices.at(task).Finished) << notices.at(task).ExceptionMsg.toStdString();
        const TProbed probed = Probe(out_.File(QStringLiteral("t%1.mp3").arg(task)));
        EXPECT_EQ(probed.Channels, 2) << task;
        EXPECT_NEAR(static_cast<double>(probed.Duration), 2000000, 100000) << task;
    }
}

// Options built on the converter's probe leave the source open there, and the conversion reads
// that open file: the name may be gone by the time the conversion is queued.
TEST_F(ConversionTest, APreviewBuiltOnTheConvertersProbeConvertsTheFileOpenedThen) {
    const QString source = out_.File(QStringLiteral("source.mp4"));
    ASSERT_TRUE(QFile::copy(TMediaFiles::Get().Video(), source));
    TVideoConvertor convertor;
    TInputOptions input;
    TOutputOptions output;
    BuildPreviewOptions(source, TMediaKind::Audio, {500000, 1500000}, out_.File(QStringLiteral("clip.mp3")),
                        input, output, true, &convertor.Engine().Probe());
    ASSERT_TRUE(QFile::remove(source));

    QList<TTerminateInfo> notices;
    convertor.OnTerminate = [&notices](int index, bool finished, bool exception, const QString& message) {
        notices.append({index, finished, exception, message});
    };
    ASSERT_EQ(convertor.AddConversion(input, output, true), 0) << convertor.LastError().toStdString();
    convertor.Start();
    ASSERT_TRUE(WaitFor([&notices] { return !notices.isEmpty() && notices.last().TaskIndex == -1; }));
    EXPECT_TRUE(notices.first().Finished) << notices.first().ExceptionMsg.toStdString();
    const TProbed probed = Probe(output.FileName);
    EXPECT_EQ(probed.AudioCodec, QStringLiteral("mp3"));
    EXPECT_NEAR(static_cast<double>(probed.Duration), 1000000, 100000);
}

TEST_F(ConversionTest, AClipAfterTheSourcesEndIsAnErrorAndWritesNothing) {
    TVideoOptions options;
    Preview(options, TMediaFiles::Get().Video(), ofFLV, 60000000, 61000000);
    QString target;
    const TRun run = Convert(options, &target);
    ASSERT_EQ(run.Notices.size(), 2);
    EXPECT_TRUE(run.Notices.at(0).Exception);
    EXPECT_TRUE(run.Notices.at(0).ExceptionMsg.endsWith(QStringLiteral("nothing to convert")))
        << run.Notices.at(0).ExceptionMsg.toStdString();
    EXPECT_TRUE(out_.Entries().isEmpty()) << out_.Entries().join(' ').toStdString();
}

TEST_F(ConversionTest, StopEndsARunningConversion) {
    const QString source = out_.File(QStringLiteral("long.mp4"));
    ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=20", "-c:v", "libx264",
                           "-preset", "ultrafast", source}));
    TFFmpegVCL engine;
    engine.SetProgressInterval(10);
    EXPECT_EQ(engine.ProgressInterval(), 100);
    QString message;
    TInputOptions input;
    ASSERT_EQ(engine.AddTask(source, input, message), 0);
    TOutputOptions output;
    output.FileExt = QStringLiteral(".avi");
    output.VideoCodec = QStringLiteral("mpeg4");
    ASSERT_TRUE(engine.SetOutputFile(0, out_.File(QStringLiteral("long.avi")), output, message));
    QList<TTerminateInfo> notices;
    int progress = 0;
    engine.OnTerminate = [&notices](const TTerminateInfo& info) { notices.append(info); };
    engine.OnProgress = [&progress](const TProgressInfo&) { ++progress; };
    ASSERT_TRUE(engine.StartTask(1, message));
    EXPECT_EQ(engine.AddTask(source, input, message), -1);
    EXPECT_EQ(message, QStringLiteral("Cannot add task while working."));
    ASSERT_TRUE(WaitFor([&progress] { return progress > 0; }));
    engine.Stop(true);
    EXPECT_FALSE(engine.Working());
    ASSERT_TRUE(WaitFor([&notices] { return notices.size() == 2; }));
    EXPECT_FALSE(notices.at(0).Finished);
    EXPECT_FALSE(notices.at(0).Exception);
    EXPECT_EQ(notices.at(1).TaskIndex, -1);
    // A stopped conversion leaves no part of its file.
    EXPECT_EQ(out_.Entries(), QStringList({QStringLiteral("long.mp4")}));
}

} // namespace
