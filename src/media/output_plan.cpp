// Trovecart - resolving an output option set against the source.
#include "media/output_plan.h"

#include <algorithm>
#include <cmath>

#include <QDateTime>
#include <QTimeZone>

#include "media/extra_options.h"
#include "media/media_error.h"
#include "media/vhook_filters.h"

extern "C" {
#include <libavutil/parseutils.h>
#include <libavutil/pixdesc.h>
#include <libavutil/rational.h>
}

namespace {

constexpr double kUnixEpochDays = 25569; // 1970-01-01 in days since 1899-12-30

struct TSize {
    int Width = 0;
    int Height = 0;
};

struct TEdges {
    int Top = 0;
    int Bottom = 0;
    int Left = 0;
    int Right = 0;
    int Across() const { return Left + Right; }
    int Down() const { return Top + Bottom; }
    bool Any() const { return Top || Bottom || Left || Right; }
};

// Unset (-1) and negative edges count as none.
TEdges Edges(int top, int bottom, int left, int right) {
    return {std::max(top, 0), std::max(bottom, 0), std::max(left, 0), std::max(right, 0)};
}

struct TTargetPreset {
    const char* Container;
    const char* VideoEncoder;
    const char* AudioEncoder;
    TSize Pal;
    TSize Ntsc;
    int GopPal;
    int GopNtsc;
    int64_t VideoBitRate;
    int64_t MaxRate;
    int64_t MinRate;
    int64_t BufferSize;
    int64_t AudioBitRate;
    int SampleRate;
    int PacketSize;
    int64_t MuxRate;
};

// The standard disc layouts: vcd, svcd, dvd.
const TTargetPreset kTargets[] = {
    {"vcd",
     "mpeg1video",
     "mp2",
     {352, 288},
     {352, 240},
     15,
     18,
     1150000,
     1150000,
     1150000,
     327680,
     224000,
     44100,
     2324,
     1411200},
    {"svcd",
     "mpeg2video",
     "mp2",
     {480, 576},
     {480, 480},
     15,
     18,
     2040000,
     2516000,
     0,
     1835008,
     224000,
     44100,
     2324,
     -1},
    {"dvd",
     "mpeg2video",
     "ac3",
     {720, 576},
     {720, 480},
     15,
     18,
     6000000,
     9000000,
     0,
     1835008,
     448000,
     48000,
     2048,
     10080000},
};

bool IsPal(const TOutputOptions& options, const TSourceStream* video) {
    if (options.NormType == 1)
        return true;
    if (options.NormType == 2)
        return false;
    if (video && video->FrameRateDen > 0) {
        const int milliFps =
            static_cast<int>(std::lround(1000.0 * video->FrameRateNum / video->FrameRateDen));
        if (milliFps == 25000 || milliFps == 50000)
            return true;
        if (milliFps == 29970 || milliFps == 23976 || milliFps == 30000 || milliFps == 59940)
            return false;
    }
    return options.NormDefault == 1;
}

TSize ParseSize(const QString& text) {
    TSize size;
    if (av_parse_video_size(&size.Width, &size.Height, text.toUtf8().constData()) < 0)
        throw EMediaError(QStringLiteral("Invalid frame size: %1.").arg(text));
    return size;
}

// "rotate=" takes degrees here, radians in libavfilter.
QStringList FilterTextChain(const QString& text) {
    QStringList chain;
    for (const QString& item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString filter = item.trimmed();
        bool isNumber = false;
        if (filter.startsWith(QLatin1String("rotate=")))
            filter.mid(7).toDouble(&isNumber);
        chain << (isNumber ? QStringLiteral("rotate=%1*PI/180").arg(filter.mid(7)) : filter);
    }
    return chain;
}

int FirstOfKind(const TSourceFacts& source, char kind) {
    for (int i = 0; i < source.Streams.size(); ++i) {
        if (source.Streams.at(i).Kind == kind)
            return i;
    }
    return -1;
}

struct TStreamChoice {
    int Video = -1;
    int Audio = -1;
    QStringList Hooks;
    bool VideoOff = false;
    bool AudioOff = false;
    // The option lines that are not about streams but go with them.
    QString PixelFormat;
    QList<QPair<QString, QString>> MuxerOptions;
};

TStreamChoice ChooseStreams(const TOutputOptions& options, const TSourceFacts& source) {
    TStreamChoice choice;
    bool mapped = false;
    for (const TExtraOption& option : ParseExtraOptions(options.ExtOptions)) {
        if (option.Name == QLatin1String("map")) {
            const QStringList parts = option.Value.split(QLatin1Char(':'));
            bool fileOk = false;
            bool streamOk = false;
            const int file = parts.value(0).toInt(&fileOk);
            const int stream = parts.value(1).toInt(&streamOk);
            if (parts.size() != 2 || !fileOk || !streamOk || file != 0 || stream < 0 ||
                stream >= source.Streams.size())
                throw EMediaError(QStringLiteral("Stream map '%1' matches no streams.").arg(option.Value));
            mapped = true;
            const char kind = source.Streams.at(stream).Kind;
            if (kind == 'v' && choice.Video < 0)
                choice.Video = stream;
            else if (kind == 'a' && choice.Audio < 0)
                choice.Audio = stream;
        } else if (option.Name == QLatin1String("vn")) {
            choice.VideoOff = option.Value != QLatin1String("0");
        } else if (option.Name == QLatin1String("an")) {
            choice.AudioOff = option.Value != QLatin1String("0");
        } else if (option.Name == QLatin1String("vhook")) {
            choice.Hooks << VhookToFilterGraph(option.Value);
        } else if (option.Name == QLatin1String("pix_fmt")) {
            if (av_get_pix_fmt(option.Value.toUtf8().constData()) == AV_PIX_FMT_NONE)
                throw EMediaError(QStringLiteral("Unknown pixel format requested: %1.").arg(option.Value));
            choice.PixelFormat = option.Value;
        } else if (option.Name == QLatin1String("movflags")) {
            choice.MuxerOptions.append({option.Name, option.Value});
        } else {
            throw EMediaError(QStringLiteral("Unrecognized option '%1'.").arg(option.Name));
        }
    }
    if (!mapped) {
        choice.Video = FirstOfKind(source, 'v');
        choice.Audio = FirstOfKind(source, 'a');
    }
    return choice;
}

void PlanWindow(const TOutputOptions& options, const TSourceFacts& source, TOutputPlan& plan) {
    if (options.CutClip) {
        plan.WindowStart = options.StartTime == kNoTime ? 0 : options.StartTime;
    } else {
        plan.WindowStart = (source.InputStartOffset == kNoTime ? 0 : source.InputStartOffset) +
                           (options.StartTime == kNoTime ? 0 : options.StartTime);
    }
    plan.WindowStart = std::max<int64_t>(plan.WindowStart, 0);
    if (options.RecordingTime != kNoTime && options.RecordingTime >= 0)
        plan.WindowEnd = plan.WindowStart + options.RecordingTime;
    plan.CopyTimestamp = options.CopyTimestamp;
}

void PlanMetadata(const TStreamInfo& info, TOutputPlan& plan) {
    auto add = [&plan](const char* name, const QString& value) {
        if (!value.isEmpty())
            plan.Metadata.append({QString::fromLatin1(name), value});
    };
    if (info.Year > 0)
        add("year", QString::number(info.Year));
    if (info.Track > 0)
        add("track", QString::number(info.Track));
    add("title", info.Title);
    add("author", info.Author);
    add("copyright", info.Copyright);
    add("comment", info.Comment);
    add("album", info.Album);
    add("genre", info.Genre);
    if (info.TimeStamp >= 0) {
        const QDateTime time =
            QDateTime::fromSecsSinceEpoch(UnixTimeOfStamp(info.TimeStamp), QTimeZone::utc());
        add("creation_time", time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.000000Z")));
    }
}

void PlanVideo(const TOutputOptions& options, const TSourceFacts& source, const TTargetPreset* target,
               const QStringList& hooks, TOutputPlan& plan) {
    TVideoPlan& video = plan.Video;
    const TSourceStream& stream = source.Streams.at(video.Source);
    video.Encoder = options.VideoCodec;
    video.Preset = options.VideoPreset;
    video.Tag = options.VideoTag;
    video.BitRate = options.VideoBitrate > 0 ? options.VideoBitrate : -1;
    video.MaxRate = options.VideoMaxRate > 0 ? options.VideoMaxRate : -1;
    video.MinRate = options.VideoMinRate > 0 ? options.VideoMinRate : -1;
    video.BufferSize = options.VideoBufferSize > 0 ? options.VideoBufferSize : -1;
    video.GopSize = options.GopSize > 0 ? options.GopSize : -1;
    if (!options.FrameRate.isEmpty()) {
        AVRational rate{0, 1};
        if (av_parse_video_rate(&rate, options.FrameRate.toUtf8().constData()) < 0)
            throw EMediaError(QStringLiteral("Invalid frame rate: %1.").arg(options.FrameRate));
        video.FrameRateNum = rate.num;
        video.FrameRateDen = rate.den;
    }

    const TEdges crop = Edges(options.CropTop, options.CropBottom, options.CropLeft, options.CropRight);
    const TEdges pad = Edges(options.PadTop, options.PadBottom, options.PadLeft, options.PadRight);
    // The frame size counts the crop in and the pads out, so that what is encoded is
    // frame size - crop + pad.
    TSize frame =
        options.FrameSize.isEmpty() ? TSize{stream.Width, stream.Height} : ParseSize(options.FrameSize);
    if (target) {
        const bool pal = IsPal(options, &stream);
        const TSize norm = pal ? target->Pal : target->Ntsc;
        frame = {norm.Width + crop.Across() - pad.Across(), norm.Height + crop.Down() - pad.Down()};
        video.FrameRateNum = pal ? 25 : 30000;
        video.FrameRateDen = pal ? 1 : 1001;
        if (video.Encoder.isEmpty())
            video.Encoder = QString::fromLatin1(target->VideoEncoder);
        if (video.BitRate < 0)
            video.BitRate = target->VideoBitRate;
        if (video.MaxRate < 0)
            video.MaxRate = target->MaxRate;
        if (video.MinRate < 0 && target->MinRate > 0)
            video.MinRate = target->MinRate;
        if (video.BufferSize < 0)
            video.BufferSize = target->BufferSize;
        if (video.GopSize < 0)
            video.GopSize = pal ? target->GopPal : target->GopNtsc;
    }
    const TSize cropped{stream.Width - crop.Across(), stream.Height - crop.Down()};
    const TSize inner{frame.Width - crop.Across(), frame.Height - crop.Down()};
    video.Width = inner.Width + pad.Across();
    video.Height = inner.Height + pad.Down();
    if (cropped.Width < 2 || cropped.Height < 2 || inner.Width < 2 || inner.Height < 2)
        throw EMediaError(QStringLiteral("Invalid frame size: %1x%2.").arg(video.Width).arg(video.Height));

    video.Hooks = hooks;
    if (crop.Any())
        video.Chain << QStringLiteral("crop=%1:%2:%3:%4")
                           .arg(cropped.Width)
                           .arg(cropped.Height)
                           .arg(crop.Left)
                           .arg(crop.Top);
    video.Chain << FilterTextChain(options.VideoFilters);
    // The filter text may change the size itself, so the scale is always asked for; libavfilter
    // passes frames through when they already fit.
    video.Chain << QStringLiteral("scale=%1:%2").arg(inner.Width).arg(inner.Height);
    if (pad.Any()) {
        const int colour = options.PadColor < 0 ? 0 : options.PadColor & 0xFFFFFF;
        video.Chain << QStringLiteral("pad=%1:%2:%3:%4:0x%5")
                           .arg(video.Width)
                           .arg(video.Height)
                           .arg(pad.Left)
                           .arg(pad.Top)
                           .arg(colour, 6, 16, QLatin1Char('0'));
    }
    if (!options.FrameAspectRatio.isEmpty()) {
        AVRational aspect{0, 1};
        if (av_parse_ratio(&aspect, options.FrameAspectRatio.toUtf8().constData(), 1000, 0, nullptr) < 0 ||
            aspect.num <= 0 || aspect.den <= 0)
            throw EMediaError(QStringLiteral("Invalid aspect ratio: %1.").arg(options.FrameAspectRatio));
        video.Chain << QStringLiteral("setdar=%1/%2").arg(aspect.num).arg(aspect.den);
    }
}

void PlanAudio(const TOutputOptions& options, const TTargetPreset* target, TOutputPlan& plan) {
    TAudioPlan& audio = plan.Audio;
    audio.Encoder = options.AudioCodec;
    audio.BitRate = options.AudioBitrate > 0 ? options.AudioBitrate : -1;
    audio.SampleRate = options.AudioSampleRate > 0 ? options.AudioSampleRate : 0;
    audio.Channels = options.AudioChannels > 0 ? options.AudioChannels : 0;
    audio.Volume = options.AudioVolume >= 0 && options.AudioVolume != 256 ? options.AudioVolume : -1;
    if (target) {
        if (audio.Encoder.isEmpty())
            audio.Encoder = QString::fromLatin1(target->AudioEncoder);
        if (audio.BitRate < 0)
            audio.BitRate = target->AudioBitRate;
        audio.SampleRate = target->SampleRate;
        if (audio.Channels == 0)
            audio.Channels = 2;
    }
}

} // namespace

int64_t TOutputPlan::ExpectedDuration(int64_t sourceDuration) const {
    if (WindowEnd >= 0) {
        const int64_t end = sourceDuration >= 0 ? std::min(WindowEnd, sourceDuration) : WindowEnd;
        return std::max<int64_t>(end - WindowStart, 0);
    }
    return sourceDuration >= 0 ? std::max<int64_t>(sourceDuration - WindowStart, 0) : 0;
}

int64_t UnixTimeOfStamp(double timeStamp) {
    if (timeStamp == 0)
        return QDateTime::currentSecsSinceEpoch();
    const double zoneOffsetDays = QDateTime::currentDateTime().offsetFromUtc() / 86400.0;
    return std::llround((timeStamp - kUnixEpochDays - zoneOffsetDays) * 86400.0);
}

TOutputPlan PlanOutput(const TOutputOptions& options, const TSourceFacts& source) {
    if (options.Join)
        throw EMediaError(QStringLiteral("Joining outputs is not supported."));
    TOutputPlan plan;
    plan.FileName = options.FileName;
    plan.Key = options.FileExt.toLower();
    const TTargetPreset* target =
        options.Target >= 1 && options.Target <= 3 ? &kTargets[options.Target - 1] : nullptr;
    plan.Container = !options.FileFormat.isEmpty() ? options.FileFormat
                     : target                      ? QString::fromLatin1(target->Container)
                                                   : QString();
    plan.PacketSize = options.PacketSize > 0 ? options.PacketSize : (target ? target->PacketSize : -1);
    plan.MuxRate = options.MuxRate > 0 ? options.MuxRate : (target ? target->MuxRate : -1);
    plan.MuxPreload =
        options.MuxPreload >= 0 ? options.MuxPreload : (target && options.Target == 1 ? 0.44 : -1);

    const TStreamChoice streams = ChooseStreams(options, source);
    if (!options.DisableVideo && !streams.VideoOff && !source.VideoOff)
        plan.Video.Source = streams.Video;
    if (!options.DisableAudio && !streams.AudioOff && !source.AudioOff)
        plan.Audio.Source = streams.Audio;
    if (plan.Video.Source < 0 && plan.Audio.Source < 0)
        throw EMediaError(QStringLiteral("Output file #0 does not contain any stream"));

    PlanWindow(options, source, plan);
    PlanMetadata(options.Info, plan);
    plan.MuxerOptions = streams.MuxerOptions;
    if (plan.Video.Source >= 0) {
        PlanVideo(options, source, target, streams.Hooks, plan);
        plan.Video.PixelFormat = streams.PixelFormat;
    }
    if (plan.Audio.Source >= 0)
        PlanAudio(options, target, plan);
    return plan;
}
