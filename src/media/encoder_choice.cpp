// Trovecart - encoder names and their stand-ins.
#include "media/encoder_choice.h"

#include <initializer_list>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace {

struct TStandIn {
    const char* Name;
    // Tried in order; the first one built into this FFmpeg wins.
    std::initializer_list<const char*> Candidates;
};

// Encoder names the program writes into option sets, with what replaces each when missing.
const TStandIn kStandIns[] = {
    {"libfaac", {"aac", "libfdk_aac"}},
    {"libxvid", {"mpeg4"}},
    {"libx264", {"libopenh264", "h264_vaapi", "mpeg4"}},
    {"libmp3lame", {"libshine", "mp2"}},
    {"libvorbis", {"vorbis", "libopus", "opus"}},
    {"libtheora", {"libvpx", "mpeg4"}},
    {"wmav2", {"wmav1"}},
    {"wmv2", {"wmv1", "msmpeg4"}},
    {"ac3", {"ac3_fixed", "eac3"}},
    {"rv10", {"h263"}},
    {"rv20", {"h263p", "h263"}},
};

} // namespace

TEncoderChoice FindEncoder(const QString& name) {
    TEncoderChoice choice;
    choice.Requested = name;
    const QByteArray utf8 = name.toUtf8();
    if ((choice.Codec = avcodec_find_encoder_by_name(utf8.constData()))) {
        choice.Used = name;
        return choice;
    }
    for (const TStandIn& standIn : kStandIns) {
        if (name != QLatin1String(standIn.Name))
            continue;
        for (const char* candidate : standIn.Candidates) {
            if ((choice.Codec = avcodec_find_encoder_by_name(candidate))) {
                choice.Used = QString::fromLatin1(candidate);
                return choice;
            }
        }
    }
    // A codec name rather than an encoder name ("h264") takes that codec's default encoder.
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get_by_name(utf8.constData());
    if (descriptor && (choice.Codec = avcodec_find_encoder(descriptor->id)))
        choice.Used = QString::fromLatin1(choice.Codec->name);
    return choice;
}
