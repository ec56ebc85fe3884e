// Trovecart - opening a media file for reading.
#include "media/internal/media_input.h"

#include <cerrno>

#include "common/file_utils.h"
#include "media/av_libraries.h"

namespace {

// Tells an unknown format apart from a damaged header, which libavformat reports alike.
bool FormatIsKnown(const std::string& path) {
    AVIOContext* io = nullptr;
    if (avio_open(&io, path.c_str(), AVIO_FLAG_READ) < 0)
        return true; // the real open reports the I/O failure
    const AVInputFormat* format = nullptr;
    const int result = av_probe_input_buffer2(io, &format, path.c_str(), nullptr, 0, 0);
    avio_closep(&io);
    return result != AVERROR_INVALIDDATA;
}

} // namespace

bool EnsureLibraries(QString& message) {
    return LibrariesLoaded() || LoadLibraries(DefaultLibrariesFolder(), message);
}

QString OpenErrorMessage(const QString& fileName, int errorCode) {
    switch (errorCode) {
    case AVERROR(ENOENT):
        return QStringLiteral("%1: no such file or directory").arg(fileName);
    case AVERROR(EIO):
    case AVERROR_EOF:
        return QStringLiteral("%1: I/O error occurred\r\nUsually that means that input file is truncated "
                              "and/or corrupted.")
            .arg(fileName);
    case AVERROR_DEMUXER_NOT_FOUND:
        return QStringLiteral("%1: Unknown format").arg(fileName);
    case AVERROR_INVALIDDATA:
        return QStringLiteral("%1: Error while parsing header").arg(fileName);
    case AVERROR(ENOMEM):
        return QStringLiteral("%1: memory allocation error occurred").arg(fileName);
    default:
        return QStringLiteral("%1: Error while opening file").arg(fileName);
    }
}

QString OpenFailureMessage(const QString& fileName, int errorCode) {
    if (errorCode == AVERROR_INVALIDDATA && !FormatIsKnown(LocalPath(fileName)))
        errorCode = AVERROR_DEMUXER_NOT_FOUND;
    return OpenErrorMessage(fileName, errorCode);
}

QString NoCodecParametersMessage(const QString& fileName) {
    return QStringLiteral("%1: could not find codec parameters").arg(fileName);
}

TInputFormatPtr OpenMediaInput(const QString& fileName, const QString& forcedFormat, QString& message) {
    if (!EnsureLibraries(message))
        return nullptr;
    const std::string path = LocalPath(fileName);
    const AVInputFormat* format = nullptr;
    if (!forcedFormat.isEmpty()) {
        format = av_find_input_format(forcedFormat.toUtf8().constData());
        if (!format) {
            message = OpenErrorMessage(fileName, AVERROR_DEMUXER_NOT_FOUND);
            return nullptr;
        }
    }
    AVFormatContext* raw = nullptr;
    int result = avformat_open_input(&raw, path.c_str(), format, nullptr);
    if (result < 0) {
        message = format ? OpenErrorMessage(fileName, result) : OpenFailureMessage(fileName, result);
        return nullptr;
    }
    TInputFormatPtr context(raw);
    if (avformat_find_stream_info(context.get(), nullptr) < 0) {
        message = NoCodecParametersMessage(fileName);
        return nullptr;
    }
    return context;
}
