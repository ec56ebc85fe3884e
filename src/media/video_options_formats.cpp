// Trovecart - the per-format rules of the output option set.
#include <algorithm>
#include <iterator>

#include <QFileInfo>

#include "media/video_options.h"

namespace {

// Whole thousands of 0, 64, 96, 128 or 192 are standard; anything else becomes 192000.
void StandardAudioBitRate(TOutputOptions& o) {
    const int thousands = o.AudioBitrate / 1000;
    if (thousands != 0 && thousands != 64 && thousands != 96 && thousands != 128 && thousands != 192)
        o.AudioBitrate = 192000;
}

void Mp3InsteadOf(const TVideoOptions& options, std::initializer_list<TAudioCodec> codecs,
                  TOutputOptions& o) {
    if (std::find(codecs.begin(), codecs.end(), options.AudioCodec) != codecs.end())
        o.AudioCodec = QStringLiteral("libmp3lame");
}

// Flash players take these three sample rates only.
void FlashSampleRate(TOutputOptions& o) {
    if (o.AudioSampleRate != 11025 && o.AudioSampleRate != 22050 && o.AudioSampleRate != 44100)
        o.AudioSampleRate = 22050;
}

void FlvRules(const TVideoOptions& options, TOutputOptions& o) {
    FlashSampleRate(o);
    if (options.VideoCodec == vcXvid) {
        o.VideoCodec = QStringLiteral("libx264");
        o.VideoPreset = QStringLiteral("libx264-default");
    }
    Mp3InsteadOf(options, {acAc3, acFlac}, o);
}

void SwfRules(const TVideoOptions& options, TOutputOptions& o) {
    FlashSampleRate(o);
    Mp3InsteadOf(options, {acAcc, acAc3, acFlac}, o);
}

void PspRules(const TVideoOptions&, TOutputOptions& o) {
    o.FileFormat = QStringLiteral("psp");
    o.VideoTag = QStringLiteral("DIVX");
    o.FrameRate = QStringLiteral("15000/1001");
}

// The frame size makes the target's picture size the fixed iPod one (see ApplyFrameSize).
void IpodRules(const TVideoOptions&, TOutputOptions& o) {
    o.FrameSize = QStringLiteral("320x240");
}

void WmvRules(const TVideoOptions& options, TOutputOptions& o) {
    if (options.VideoCodec == vcLibx264) {
        o.VideoCodec = QStringLiteral("libxvid");
        o.VideoPreset.clear();
    }
}

void Mp4Rules(const TVideoOptions& options, TOutputOptions& o) {
    Mp3InsteadOf(options, {acFlac}, o);
}

void WmaRules(const TVideoOptions&, TOutputOptions& o) {
    o.DisableVideo = true;
}

void WavRules(const TVideoOptions&, TOutputOptions& o) {
    o.AudioBitrate = -1;
}

void DiscRules(const TVideoOptions& options, TOutputOptions& o) {
    o.Target = options.OutPutFormat == ofVCD ? 1 : options.OutPutFormat == ofSVCD ? 2 : 3;
    o.NormType = options.NormType;
    o.NormDefault = 2; // NTSC
}

void ThreeGpRules(const TVideoOptions& options, TOutputOptions& o) {
    o.AudioChannels = 1;
    const int rates[] = {4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200};
    if (std::find(std::begin(rates), std::end(rates), o.AudioBitrate) == std::end(rates))
        o.AudioBitrate = 7400;
    const QStringList sizes = {QStringLiteral("128x96"), QStringLiteral("176x144"), QStringLiteral("352x288"),
                               QStringLiteral("704x576"), QStringLiteral("1408x1152")};
    if (!sizes.contains(o.FrameSize))
        o.FrameSize = QStringLiteral("176x144");
    Mp3InsteadOf(options, {acAc3, acFlac}, o);
}

void AviRules(const TVideoOptions& options, TOutputOptions& o) {
    const QString sourceExtension = QFileInfo(options.FileName).suffix().toLower();
    if (sourceExtension == QLatin1String("mov"))
        Mp3InsteadOf(options, {acAuto, acAc3}, o);
    if (sourceExtension == QLatin1String("psp") || sourceExtension == QLatin1String("mp4") ||
        sourceExtension == QLatin1String("3gp")) {
        o.VideoBitrate = -1;
        o.AudioBitrate = -1;
    }
}

constexpr const char* kKeep = nullptr; // the codec or preset chosen so far stays
constexpr const char* kClear = "";     // left to the engine
constexpr int kKeepRate = 0;
constexpr int kUnsetRate = -1;

struct TFormatRule {
    // 0: the channel count asked for stays; otherwise the source's count, at most this many.
    int MaxChannels;
    bool StandardBitRate;
    // kKeepRate, kUnsetRate or Hz.
    int SampleRate;
    const char* AudioCodec;
    const char* VideoCodec;
    const char* VideoPreset;
    // Replaces the format's key at the end of the target name.
    const char* Suffix;
    // What does not fit the columns; runs after them.
    void (*More)(const TVideoOptions&, TOutputOptions&);
};

// By TOutPutFormat. Ogg always gets Vorbis, whatever codec was asked for: an Ogg file cannot
// hold MP3. Its video codec is left to the container, whose own is Theora. No rule changes the
// options themselves, so building a set twice gives the same set.
// clang-format off
const TFormatRule kFormatRules[] = {
    //        ch  std    rate        audio        video       preset             suffix      more
    /* VCD  */ {2, true,  kUnsetRate, kKeep,       kKeep,      kKeep,             nullptr,    DiscRules},
    /* SVCD */ {2, true,  kUnsetRate, kKeep,       kKeep,      kKeep,             nullptr,    DiscRules},
    /* DVD  */ {6, true,  kUnsetRate, kKeep,       kKeep,      kKeep,             nullptr,    DiscRules},
    /* 3GP  */ {0, false, 8000,       kKeep,       kKeep,      kKeep,             nullptr,    ThreeGpRules},
    /* AVI  */ {2, false, kUnsetRate, kKeep,       kKeep,      kKeep,             nullptr,    AviRules},
    /* FLV  */ {2, false, kKeepRate,  kKeep,       kKeep,      kKeep,             nullptr,    FlvRules},
    /* iPod */ {0, false, kKeepRate,  "libfaac",   "mpeg4",    kKeep,             "_ipod.mp4", IpodRules},
    /* MKV  */ {2, true,  kUnsetRate, kKeep,       "libx264",  "libx264-default", nullptr,    nullptr},
    /* MOV  */ {6, false, kKeepRate,  kKeep,       kKeep,      kKeep,             nullptr,    nullptr},
    /* MP4  */ {6, false, kKeepRate,  kKeep,       kKeep,      kKeep,             nullptr,    Mp4Rules},
    /* OGG  */ {2, true,  kKeepRate,  "libvorbis", kClear,     kKeep,             nullptr,    nullptr},
    /* PSP  */ {6, false, 24000,      "libfaac",   "mpeg4",    kClear,            "_psp.mp4", PspRules},
    /* RM10 */ {0, false, kKeepRate,  kKeep,       "rv10",     kClear,            "_rv10.rm", nullptr},
    /* RM20 */ {0, false, kKeepRate,  kKeep,       "rv20",     kClear,            "_rv20.rm", nullptr},
    /* SWF  */ {2, false, kKeepRate,  kKeep,       kClear,     kClear,            nullptr,    SwfRules},
    /* WMV  */ {2, true,  kKeepRate,  "wmav2",     "wmv2",     kKeep,             nullptr,    WmvRules},
    /* M1V  */ {0, false, kKeepRate,  kKeep,       kKeep,      kKeep,             nullptr,    nullptr},
    /* M2V  */ {0, false, kKeepRate,  kKeep,       kKeep,      kKeep,             nullptr,    nullptr},
    /* AAC  */ {6, false, kKeepRate,  kKeep,       kKeep,      kKeep,             nullptr,    nullptr},
    /* AC3  */ {6, true,  kKeepRate,  kKeep,       kKeep,      kKeep,             nullptr,    nullptr},
    /* MP2  */ {2, true,  kUnsetRate, kKeep,       kKeep,      kKeep,             nullptr,    nullptr},
    /* MP3  */ {2, false, kUnsetRate, kKeep,       kKeep,      kKeep,             nullptr,    nullptr},
    /* WAV  */ {2, false, kKeepRate,  kClear,      kClear,     kKeep,             nullptr,    WavRules},
    /* WMA  */ {2, true,  kKeepRate,  "wmav2",     kClear,     kKeep,             nullptr,    WmaRules},
};
// clang-format on
static_assert(std::size(kFormatRules) == ofWMA + 1, "one rule per output format");

void Apply(const char* value, QString& field) {
    if (value)
        field = QLatin1String(value);
}

} // namespace

void TVideoOptions::ApplyFormatRules(TOutputOptions& o, QString& suffix) const {
    const TFormatRule& rule = kFormatRules[OutPutFormat];
    if (rule.MaxChannels > 0) {
        TAudioStreamInfo audio;
        probe_.GetAudioStreamInfo(-1, audio);
        o.AudioChannels = audio.Channels > 0 ? std::min(audio.Channels, rule.MaxChannels) : -1;
    }
    if (rule.StandardBitRate)
        StandardAudioBitRate(o);
    if (rule.SampleRate != kKeepRate)
        o.AudioSampleRate = rule.SampleRate;
    Apply(rule.AudioCodec, o.AudioCodec);
    Apply(rule.VideoCodec, o.VideoCodec);
    Apply(rule.VideoPreset, o.VideoPreset);
    if (rule.Suffix)
        suffix = QLatin1String(rule.Suffix);
    if (rule.More)
        rule.More(*this, o);
}
