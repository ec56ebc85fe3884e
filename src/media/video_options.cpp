// Trovecart - conversion options and the building of the engine's option sets.
#include "media/video_options.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include "common/file_utils.h"
#include "media/internal/media_input.h"
#include "media/media_error.h"

namespace {

const char* const kFormatNames[] = {"VCD", "SVCD", "DVD", "3GP", "AVI",  "FLV",  "iPod", "MKV",
                                    "MOV", "MP4",  "OGG", "PSP", "RM10", "RM20", "SWF",  "WMV",
                                    "M1V", "M2V",  "AAC", "AC3", "MP2",  "MP3",  "WAV",  "WMA"};

bool IsAudioFormat(TOutPutFormat format) {
    return format >= ofAAC && format <= ofWMA;
}

// The five formats whose bit rates are never taken from the source.
bool KeepsOwnBitRates(TOutPutFormat format) {
    return format == ofVCD || format == ofSVCD || format == ofDVD || format == ofRM10 || format == ofRM20;
}

// A folder-less rename: the name without the extension of its last part.
QString WithoutExtension(const QString& path) {
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > slash ? path.left(dot) : path;
}

// Rounds toward zero to an even number: 5 gives 4, -3 gives -2.
int32_t Even(int32_t value) {
    return value - value % 2;
}

} // namespace

QString OutPutFormatName(TOutPutFormat format) {
    return QString::fromLatin1(kFormatNames[format]);
}

QString OutPutFormatKey(TOutPutFormat format) {
    return QLatin1Char('.') + OutPutFormatName(format).toLower();
}

QString TVideoOptions::VhookFolder() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Files/System/vhook/");
}

void TVideoOptions::Assign(const TVideoOptions& source) {
    FileName = source.FileName;
    OutFileName = source.OutFileName;
    OverwriteOutFile = source.OverwriteOutFile;
    StartTime = source.StartTime;
    VideoLength = source.VideoLength;
    OutPutFormat = source.OutPutFormat;
    AudioChannels = source.AudioChannels;
    AudioSampleRate = source.AudioSampleRate;
    AudioVolume = source.AudioVolume;
    VideoWidth = source.VideoWidth;
    VideoHeight = source.VideoHeight;
    FrameRateNum = source.FrameRateNum;
    FrameRateDen = source.FrameRateDen;
    AspectRatio = source.AspectRatio;
    VideoBitRate = source.VideoBitRate;
    AudioBitRate = source.AudioBitRate;
    VideoCodec = source.VideoCodec;
    AudioCodec = source.AudioCodec;
    CopyTimestamp = source.CopyTimestamp;
    HorizontallyFlip = source.HorizontallyFlip;
    VerticallyFlip = source.VerticallyFlip;
    Negate = source.Negate;
    Scale.Assign(source.Scale);
    RotateAngle = source.RotateAngle;
    SetPTS = source.SetPTS;
    NormType = source.NormType;
    Info = source.Info;
    Crop.Assign(source.Crop);
    Pad.Assign(source.Pad);
    Imlib2VideoHookImage = source.Imlib2VideoHookImage;
    Imlib2VideoHookText = source.Imlib2VideoHookText;
    WaterMark.Assign(source.WaterMark);
    NativeHookImage.Assign(source.NativeHookImage);
    NativeHookText.Assign(source.NativeHookText);
    VideoHookPTS = source.VideoHookPTS;
    CustomHookEvent = source.CustomHookEvent;
    DisableVideo = source.DisableVideo;
    DisableAudio = source.DisableAudio;
    CutClip = source.CutClip;
    OnTerminate = source.OnTerminate;
    OnError = source.OnError;
    OnProgress = source.OnProgress;
}

void TVideoOptions::OpenSource() {
    if (FileName.isEmpty())
        return;
    QString message;
    if (!EnsureLibraries(message))
        throw EMediaError(message);
    // Building the output set and then the input set would open the same file twice.
    if (!probe_.EnsureOpen(FileName, message))
        throw EMediaError(QStringLiteral("File load error: ") + message);
}

