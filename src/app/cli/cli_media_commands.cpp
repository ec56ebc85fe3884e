// Trovecart - probe and convert: the media engine from the command line.
#include "cli/cli_media_commands.h"

#include <cstdio>
#include <limits>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/cli_conversion.h"
#include "cli/cli_media_module.h"
#include "media/av_probe.h"
#include "media/preview_options.h"
#include "media/video_convertor.h"

namespace {

QJsonObject TagsJson(const TFileStreamInfo& info) {
    QJsonObject tags;
    auto add = [&tags](const char* name, const QString& value) {
        if (!value.isEmpty())
            tags.insert(QLatin1String(name), value);
    };
    if (info.Year > 0)
        tags.insert(QStringLiteral("year"), info.Year);
    if (info.Track > 0)
        tags.insert(QStringLiteral("track"), info.Track);
    add("title", info.Title);
    add("author", info.Author);
    add("copyright", info.Copyright);
    add("comment", info.Comment);
    add("album", info.Album);
    add("genre", info.Genre);
    return tags;
}

QJsonObject StreamJson(const TAVProbe& probe, int index) {
    static const char* const kinds[] = {"unknown", "video", "audio", "subtitle", "data", "attachment"};
    const TStreamKind kind = probe.StreamKind(index);
    QJsonObject stream{{QStringLiteral("index"), index},
                       {QStringLiteral("kind"), QLatin1String(kinds[static_cast<int>(kind)])},
                       {QStringLiteral("codec"), probe.CodecName(index)}};
    if (kind == TStreamKind::skVideo) {
        TVideoStreamInfo video;
        probe.GetVideoStreamInfo(index, video);
        stream.insert(QStringLiteral("width"), video.Width);
        stream.insert(QStringLiteral("height"), video.Height);
        stream.insert(QStringLiteral("bitRate"), static_cast<qint64>(video.BitRate));
    } else if (kind == TStreamKind::skAudio) {
        TAudioStreamInfo audio;
        probe.GetAudioStreamInfo(index, audio);
        stream.insert(QStringLiteral("channels"), audio.Channels);
        stream.insert(QStringLiteral("sampleRate"), audio.SampleRate);
        stream.insert(QStringLiteral("bitRate"), static_cast<qint64>(audio.BitRate));
    }
    return stream;
}

int ConvertClip(const QString& source, bool video, const TClip& clip, const QString& target,
                TCliInterruptSetter setInterrupt) {
    TVideoConvertor convertor;
    TOutputOptions output;
    TInputOptions input;
    BuildPreviewOptions(source, video ? TMediaKind::Video : TMediaKind::Audio, clip, target, input, output,
                        true, &convertor.Engine().Probe());
    if (convertor.AddConversion(input, output, true) < 0)
        throw EAppError(convertor.LastMessage());
    const TInterruptGuard guard(setInterrupt);
    QString failure;
    const int result = RunConversion(convertor, failure);
    for (const QString& substitution : convertor.Engine().EncoderSubstitutions())
        std::fprintf(stderr, "Encoder %s used.\n", substitution.toLocal8Bit().constData());
    ThrowUnlessOk(result, failure);
    std::printf("%s\n", output.FileName.toLocal8Bit().constData());
    return 0;
}

} // namespace

TCliCommand ProbeCommand() {
    return {
        QString::fromLatin1(kProbeTitle.Name),
        QString::fromLatin1(kProbeTitle.Summary),
        [](QCommandLineParser& parser) {
            parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("An audio or video file."));
        },
        [](const QCommandLineParser& parser) {
            const QString file = ExpectPositional(parser, 1).at(0);
            TAVProbe probe;
            QString message;
            if (!probe.Open(file, message))
                throw EAppError(message);
            TFileStreamInfo info;
            probe.GetFileInfo(info);
            QJsonArray streams;
            for (int i = 0; i < probe.StreamCount(); ++i)
                streams.append(StreamJson(probe, i));
            const QJsonObject json{{QStringLiteral("file"), file},
                                   {QStringLiteral("format"), probe.FormatName()},
                                   {QStringLiteral("startTime"), static_cast<qint64>(info.StartTime)},
                                   {QStringLiteral("duration"), static_cast<qint64>(info.Duration)},
                                   {QStringLiteral("tags"), TagsJson(info)},
                                   {QStringLiteral("firstVideoStream"), probe.FirstVideoStreamIndex()},
                                   {QStringLiteral("firstAudioStream"), probe.FirstAudioStreamIndex()},
                                   {QStringLiteral("streams"), streams}};
            const QByteArray text = QJsonDocument(json).toJson(QJsonDocument::Indented);
            std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
            return 0;
        },
    };
}

TCliCommand ConvertCommand(TCliInterruptSetter setInterrupt) {
    return {
        QString::fromLatin1(kConvertTitle.Name),
        QString::fromLatin1(kConvertTitle.Summary),
        [](QCommandLineParser& parser) {
            parser.addOption({QStringLiteral("video"), QStringLiteral("Make an FLV video preview.")});
            parser.addOption({QStringLiteral("audio"), QStringLiteral("Make an MP3 audio preview.")});
            parser.addOption({QStringLiteral("start"),
                              QStringLiteral("Clip start in microseconds (default 0)."),
                              QStringLiteral("MICROSECONDS")});
            parser.addOption({QStringLiteral("end"),
                              QStringLiteral("Clip end in microseconds (default: the end)."),
                              QStringLiteral("MICROSECONDS")});
            parser.addPositionalArgument(QStringLiteral("SRC"), QStringLiteral("The source media file."));
            parser.addPositionalArgument(
                QStringLiteral("OUT"),
                QStringLiteral("The preview file; its extension becomes .flv or .mp3."));
        },
        [setInterrupt](const QCommandLineParser& parser) {
            const QStringList files = ExpectPositional(parser, 2);
            const bool video = parser.isSet(QStringLiteral("video"));
            if (video == parser.isSet(QStringLiteral("audio")))
                throw ECliUsage(QStringLiteral("Give exactly one of --video and --audio."));
            const qint64 start = MicrosecondsOption(parser, QStringLiteral("start"), 0);
            // Without an end the clip runs to the source's end, where the engine cuts it.
            const TClip clip{
                start, MicrosecondsOption(parser, QStringLiteral("end"), std::numeric_limits<qint64>::max())};
            if (!clip.IsValid())
                throw EAppError(kClipOrderMessage);
            return ConvertClip(files.at(0), video, clip, files.at(1), setInterrupt);
        },
    };
}

qint64 MicrosecondsOption(const QCommandLineParser& parser, const QString& name, qint64 fallback) {
    if (!parser.isSet(name))
        return fallback;
    bool ok = false;
    const qint64 value = parser.value(name).toLongLong(&ok);
    if (!ok || value < 0)
        throw ECliUsage(QStringLiteral("--%1 takes a number of microseconds.").arg(name));
    return value;
}
