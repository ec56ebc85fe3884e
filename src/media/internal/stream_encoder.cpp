// Trovecart - one output stream: decode side frames in, encoded packets out to the muxer.
#include "media/internal/stream_encoder.h"

#include <QStringList>

#include "media/encoder_choice.h"
#include "media/internal/av_error.h"
#include "media/internal/filter_library.h"
#include "media/media_error.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

namespace {

constexpr AVRational kMicroseconds{1, 1000000};

void Check(int result, const QString& what) {
    if (result < 0)
        throw EMediaError(QStringLiteral("%1: %2").arg(what, AvErrorText(result)));
}

QString Seconds(int64_t microseconds) {
    return QString::number(static_cast<double>(microseconds) / 1e6, 'f', 6);
}

QString Rational(AVRational value) {
    return QStringLiteral("%1/%2").arg(value.num).arg(value.den);
}

// trim to the window, then the clock moved so that the output starts at 0.
QStringList WindowFilters(const TStreamTarget& target) {
    QStringList filters;
    QStringList bounds;
    if (target.WindowStart > 0)
        bounds << QStringLiteral("start=") + Seconds(target.WindowStart);
    if (target.WindowEnd >= 0)
        bounds << QStringLiteral("end=") + Seconds(target.WindowEnd);
    if (!bounds.isEmpty())
        filters << QStringLiteral("trim=") + bounds.join(QLatin1Char(':'));
    if (!target.CopyTimestamp && target.WindowStart != 0)
        filters << QStringLiteral("setpts=PTS-") + Seconds(target.WindowStart) + QStringLiteral("/TB");
    return filters;
}

const AVCodec* ChooseEncoder(const QString& name, AVCodecID containerDefault, QString& substitution) {
    if (name.isEmpty()) {
        const AVCodec* codec = avcodec_find_encoder(containerDefault);
        if (!codec)
            throw EMediaError(
                QStringLiteral("No encoder for %1.").arg(QLatin1String(avcodec_get_name(containerDefault))));
        return codec;
    }
    const TEncoderChoice choice = FindEncoder(name);
    if (!choice.Codec)
        throw EMediaError(QStringLiteral("Unknown encoder '%1'").arg(name));
    if (choice.Substituted())
        substitution = QStringLiteral("%1 -> %2").arg(choice.Requested, choice.Used);
    return choice.Codec;
}

AVRational SourceFrameRate(const AVStream& stream) {
    if (stream.avg_frame_rate.num > 0 && stream.avg_frame_rate.den > 0)
        return stream.avg_frame_rate;
    if (stream.r_frame_rate.num > 0 && stream.r_frame_rate.den > 0)
        return stream.r_frame_rate;
    return {25, 1};
}

AVPixelFormat ChoosePixelFormat(const AVCodec& codec, AVPixelFormat source) {
    if (!codec.pix_fmts)
        return source;
    for (const AVPixelFormat* format = codec.pix_fmts; *format != AV_PIX_FMT_NONE; ++format) {
        if (*format == source)
            return source;
    }
    return avcodec_find_best_pix_fmt_of_list(codec.pix_fmts, source, 0, nullptr);
}

AVSampleFormat ChooseSampleFormat(const AVCodec& codec, AVSampleFormat source) {
    if (!codec.sample_fmts)
        return source;
    for (const AVSampleFormat* format = codec.sample_fmts; *format != AV_SAMPLE_FMT_NONE; ++format) {
        if (*format == source)
            return source;
    }
    return codec.sample_fmts[0];
}

int ChooseSampleRate(const AVCodec& codec, int wanted) {
    if (!codec.supported_samplerates)
        return wanted;
    int best = codec.supported_samplerates[0];
    for (const int* rate = codec.supported_samplerates; *rate; ++rate) {
        if (std::abs(*rate - wanted) < std::abs(best - wanted))
            best = *rate;
    }
    return best;
}

// The encoder's layout with the wanted count, else its largest one below it, else its first.
void ChooseLayout(const AVCodec& codec, int channels, AVChannelLayout& layout) {
    av_channel_layout_default(&layout, channels);
    if (!codec.ch_layouts)
        return;
    const AVChannelLayout* best = nullptr;
    for (const AVChannelLayout* candidate = codec.ch_layouts; candidate->nb_channels; ++candidate) {
        if (candidate->nb_channels == channels) {
            best = candidate;
            break;
        }
        if (candidate->nb_channels < channels && (!best || candidate->nb_channels > best->nb_channels))
            best = candidate;
    }
    av_channel_layout_uninit(&layout);
    av_channel_layout_copy(&layout, best ? best : &codec.ch_layouts[0]);
}

} // namespace

