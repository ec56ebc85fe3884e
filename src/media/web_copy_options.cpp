// Trovecart - web copies of video previews.
#include "media/web_copy_options.h"

#include <QRegularExpression>

#include "media/media_error.h"
#include "media/video_options.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace {

// 4:2:0 pictures need even sizes.
QString EvenFrameSize(const QString& frameSize) {
    static const QRegularExpression form(QStringLiteral("^(\\d+)x(\\d+)$"));
    const QRegularExpressionMatch match = form.match(frameSize);
    if (!match.hasMatch())
        return frameSize;
    return QStringLiteral("%1x%2").arg(match.captured(1).toInt() & ~1).arg(match.captured(2).toInt() & ~1);
}

} // namespace

QString WebVideoEncoder() {
    for (const char* name : {"libx264", "libopenh264"}) {
        if (avcodec_find_encoder_by_name(name))
            return QString::fromLatin1(name);
    }
    return QString();
}

TOutputOptions WebCopyOutput(const TOutputOptions& preview, const QString& target) {
    const QString encoder = WebVideoEncoder();
    if (encoder.isEmpty())
        throw EMediaError(QStringLiteral("Unknown encoder 'libx264'"));
    TOutputOptions output = preview;
    output.FileName = target;
    output.FileExt = QStringLiteral(".mp4");
    output.FileFormat = QStringLiteral("mp4");
    output.VideoCodec = encoder;
    output.VideoPreset.clear();
    output.VideoTag.clear();
    // The encoders' own quality settings suit a web copy better than the preview's rates.
    output.VideoBitrate = -1;
    output.VideoMaxRate = -1;
    output.VideoMinRate = -1;
    output.VideoBufferSize = -1;
    output.AudioCodec = QStringLiteral("aac");
    output.AudioBitrate = -1;
    output.FrameSize = EvenFrameSize(preview.FrameSize);
    output.ExtOptions += QStringLiteral("\nmovflags=+faststart\npix_fmt=yuv420p");
    return output;
}

void BuildWebCopyOptions(const QString& previewFile, const QString& target, TInputOptions& input,
                         TOutputOptions& output, TAVProbe& probe) {
    TVideoOptions options(probe);
    options.FileName = previewFile;
    options.OutFileName = target;
    options.OverwriteOutFile = true;
    options.OutPutFormat = ofFLV;
    options.AudioBitRate = -1;
    options.MapStreams = false;
    TOutputOptions preview;
    options.GetOutputOptions(preview);
    options.GetInputOptions(input);
    output = WebCopyOutput(preview, target);
}
