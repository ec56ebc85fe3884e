// Trovecart - one output file of a conversion.
#include "media/internal/output_writer.h"

#include <filesystem>

#include <QFile>

#include "common/file_utils.h"
#include "media/internal/av_error.h"
#include "media/media_error.h"

TOutputWriter::TOutputWriter(TOutputPlan plan) : plan_(std::move(plan)) {}
TOutputWriter::~TOutputWriter() {
    if (!temporaryName_.isEmpty())
        QFile::remove(temporaryName_);
}

// A forced name wins; then the key's name ("flv", "ipod"); then the key or the file name as an
// extension (".mkv", ".wmv", "_rv10.rm").
const AVOutputFormat* TOutputWriter::ChooseContainer() const {
    if (!plan_.Container.isEmpty()) {
        const AVOutputFormat* format =
            av_guess_format(plan_.Container.toUtf8().constData(), nullptr, nullptr);
        if (!format)
            throw EMediaError(QStringLiteral("Requested output format '%1' is not a suitable output format")
                                  .arg(plan_.Container));
        return format;
    }
    const QString key = plan_.Key.startsWith(QLatin1Char('.')) ? plan_.Key.mid(1) : plan_.Key;
    const AVOutputFormat* format = nullptr;
    if (!key.isEmpty()) {
        format = av_guess_format(key.toUtf8().constData(), nullptr, nullptr);
        if (!format)
            format = av_guess_format(nullptr, (QStringLiteral("x.") + key).toUtf8().constData(), nullptr);
    }
    if (!format)
        format = av_guess_format(nullptr, plan_.FileName.toUtf8().constData(), nullptr);
    if (!format)
        throw EMediaError(
            QStringLiteral("Unable to find a suitable output format for '%1'").arg(plan_.FileName));
    return format;
}

void TOutputWriter::Open(const AVFormatContext& input,
                         const std::function<const AVCodecContext*(int)>& decoderOf, int64_t inputStart) {
    const AVOutputFormat* format = ChooseContainer();
    AVFormatContext* raw = nullptr;
    if (!(format->flags & AVFMT_NOFILE))
        temporaryName_ = TemporaryNameBeside(plan_.FileName);
    const std::string path = LocalPath(temporaryName_.isEmpty() ? plan_.FileName : temporaryName_);
    if (avformat_alloc_output_context2(&raw, format, nullptr, path.c_str()) < 0)
        throw EMediaError(QStringLiteral("memory allocation error occurred"));
    context_.reset(raw);

    TStreamTarget target;
    target.Output = context_.get();
    target.WindowStart = inputStart + plan_.WindowStart;
    target.WindowEnd = plan_.WindowEnd >= 0 ? inputStart + plan_.WindowEnd : -1;
    target.CopyTimestamp = plan_.CopyTimestamp;
    if (plan_.Video.Source >= 0 && format->video_codec != AV_CODEC_ID_NONE) {
        target.InputStream = input.streams[plan_.Video.Source];
        target.Decoder = decoderOf(plan_.Video.Source);
        video_ = std::make_unique<TStreamEncoder>();
        video_->OpenVideo(plan_.Video, target);
    }
    if (plan_.Audio.Source >= 0 && format->audio_codec != AV_CODEC_ID_NONE) {
        target.InputStream = input.streams[plan_.Audio.Source];
        target.Decoder = decoderOf(plan_.Audio.Source);
        audio_ = std::make_unique<TStreamEncoder>();
        audio_->OpenAudio(plan_.Audio, target);
    }
    if (!video_ && !audio_)
        throw EMediaError(QStringLiteral("Output file #0 does not contain any stream"));

    for (const auto& [name, value] : plan_.Metadata)
        av_dict_set(&context_->metadata, name.toUtf8().constData(), value.toUtf8().constData(), 0);
    if (plan_.PacketSize > 0)
        context_->packet_size = static_cast<unsigned>(plan_.PacketSize);
    AVDictionary* options = nullptr;
    if (plan_.MuxRate > 0)
        av_dict_set_int(&options, "muxrate", plan_.MuxRate, 0);
    if (plan_.MuxPreload >= 0)
        av_dict_set_int(&options, "preload", static_cast<int64_t>(plan_.MuxPreload * 1e6), 0);
    for (const auto& [name, value] : plan_.MuxerOptions)
        av_dict_set(&options, name.toUtf8().constData(), value.toUtf8().constData(), 0);

    if (!(format->flags & AVFMT_NOFILE)) {
        const int opened = avio_open(&context_->pb, path.c_str(), AVIO_FLAG_WRITE);
        if (opened < 0) {
            av_dict_free(&options);
            throw EMediaError(QStringLiteral("%1: %2").arg(plan_.FileName, AvErrorText(opened)));
        }
    }
    const int written = avformat_write_header(context_.get(), &options);
    av_dict_free(&options);
    if (written < 0)
        throw EMediaError(
            QStringLiteral("Could not write header for output file %1 (incorrect codec parameters ?): %2")
                .arg(plan_.FileName, AvErrorText(written)));
}

bool TOutputWriter::Wants(int streamIndex) const {
    return (video_ && plan_.Video.Source == streamIndex && !video_->Done()) ||
           (audio_ && plan_.Audio.Source == streamIndex && !audio_->Done());
}

bool TOutputWriter::Done() const {
    return (!video_ || video_->Done()) && (!audio_ || audio_->Done());
}

void TOutputWriter::Send(int streamIndex, AVFrame* frame) {
    if (video_ && plan_.Video.Source == streamIndex)
        video_->Send(frame);
    if (audio_ && plan_.Audio.Source == streamIndex)
        audio_->Send(frame);
}

void TOutputWriter::Finish() {
    if (finished_)
        return;
    finished_ = true;
    if (video_)
        video_->Finish();
    if (audio_)
        audio_->Finish();
    const int result = av_write_trailer(context_.get());
    if (result < 0)
        throw EMediaError(
            QStringLiteral("Error writing trailer of %1: %2").arg(plan_.FileName, AvErrorText(result)));
    if (context_->pb && avio_closep(&context_->pb) < 0)
        throw EMediaError(QStringLiteral("Error closing file %1").arg(plan_.FileName));
}

bool TOutputWriter::WroteAnything() const {
    return (video_ && video_->WrotePackets()) || (audio_ && audio_->WrotePackets());
}

void TOutputWriter::Commit() {
    if (temporaryName_.isEmpty())
        return;
    std::error_code error;
    std::filesystem::rename(LocalPath(temporaryName_), LocalPath(plan_.FileName), error);
    if (error)
        throw EMediaError(QStringLiteral("%1: %2").arg(plan_.FileName, SystemMessage(error)));
    temporaryName_.clear();
}

int64_t TOutputWriter::OutputTime() const {
    int64_t time = 0;
    if (video_)
        time = std::max(time, video_->OutputTime());
    if (audio_)
        time = std::max(time, audio_->OutputTime());
    return time;
}

QStringList TOutputWriter::Substitutions() const {
    QStringList result;
    for (const TStreamEncoder* encoder : {video_.get(), audio_.get()}) {
        if (encoder && !encoder->Substitution().isEmpty())
            result << encoder->Substitution();
    }
    return result;
}
