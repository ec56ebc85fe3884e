// Trovecart - the per-format rules of the output option set.
#include <algorithm>

#include <QFileInfo>

#include "media/video_options.h"

namespace {

void AtMost(TOutputOptions& options, int channels) {
    if (options.AudioChannels > channels)
        options.AudioChannels = channels;
}

// Whole thousands of 0, 64, 96, 128 or 192 are standard; anything else becomes 192000.
void StandardAudioBitRate(TOutputOptions& options) {
    const int thousands = options.AudioBitrate / 1000;
    if (thousands != 0 && thousands != 64 && thousands != 96 && thousands != 128 && thousands != 192)
        options.AudioBitrate = 192000;
}

} // namespace

void TVideoOptions::ApplyFormatRules(TOutputOptions& o, QString& suffix) {
    const QString key = OutPutFormatKey(OutPutFormat);
    auto is = [&key](std::initializer_list<const char*> keys) {
        return std::any_of(keys.begin(), keys.end(),
                           [&key](const char* k) { return key == QLatin1String(k); });
    };

    // The channel count follows the source's first audio stream.
    TAudioStreamInfo audio;
    probe_.GetAudioStreamInfo(-1, audio);
    const int channels = audio.Channels > 0 ? audio.Channels : -1;
    if (is({".flv", ".swf", ".wmv", ".mkv", ".ogg", ".mp2", ".mp3", ".wma", ".wav", ".vcd", ".svcd", ".avi"}))
        o.AudioChannels = channels < 3 ? channels : 2;
    else if (is({".psp", ".mp4", ".mov", ".aac", ".ac3", ".dvd"}))
        o.AudioChannels = channels < 7 ? channels : 6;

    if (is({".flv", ".swf"})) {
        if (o.AudioSampleRate != 11025 && o.AudioSampleRate != 22050 && o.AudioSampleRate != 44100)
            o.AudioSampleRate = 22050;
        AtMost(o, 2);
        if (key == QLatin1String(".flv")) {
            if (VideoCodec == vcXvid) {
                o.VideoCodec = QStringLiteral("libx264");
                o.VideoPreset = QStringLiteral("libx264-default");
            }
            if (AudioCodec == acAc3 || AudioCodec == acFlac)
                o.AudioCodec = QStringLiteral("libmp3lame");
        } else {
            o.VideoCodec.clear();
            o.VideoPreset.clear();
            if (AudioCodec != acAuto && AudioCodec != acMp3)
                o.AudioCodec = QStringLiteral("libmp3lame");
        }
    }
    if (is({".ogg"})) {
        o.AudioCodec = QStringLiteral("libvorbis");
        o.VideoCodec = QStringLiteral("libtheora");
    }
    if (is({".psp"})) {
        o.FileFormat = QStringLiteral("psp");
        o.VideoCodec = QStringLiteral("mpeg4");
        o.VideoPreset.clear();
        o.VideoTag = QStringLiteral("DIVX");
        o.AudioCodec = QStringLiteral("libfaac");
        o.AudioSampleRate = 24000;
        o.FrameRate = QStringLiteral("15000/1001");
        AtMost(o, 6);
        suffix = QStringLiteral("_psp.mp4");
    }
    if (is({".ipod"})) {
        o.VideoCodec = QStringLiteral("mpeg4");
        o.AudioCodec = QStringLiteral("libfaac");
        o.FrameSize = QStringLiteral("320x240");
        suffix = QStringLiteral("_ipod.mp4");
    }
    if (is({".rm10", ".rm20"})) {
        const bool first = key == QLatin1String(".rm10");
        o.VideoCodec = first ? QStringLiteral("rv10") : QStringLiteral("rv20");
        o.VideoPreset.clear();
        suffix = first ? QStringLiteral("_rv10.rm") : QStringLiteral("_rv20.rm");
    }
    if (is({".wmv"})) {
        o.VideoCodec = QStringLiteral("wmv2");
        o.AudioCodec = QStringLiteral("wmav2");
        AtMost(o, 2);
        StandardAudioBitRate(o);
        if (VideoCodec == vcLibx264) {
            o.VideoCodec = QStringLiteral("libxvid");
            o.VideoPreset.clear();
        }
    }
    if (is({".mkv"})) {
        o.VideoCodec = QStringLiteral("libx264");
        o.VideoPreset = QStringLiteral("libx264-default");
        AtMost(o, 2);
        StandardAudioBitRate(o);
        o.AudioSampleRate = -1;
    }
    if (is({".mov", ".aac"}))
        AtMost(o, 6);
    if (is({".mp4"})) {
        AtMost(o, 6);
        if (AudioCodec == acFlac)
            o.AudioCodec = QStringLiteral("libmp3lame");
    }
    if (is({".ac3"})) {
        AtMost(o, 6);
        StandardAudioBitRate(o);
        AudioSampleRate = 0;
    }
    if (is({".ogg"})) {
        o.VideoCodec.clear();
        AtMost(o, 2);
        if (AudioCodec == acFlac)
            o.AudioCodec = QStringLiteral("libmp3lame");
        StandardAudioBitRate(o);
    }
    if (is({".mp2"})) {
        AtMost(o, 2);
        StandardAudioBitRate(o);
        o.AudioSampleRate = -1;
    }
    if (is({".mp3"})) {
        AtMost(o, 2);
        o.AudioSampleRate = -1;
    }
    if (is({".wma"})) {
        o.DisableVideo = true;
        o.AudioCodec = QStringLiteral("wmav2");
        o.VideoCodec.clear();
        AtMost(o, 2);
        StandardAudioBitRate(o);
    }
    if (is({".wav"})) {
        o.AudioCodec.clear();
        o.VideoCodec.clear();
        AtMost(o, 2);
        o.AudioBitrate = -1;
    }
    if (is({".vcd", ".svcd", ".dvd"})) {
        o.Target = key == QLatin1String(".vcd") ? 1 : key == QLatin1String(".svcd") ? 2 : 3;
        AtMost(o, o.Target == 3 ? 6 : 2);
        StandardAudioBitRate(o);
        o.AudioSampleRate = -1;
        o.NormType = NormType;
        o.NormDefault = 2;
    }
    if (is({".3gp"})) {
        o.AudioChannels = 1;
        o.AudioSampleRate = 8000;
        const int rates[] = {4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200};
        if (std::find(std::begin(rates), std::end(rates), o.AudioBitrate) == std::end(rates))
            o.AudioBitrate = 7400;
        const QStringList sizes = {QStringLiteral("128x96"), QStringLiteral("176x144"),
                                   QStringLiteral("352x288"), QStringLiteral("704x576"),
                                   QStringLiteral("1408x1152")};
        if (!sizes.contains(o.FrameSize))
            o.FrameSize = QStringLiteral("176x144");
        if (AudioCodec == acAc3 || AudioCodec == acFlac)
            o.AudioCodec = QStringLiteral("libmp3lame");
    }
    if (is({".avi"})) {
        AtMost(o, 2);
        o.AudioSampleRate = -1;
        const QString sourceExtension = QLatin1Char('.') + QFileInfo(FileName).suffix().toLower();
        if (sourceExtension == QLatin1String(".mov") && (AudioCodec == acAuto || AudioCodec == acAc3))
            o.AudioCodec = QStringLiteral("libmp3lame");
        if (sourceExtension == QLatin1String(".psp") || sourceExtension == QLatin1String(".mp4") ||
            sourceExtension == QLatin1String(".3gp")) {
            o.VideoBitrate = -1;
            o.AudioBitrate = -1;
        }
    }
}
