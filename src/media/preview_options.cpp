// Trovecart - web preview conversions.
#include "media/preview_options.h"

#include <QFileInfo>

#include "media/video_options.h"

const QString kVideoPatterns = QStringLiteral(
    "*.AVI;*.AVM;*.ASF;*.WMV;*.AVS;*.FLV;*.MKV;*.MOV;*.3GP;*.MP4;*.MPG;*.MPEG;*.DAT;*.OGM;*.VOB;*.RM;*.RMVB;"
    "*.TS;*.TP;*.IFO;*.NSV;");

const QString kClipOrderMessage = QStringLiteral("End time must be grater then start time.");

TMediaKind MediaKindOfFile(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.isEmpty())
        return TMediaKind::Audio;
    // With the ';' that ends every pattern, so that ".TS" is not found inside ".TSV".
    const QString pattern = QLatin1Char('.') + suffix.toUpper() + QLatin1Char(';');
    return kVideoPatterns.contains(pattern) ? TMediaKind::Video : TMediaKind::Audio;
}

void BuildPreviewOptions(const QString& source, TMediaKind kind, const TClip& clip, const QString& target,
                         TInputOptions& input, TOutputOptions& output, bool overwrite, TAVProbe* probe) {
    TAVProbe ownProbe;
    TVideoOptions options(probe ? *probe : ownProbe);
    options.FileName = source;
    options.OutFileName = target;
    options.OverwriteOutFile = overwrite;
    options.OutPutFormat = kind == TMediaKind::Video ? ofFLV : ofMP3;
    options.AudioBitRate = -1;
    options.MapStreams = false;
    options.StartTime = clip.Start;
    options.VideoLength = clip.End - clip.Start;
    options.CutClip = true;
    options.GetOutputOptions(output);
    options.GetInputOptions(input);
}