void TStreamEncoder::BuildGraph(const QString& description, const QString& sourceArgs) {
    EnsureFilterLibrary();
    graph_.reset(avfilter_graph_alloc());
    if (!graph_)
        throw EMediaError(QStringLiteral("memory allocation error occurred"));
    graph_->nb_threads = 1;
    const AVFilter* source = avfilter_get_by_name("buffer");
    const AVFilter* sink = avfilter_get_by_name("buffersink");
    Check(avfilter_graph_create_filter(&source_, source, "in", sourceArgs.toUtf8().constData(), nullptr,
                                       graph_.get()),
          QStringLiteral("Cannot create the filter source"));
    Check(avfilter_graph_create_filter(&sink_, sink, "out", nullptr, nullptr, graph_.get()),
          QStringLiteral("Cannot create the filter sink"));

    AVFilterInOut* outputs = avfilter_inout_alloc();
    AVFilterInOut* inputs = avfilter_inout_alloc();
    outputs->name = av_strdup("in");
    outputs->filter_ctx = source_;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = sink_;
    const int parsed =
        avfilter_graph_parse_ptr(graph_.get(), description.toUtf8().constData(), &inputs, &outputs, nullptr);
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    Check(parsed, QStringLiteral("Error in the filters '%1'").arg(description));
    Check(avfilter_graph_config(graph_.get(), nullptr),
          QStringLiteral("Error in the filters '%1'").arg(description));
}

void TStreamEncoder::OpenVideo(const TVideoPlan& plan, const TStreamTarget& target) {
    target_ = target;
    const AVStream& input = *target.InputStream;
    const AVCodecContext& decoder = *target.Decoder;
    const AVOutputFormat& container = *target.Output->oformat;
    const AVCodec* codec = ChooseEncoder(plan.Encoder, container.video_codec, substitution_);

    AVRational rate =
        plan.FrameRateNum > 0 ? AVRational{plan.FrameRateNum, plan.FrameRateDen} : SourceFrameRate(input);
    bool constantRate = plan.FrameRateNum > 0 ||
                        (!(container.flags & AVFMT_VARIABLE_FPS) && strcmp(container.name, "avi") != 0);
    if (codec->supported_framerates) {
        rate = codec->supported_framerates[av_find_nearest_q_idx(rate, codec->supported_framerates)];
        constantRate = true;
    }
    // An asked-for format the encoder cannot take gives way to its nearest.
    const AVPixelFormat pixelFormat = ChoosePixelFormat(
        *codec,
        plan.PixelFormat.isEmpty() ? decoder.pix_fmt : av_get_pix_fmt(plan.PixelFormat.toUtf8().constData()));

    QStringList head = WindowFilters(target);
    QStringList tail = plan.Chain;
    if (constantRate)
        tail << QStringLiteral("fps=") + Rational(rate);
    tail << QStringLiteral("format=pix_fmts=") + QLatin1String(av_get_pix_fmt_name(pixelFormat));
    QString description = QStringLiteral("[in]%1[h0]")
                              .arg(head.isEmpty() ? QStringLiteral("null") : head.join(QLatin1Char(',')));
    for (int i = 0; i < plan.Hooks.size(); ++i) {
        QString hook = plan.Hooks.at(i);
        hook.replace(QStringLiteral("{in}"), QStringLiteral("[h%1]").arg(i))
            .replace(QStringLiteral("{out}"), QStringLiteral("[h%1]").arg(i + 1))
            .replace(QStringLiteral("{id}"), QString::number(i));
        description += QLatin1Char(';') + hook;
    }
    description += QStringLiteral(";[h%1]%2[out]").arg(plan.Hooks.size()).arg(tail.join(QLatin1Char(',')));

    const AVRational aspect =
        decoder.sample_aspect_ratio.num > 0 ? decoder.sample_aspect_ratio : AVRational{1, 1};
    const QString sourceArgs = QStringLiteral("video_size=%1x%2:pix_fmt=%3:time_base=%4:pixel_aspect=%5")
                                   .arg(decoder.width)
                                   .arg(decoder.height)
                                   .arg(static_cast<int>(decoder.pix_fmt))
                                   .arg(Rational(input.time_base), Rational(aspect));
    BuildGraph(description, sourceArgs);

    encoder_.reset(avcodec_alloc_context3(codec));
    AVCodecContext& encoder = *encoder_;
    encoder.width = av_buffersink_get_w(sink_);
    encoder.height = av_buffersink_get_h(sink_);
    encoder.sample_aspect_ratio = av_buffersink_get_sample_aspect_ratio(sink_);
    encoder.pix_fmt = static_cast<AVPixelFormat>(av_buffersink_get_format(sink_));
    encoder.framerate = rate;
    encoder.time_base = av_inv_q(rate);
    if (plan.BitRate > 0)
        encoder.bit_rate = plan.BitRate;
    if (plan.MaxRate > 0)
        encoder.rc_max_rate = plan.MaxRate;
    if (plan.MinRate > 0)
        encoder.rc_min_rate = plan.MinRate;
    if (plan.BufferSize > 0)
        encoder.rc_buffer_size = static_cast<int>(plan.BufferSize);
    if (plan.GopSize > 0)
        encoder.gop_size = plan.GopSize;
    if (plan.Tag.size() == 4) {
        const QByteArray tag = plan.Tag.toLatin1();
        const unsigned code = MKTAG(tag[0], tag[1], tag[2], tag[3]);
        // A container with its own tag table refuses foreign tags; the tag is then left out.
        if (!container.codec_tag || av_codec_get_id(container.codec_tag, code) == codec->id)
            encoder.codec_tag = code;
    }
    AVDictionary* options = nullptr;
    // The old preset files of libx264 are its built-in defaults.
    if (!plan.Preset.isEmpty() && plan.Preset != QLatin1String("libx264-default"))
        av_dict_set(&options, "preset", plan.Preset.toUtf8().constData(), 0);
    OpenEncoder(&options);
    stream_->sample_aspect_ratio = encoder.sample_aspect_ratio;
    stream_->avg_frame_rate = rate;
}