// A stream that the source lacks (-1) gets no line: "map=0:-1" would make the engine refuse
// the whole output.
QString TVideoOptions::StreamMapLines(int videoStream, int audioStream) const {
    auto line = [](int stream) {
        return stream < 0 ? QString() : QStringLiteral("map=0:%1\r\n").arg(stream);
    };
    if (IsAudioFormat(OutPutFormat))
        return line(audioStream);
    if (OutPutFormat == ofM1V || OutPutFormat == ofM2V)
        return line(videoStream);
    if (probe_.AudioStreamCount() > 0)
        return line(videoStream) + line(audioStream);
    return line(videoStream);
}

QString TVideoOptions::VideoFilterText() const {
    QStringList filters;
    if (VerticallyFlip)
        filters << QStringLiteral("vflip");
    if (HorizontallyFlip)
        filters << QStringLiteral("hflip");
    if (Negate)
        filters << QStringLiteral("negate");
    if (Scale.Active)
        filters << QStringLiteral("scale=%1:%2").arg(Scale.Width).arg(Scale.Height);
    if (RotateAngle != 0)
        filters << QStringLiteral("rotate=%1").arg(RotateAngle);
    if (!SetPTS.trimmed().isEmpty())
        filters << QStringLiteral("setpts=") + SetPTS.trimmed();
    return filters.join(QLatin1Char(','));
}

void TVideoOptions::GetOutputOptions(TOutputOptions& options) {
    options = TOutputOptions();
    OpenSource();
    const int videoStream =
        VideoStreamIndex == -1 || !MapStreams ? probe_.FirstVideoStreamIndex() : VideoStreamIndex;
    const int audioStream =
        AudioStreamIndex == -1 || !MapStreams ? probe_.FirstAudioStreamIndex() : AudioStreamIndex;
    if (MapStreams)
        options.ExtOptions = StreamMapLines(videoStream, audioStream);

    const QString key = OutPutFormatKey(OutPutFormat);
    options.FileExt = key;
    QString suffix = key;

    if (AudioChannels != acsAuto)
        options.AudioChannels = AudioChannels;
    if (AudioSampleRate != 0)
        options.AudioSampleRate = static_cast<int32_t>(AudioSampleRate);
    options.AudioVolume = AudioVolume < 0 ? -1 : AudioVolume;
    if (VideoWidth != 0 && VideoHeight != 0)
        options.FrameSize = QStringLiteral("%1x%2").arg(VideoWidth).arg(VideoHeight);
    if (FrameRateNum > 0 && FrameRateDen > 0)
        options.FrameRate = QStringLiteral("%1/%2").arg(FrameRateNum).arg(FrameRateDen);
    if (!AspectRatio.isEmpty())
        options.FrameAspectRatio = AspectRatio;

    // A source rate of 0 means unknown and stays unset.
    if (VideoBitRate != 0) {
        options.VideoBitrate = static_cast<int32_t>(VideoBitRate);
    } else if (!KeepsOwnBitRates(OutPutFormat) && videoStream >= 0) {
        TVideoStreamInfo video;
        probe_.GetVideoStreamInfo(videoStream, video);
        if (video.BitRate > 0)
            options.VideoBitrate = static_cast<int32_t>(video.BitRate);
    }
    if (AudioBitRate > 0) {
        options.AudioBitrate = AudioBitRate;
    } else if (AudioBitRate == 0 && !KeepsOwnBitRates(OutPutFormat) && audioStream >= 0) {
        TAudioStreamInfo audio;
        probe_.GetAudioStreamInfo(audioStream, audio);
        if (audio.BitRate > 0)
            options.AudioBitrate = static_cast<int32_t>(audio.BitRate);
    }

    switch (VideoCodec) {
    case vcDivx:
        options.VideoCodec = QStringLiteral("mpeg4");
        options.VideoTag = QStringLiteral("DIVX");
        break;
    case vcXvid:
        options.VideoCodec = QStringLiteral("libxvid");
        break;
    case vcLibx264:
        options.VideoCodec = QStringLiteral("libx264");
        options.VideoPreset = QStringLiteral("libx264-default");
        break;
    case vcAuto:
        break;
    }
    switch (AudioCodec) {
    case acAcc:
        options.AudioCodec = QStringLiteral("libfaac");
        break;
    case acAc3:
        options.AudioCodec = QStringLiteral("ac3");
        break;
    case acFlac:
        options.AudioCodec = QStringLiteral("flac");
        break;
    case acMp3:
        options.AudioCodec = QStringLiteral("libmp3lame");
        break;
    case acAuto:
        break;
    }

    if (CutClip) {
        options.StartTime = StartTime;
        options.CutClip = true;
        TFileStreamInfo file;
        probe_.GetFileInfo(file);
        const int64_t remainder = file.Duration - StartTime;
        options.RecordingTime = remainder < VideoLength ? remainder : VideoLength;
    }
    options.CopyTimestamp = CopyTimestamp;
    options.ExtOptions += OverlayLines(videoStream);
    options.CustomHook = static_cast<bool>(CustomHookEvent);
    options.VideoFilters = VideoFilterText();
    options.DisableAudio = DisableAudio;
    options.DisableVideo = DisableVideo;
    options.AlwaysSet = true;

    ApplyFormatRules(options, suffix);
    options.Info = Info;
    if (Crop.Active) {
        options.CropTop = Even(Crop.Top);
        options.CropBottom = Even(Crop.Bottom);
        options.CropLeft = Even(Crop.Left);
        options.CropRight = Even(Crop.Right);
    }
    if (Pad.Active) {
        options.PadTop = Even(Pad.Top);
        options.PadBottom = Even(Pad.Bottom);
        options.PadLeft = Even(Pad.Left);
        options.PadRight = Even(Pad.Right);
        // The engine takes 0xRRGGBB.
        options.PadColor = static_cast<int32_t>(((Pad.Colour & 0xFF) << 16) | (Pad.Colour & 0xFF00) |
                                                ((Pad.Colour >> 16) & 0xFF));
    }
    if (OutPutFormat != ofMP2 && OutPutFormat != ofMP3)
        ApplyFrameSize(options, videoStream);
    if (QStringLiteral(".vcd.svcd.dvd").contains(key)) {
        const char* norm = NormType == ntPAL ? "_pal.mpg" : NormType == ntNTSC ? "_ntsc.mpg" : "_auto.mpg";
        suffix = QLatin1Char('_') + key.mid(1) + QLatin1String(norm);
    }
    options.FileName = TargetName(suffix);
    options.Join = JoinToThis;
}

