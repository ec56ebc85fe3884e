// Trovecart - the demux and decode loop of one conversion task.
#include "media/internal/transcode_task.h"

#include <chrono>
#include <map>
#include <memory>
#include <vector>

#include "media/extra_options.h"
#include "media/internal/av_error.h"
#include "media/internal/av_resources.h"
#include "media/internal/media_input.h"
#include "media/internal/output_writer.h"
#include "media/media_error.h"
#include "media/output_plan.h"

TSourceFacts ReadSourceFacts(const AVFormatContext& context, const TInputOptions& input) {
    TSourceFacts facts;
    facts.FileName = input.FileName;
    facts.StartTime = context.start_time != AV_NOPTS_VALUE ? context.start_time : 0;
    facts.Duration = context.duration != AV_NOPTS_VALUE ? context.duration : -1;
    facts.InputStartOffset = input.StartOffset;
    CheckInputOptions(input, facts.VideoOff, facts.AudioOff);
    for (unsigned i = 0; i < context.nb_streams; ++i) {
        const AVStream& stream = *context.streams[i];
        const AVCodecParameters& parameters = *stream.codecpar;
        TSourceStream source;
        if (parameters.codec_type == AVMEDIA_TYPE_VIDEO &&
            !(stream.disposition & AV_DISPOSITION_ATTACHED_PIC))
            source.Kind = 'v';
        else if (parameters.codec_type == AVMEDIA_TYPE_AUDIO)
            source.Kind = 'a';
        source.Width = parameters.width;
        source.Height = parameters.height;
        source.FrameRateNum = stream.avg_frame_rate.num;
        source.FrameRateDen = stream.avg_frame_rate.den;
        source.Channels = parameters.ch_layout.nb_channels;
        facts.Streams.append(source);
    }
    return facts;
}

namespace {

TCodecContextPtr OpenDecoder(const AVStream& stream) {
    const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
    if (!codec)
        throw EMediaError(QStringLiteral("Unsupported codec (id=%1) for input stream #0.%2")
                              .arg(static_cast<int>(stream.codecpar->codec_id))
                              .arg(stream.index));
    TCodecContextPtr decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), stream.codecpar) < 0)
        throw EMediaError(QStringLiteral("memory allocation error occurred"));
    decoder->pkt_timebase = stream.time_base;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "threads", "auto", 0);
    const int opened = avcodec_open2(decoder.get(), codec, &options);
    av_dict_free(&options);
    if (opened < 0)
        throw EMediaError(QStringLiteral("Error while opening codec for input stream #0.%1: %2")
                              .arg(stream.index)
                              .arg(AvErrorText(opened)));
    return decoder;
}

class TTaskRunner {
public:
    TTaskRunner(std::shared_ptr<AVFormatContext> source, const TInputOptions& input,
                const QList<TOutputOptions>& outputs)
        : context_(std::move(source)) {
        QString message;
        if (!context_)
            context_ = OpenMediaInput(input.FileName, input.FileFormat, message);
        if (!context_)
            throw EMediaError(message);
        const TSourceFacts facts = ReadSourceFacts(*context_, input);
        duration_ = facts.Duration;
        inputStart_ = facts.StartTime;
        for (const TOutputOptions& output : outputs)
            writers_.push_back(std::make_unique<TOutputWriter>(PlanOutput(output, facts)));
        for (const auto& writer : writers_) {
            for (const int source : {writer->Plan().Video.Source, writer->Plan().Audio.Source}) {
                if (source >= 0 && !decoders_.count(source))
                    decoders_[source] = OpenDecoder(*context_->streams[source]);
            }
        }
        for (const auto& writer : writers_)
            writer->Open(
                *context_, [this](int index) { return decoders_.at(index).get(); }, inputStart_);
        // The demuxer then skips the packets of streams no output uses instead of reading them
        // (the video of a clip turned into an MP3).
        for (unsigned i = 0; i < context_->nb_streams; ++i) {
            if (!Wanted(static_cast<int>(i)))
                context_->streams[i]->discard = AVDISCARD_ALL;
        }
        Seek(input);
    }