void TStreamEncoder::OpenAudio(const TAudioPlan& plan, const TStreamTarget& target) {
    target_ = target;
    const AVStream& input = *target.InputStream;
    const AVCodecContext& decoder = *target.Decoder;
    const AVCodec* codec = ChooseEncoder(plan.Encoder, target.Output->oformat->audio_codec, substitution_);

    const AVSampleFormat sampleFormat = ChooseSampleFormat(*codec, decoder.sample_fmt);
    const int sampleRate =
        ChooseSampleRate(*codec, plan.SampleRate > 0 ? plan.SampleRate : decoder.sample_rate);
    AVChannelLayout layout{};
    ChooseLayout(*codec, plan.Channels > 0 ? plan.Channels : decoder.ch_layout.nb_channels, layout);

    encoder_.reset(avcodec_alloc_context3(codec));
    AVCodecContext& encoder = *encoder_;
    encoder.sample_fmt = sampleFormat;
    encoder.sample_rate = sampleRate;
    av_channel_layout_copy(&encoder.ch_layout, &layout);
    encoder.time_base = {1, sampleRate};
    if (plan.BitRate > 0)
        encoder.bit_rate = plan.BitRate;
    AVDictionary* options = nullptr;
    OpenEncoder(&options);

    TAudioConversion conversion;
    conversion.Format = sampleFormat;
    conversion.SampleRate = sampleRate;
    conversion.Layout = layout;
    if (plan.Volume >= 0)
        conversion.Volume = plan.Volume / 256.0;
    if (!(codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) && encoder.frame_size > 0)
        conversion.FrameSize = encoder.frame_size;
    conversion.WindowStart = target.WindowStart;
    conversion.WindowEnd = target.WindowEnd;
    conversion.StartAtZero = !target.CopyTimestamp && target.WindowStart != 0;
    audio_ = std::make_unique<TAudioConverter>(decoder, input.time_base, conversion);
    av_channel_layout_uninit(&layout);
}