// The frame size counts the crop in and the pads out; the engine takes the crop off and adds
// the pads again, so the picture keeps the base size.
void TVideoOptions::ApplyFrameSize(TOutputOptions& options, int videoStream) const {
    int32_t width = 0;
    int32_t height = 0;
    if (!options.FrameSize.isEmpty()) {
        if (OutPutFormat == ofiPod) {
            width = 340;
            height = 220;
        } else if (OutPutFormat == of3GP && options.FrameSize == QLatin1String("176x144")) {
            width = 176;
            height = 144;
        } else {
            width = static_cast<int32_t>(VideoWidth);
            height = static_cast<int32_t>(VideoHeight);
        }
    } else if (videoStream >= 0) {
        TVideoStreamInfo video;
        probe_.GetVideoStreamInfo(videoStream, video);
        width = video.Width;
        height = video.Height;
    } else {
        return; // a source without video has no picture to size
    }
    if (Crop.Active) {
        width += options.CropLeft + options.CropRight;
        height += options.CropTop + options.CropBottom;
    }
    if (Pad.Active) {
        width -= options.PadLeft + options.PadRight;
        height -= options.PadTop + options.PadBottom;
    }
    options.FrameSize = QStringLiteral("%1x%2").arg(width).arg(height);
}

QString TVideoOptions::TargetName(const QString& suffix) const {
    const QString stem = WithoutExtension(OutFileName.isEmpty() ? FileName : OutFileName);
    QString target = stem + suffix;
    for (int n = 1; !OverwriteOutFile && QFileInfo::exists(target); ++n)
        target = stem + QString::number(n) + suffix;
    return target;
}

void TVideoOptions::GetInputOptions(TInputOptions& options) {
    options = TInputOptions();
    OpenSource();
    options.FileName = probe_.FileName();
    if (CutClip) {
        TFileStreamInfo file;
        probe_.GetFileInfo(file);
        if (file.Duration >= 0 && file.Duration >= StartTime)
            options.StartOffset = StartTime;
    }
    if (OutPutFormat == ofAAC || OutPutFormat == ofAC3 || OutPutFormat == ofMP2 || OutPutFormat == ofMP3 ||
        OutPutFormat == ofWAV || OutPutFormat == ofWMA)
        options.ExtOptions = QStringLiteral("vn=1");
}