    TTaskResult Run(const std::atomic<bool>& stop, int intervalMs, const TTaskProgress& progress) {
        const auto interval = std::chrono::milliseconds(intervalMs);
        auto lastReport = std::chrono::steady_clock::now();
        int64_t lastTime = -1;
        const int64_t total = writers_.front()->Plan().ExpectedDuration(duration_);
        TPacketPtr packet = MakePacket();
        bool stopped = false;
        while (!AllDone()) {
            if (stop.load()) {
                stopped = true;
                break;
            }
            const int result = av_read_frame(context_.get(), packet.get());
            if (result == AVERROR_EOF)
                break;
            if (result < 0)
                throw EMediaError(QStringLiteral("%1: %2").arg(context_->url, AvErrorText(result)));
            const int index = packet->stream_index;
            if (Wanted(index))
                Decode(index, packet.get());
            av_packet_unref(packet.get());
            const auto now = std::chrono::steady_clock::now();
            if (progress && now - lastReport >= interval) {
                lastReport = now;
                const int64_t reached = writers_.front()->OutputTime();
                if (reached != lastTime) {
                    lastTime = reached;
                    progress(reached, total);
                }
            }
        }
        // A stopped run keeps no part of a file, so nothing is flushed: a deep encoder queue
        // (H.264 looks ahead dozens of frames) would hold the stop up for seconds.
        if (stopped)
            return TTaskResult::trStopped;
        for (auto& [index, decoder] : decoders_) {
            if (Wanted(index))
                Decode(index, nullptr);
        }
        for (const auto& writer : writers_)
            writer->Finish();
        // A finished run must have converted something.
        for (const auto& writer : writers_) {
            if (!writer->WroteAnything())
                throw EMediaError(QStringLiteral("%1: nothing to convert").arg(writer->Plan().FileName));
        }
        for (const auto& writer : writers_)
            writer->Commit();
        // The last frame starts before the end of the clip; a finished task has written it all.
        if (progress)
            progress(std::max(total, writers_.front()->OutputTime()), total);
        return TTaskResult::trFinished;
    }

    QStringList Substitutions() const {
        QStringList result;
        for (const auto& writer : writers_)
            result << writer->Substitutions();
        return result;
    }

private:
    // Seeks to the earliest output window (or the input's own offset) so that the clip is not
    // decoded from the start; frames before the window are trimmed by the outputs.
    void Seek(const TInputOptions& input) {
        int64_t start = input.StartOffset != kNoTime ? input.StartOffset : INT64_MAX;
        for (const auto& writer : writers_)
            start = std::min(start, writer->Plan().WindowStart);
        if (start <= 0 || start == INT64_MAX)
            return;
        const int64_t target = inputStart_ + start;
        avformat_seek_file(context_.get(), -1, INT64_MIN, target, target, 0);
    }

    bool Wanted(int index) const {
        for (const auto& writer : writers_) {
            if (writer->Wants(index))
                return true;
        }
        return false;
    }

    bool AllDone() const {
        for (const auto& writer : writers_) {
            if (!writer->Done())
                return false;
        }
        return true;
    }

    void Decode(int index, AVPacket* packet) {
        AVCodecContext* decoder = decoders_.at(index).get();
        const int sent = avcodec_send_packet(decoder, packet);
        // A damaged packet is skipped, as players do; the rest of the file still converts.
        if (sent < 0 && sent != AVERROR_INVALIDDATA && sent != AVERROR_EOF)
            throw EMediaError(
                QStringLiteral("Error while decoding stream #0.%1: %2").arg(index).arg(AvErrorText(sent)));
        for (;;) {
            const int result = avcodec_receive_frame(decoder, frame_.get());
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
                break;
            if (result == AVERROR_INVALIDDATA)
                continue;
            if (result < 0)
                throw EMediaError(QStringLiteral("Error while decoding stream #0.%1: %2")
                                      .arg(index)
                                      .arg(AvErrorText(result)));
            frame_->pts = frame_->best_effort_timestamp;
            for (const auto& writer : writers_)
                writer->Send(index, frame_.get());
            av_frame_unref(frame_.get());
        }
        if (!packet) {
            for (const auto& writer : writers_) {
                if (writer->Wants(index))
                    writer->Send(index, nullptr);
            }
        }
    }

    std::shared_ptr<AVFormatContext> context_;
    std::map<int, TCodecContextPtr> decoders_;
    std::vector<std::unique_ptr<TOutputWriter>> writers_;
    TFramePtr frame_ = MakeFrame();
    int64_t duration_ = -1;
    int64_t inputStart_ = 0;
};

} // namespace

void CheckInputOptions(const TInputOptions& input, bool& videoOff, bool& audioOff) {
    for (const TExtraOption& option : ParseExtraOptions(input.ExtOptions)) {
        if (option.Name == QLatin1String("vn"))
            videoOff = option.Value != QLatin1String("0");
        else if (option.Name == QLatin1String("an"))
            audioOff = option.Value != QLatin1String("0");
        else
            throw EMediaError(QStringLiteral("Unrecognized option '%1'.").arg(option.Name));
    }
}

TTaskResult RunTranscodeTask(std::shared_ptr<AVFormatContext> source, const TInputOptions& input,
                             const QList<TOutputOptions>& outputs, const std::atomic<bool>& stop,
                             int progressIntervalMs, const TTaskProgress& progress,
                             QStringList* substitutions) {
    if (outputs.isEmpty())
        throw EMediaError(QStringLiteral("At least one output file must be specified"));
    TTaskRunner runner(std::move(source), input, outputs);
    if (substitutions)
        *substitutions = runner.Substitutions();
    return runner.Run(stop, progressIntervalMs, progress);
}