void TStreamEncoder::OpenEncoder(AVDictionary** options) {
    AVCodecContext& encoder = *encoder_;
    if (target_.Output->oformat->flags & AVFMT_GLOBALHEADER)
        encoder.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    // Experimental native encoders (vorbis) are the only stand-ins for some missing ones.
    encoder.strict_std_compliance = FF_COMPLIANCE_EXPERIMENTAL;
    av_dict_set(options, "threads", "auto", 0);
    const int opened = avcodec_open2(&encoder, encoder.codec, options);
    av_dict_free(options);
    Check(opened,
          QStringLiteral("Error while opening encoder for output stream - maybe incorrect parameters such "
                         "as bit_rate, rate, width or height (%1)")
              .arg(QLatin1String(encoder.codec->name)));
    stream_ = avformat_new_stream(target_.Output, nullptr);
    if (!stream_)
        throw EMediaError(QStringLiteral("memory allocation error occurred"));
    Check(avcodec_parameters_from_context(stream_->codecpar, &encoder),
          QStringLiteral("Cannot copy the codec parameters"));
    stream_->time_base = encoder.time_base;
    const AVRational inputBase = target_.InputStream->time_base;
    endPts_ = target_.WindowEnd >= 0 ? av_rescale_q(target_.WindowEnd, kMicroseconds, inputBase) : INT64_MAX;
    origin_ = target_.CopyTimestamp ? target_.WindowStart : 0;
}

void TStreamEncoder::Send(AVFrame* frame) {
    if (done_)
        return;
    if (!frame || (frame->pts != AV_NOPTS_VALUE && frame->pts >= endPts_)) {
        Finish();
        return;
    }
    if (audio_)
        audio_->Push(*frame);
    else
        Check(av_buffersrc_add_frame_flags(source_, frame, AV_BUFFERSRC_FLAG_KEEP_REF),
              QStringLiteral("Error while filtering"));
    Drain(false);
}

void TStreamEncoder::Finish() {
    if (finished_)
        return;
    finished_ = true;
    done_ = true;
    if (audio_)
        audio_->Flush();
    else if (graph_)
        Check(av_buffersrc_add_frame_flags(source_, nullptr, 0), QStringLiteral("Error while filtering"));
    else
        return;
    Drain(true);
}

void TStreamEncoder::Drain(bool flush) {
    for (;;) {
        const int result = NextFrame(flush);
        if (result == AVERROR(EAGAIN) && !flush)
            return;
        if (result == AVERROR_EOF || result == AVERROR(EAGAIN)) {
            done_ = true;
            finished_ = true;
            Encode(nullptr);
            return;
        }
        Check(result, QStringLiteral("Error while filtering"));
        const AVRational sinkBase = audio_ ? encoder_->time_base : av_buffersink_get_time_base(sink_);
        if (filtered_->pts != AV_NOPTS_VALUE) {
            outputTime_ = av_rescale_q(filtered_->pts, sinkBase, kMicroseconds) - origin_;
            filtered_->pts =
                av_rescale_q_rnd(filtered_->pts, sinkBase, encoder_->time_base,
                                 static_cast<AVRounding>(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
        }
        if (!audio_) {
            filtered_->pict_type = AV_PICTURE_TYPE_NONE;
            // Without a fixed rate, frames that round onto the previous one are dropped.
            if (filtered_->pts != AV_NOPTS_VALUE && filtered_->pts <= lastVideoPts_) {
                av_frame_unref(filtered_.get());
                continue;
            }
            lastVideoPts_ = filtered_->pts;
        }
        Encode(filtered_.get());
        av_frame_unref(filtered_.get());
    }
}

// The next converted frame, as the filter sink gives it: 0, or EAGAIN before and EOF after a flush.
int TStreamEncoder::NextFrame(bool flush) {
    if (!audio_)
        return av_buffersink_get_frame(sink_, filtered_.get());
    if (audio_->Pull(*filtered_))
        return 0;
    return flush ? AVERROR_EOF : AVERROR(EAGAIN);
}

void TStreamEncoder::Encode(AVFrame* frame) {
    Check(avcodec_send_frame(encoder_.get(), frame), QStringLiteral("Error while encoding"));
    for (;;) {
        const int result = avcodec_receive_packet(encoder_.get(), packet_.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return;
        Check(result, QStringLiteral("Error while encoding"));
        av_packet_rescale_ts(packet_.get(), encoder_->time_base, stream_->time_base);
        packet_->stream_index = stream_->index;
        Check(av_interleaved_write_frame(target_.Output, packet_.get()),
              QStringLiteral("Error while writing"));
        wrotePackets_ = true;
    }
}
