// Trovecart - an audio stream's way from its decoder to its encoder.
#include "media/internal/audio_converter.h"

#include <algorithm>

#include "media/internal/av_error.h"
#include "media/media_error.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
#include <libavutil/opt.h>
#include <libavutil/samplefmt.h>
}

namespace {

void Check(int result) {
    if (result < 0)
        throw EMediaError(QStringLiteral("Error while filtering: %1").arg(AvErrorText(result)));
}

// A source without a channel order takes the usual one for its count.
AVChannelLayout InputLayout(const AVCodecContext& decoder) {
    AVChannelLayout layout{};
    if (decoder.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&layout, decoder.ch_layout.nb_channels);
    else
        av_channel_layout_copy(&layout, &decoder.ch_layout);
    return layout;
}

} // namespace

TAudioConverter::TAudioConverter(const AVCodecContext& decoder, AVRational inputTimeBase,
                                 const TAudioConversion& conversion)
    : conversion_(conversion), inputTimeBase_(inputTimeBase), inputFormat_(decoder.sample_fmt),
      inputRate_(decoder.sample_rate), inputChannels_(decoder.ch_layout.nb_channels),
      inputPlanes_(static_cast<size_t>(av_sample_fmt_is_planar(decoder.sample_fmt) ? inputChannels_ : 1)) {
    conversion_.Layout = {};
    av_channel_layout_copy(&conversion_.Layout, &conversion.Layout);
    if (conversion.WindowStart > 0)
        windowStart_ = av_rescale(conversion.WindowStart, inputRate_, AV_TIME_BASE);
    if (conversion.WindowEnd >= 0)
        windowEnd_ = av_rescale(conversion.WindowEnd, inputRate_, AV_TIME_BASE);

    AVChannelLayout inputLayout = InputLayout(decoder);
    SwrContext* resampler = nullptr;
    const int allocated =
        swr_alloc_set_opts2(&resampler, &conversion_.Layout, conversion_.Format, conversion_.SampleRate,
                            &inputLayout, decoder.sample_fmt, inputRate_, 0, nullptr);
    av_channel_layout_uninit(&inputLayout);
    Check(allocated);
    resampler_.reset(resampler);
    if (conversion_.Volume != 1.0) {
        // The volume rides on the channel matrix, computed in floating point and clipped only when
        // the samples are stored; the matrix is not scaled back to keep its sum at one.
        Check(av_opt_set_double(resampler, "rematrix_volume", conversion_.Volume, 0));
        Check(av_opt_set_double(resampler, "rematrix_maxval", std::max(1.0, conversion_.Volume), 0));
        Check(av_opt_set_sample_fmt(resampler, "internal_sample_fmt", AV_SAMPLE_FMT_FLTP, 0));
    }
    Check(swr_init(resampler));
    fifo_.reset(av_audio_fifo_alloc(conversion_.Format, conversion_.Layout.nb_channels,
                                    std::max(conversion_.FrameSize, 1)));
    if (!fifo_)
        throw EMediaError(QStringLiteral("memory allocation error occurred"));
}

TAudioConverter::~TAudioConverter() {
    if (scratch_)
        av_freep(&scratch_[0]);
    av_freep(&scratch_);
    av_channel_layout_uninit(&conversion_.Layout);
}

void TAudioConverter::Push(const AVFrame& frame) {
    // The resampler was set up for the decoder's samples; a stream does not change them midway.
    if (frame.format != inputFormat_ || frame.sample_rate != inputRate_ ||
        frame.ch_layout.nb_channels != inputChannels_)
        Check(AVERROR(EINVAL));
    const int64_t start = frame.pts != AV_NOPTS_VALUE
                              ? av_rescale_q(frame.pts, inputTimeBase_, AVRational{1, inputRate_})
                              : nextInput_;
    nextInput_ = start + frame.nb_samples;
    const int64_t dropped =
        windowStart_ ? std::clamp<int64_t>(*windowStart_ - start, 0, frame.nb_samples) : 0;
    const int64_t end =
        windowEnd_ ? std::clamp<int64_t>(*windowEnd_ - start, 0, frame.nb_samples) : frame.nb_samples;
    if (end <= dropped)
        return;
    if (firstOutput_ == AV_NOPTS_VALUE) {
        const int64_t shift = conversion_.StartAtZero && windowStart_ ? *windowStart_ : 0;
        firstOutput_ = av_rescale(start + dropped - shift, conversion_.SampleRate, inputRate_);
    }
    // The kept part starts `dropped` samples into each plane (or into the one packed plane).
    const int interleaved = av_sample_fmt_is_planar(inputFormat_) ? 1 : inputChannels_;
    const int64_t offset = dropped * av_get_bytes_per_sample(inputFormat_) * interleaved;
    for (size_t plane = 0; plane < inputPlanes_.size(); ++plane)
        inputPlanes_[plane] = frame.extended_data[plane] + offset;
    Convert(inputPlanes_.data(), static_cast<int>(end - dropped));
}

void TAudioConverter::Flush() {
    if (flushed_)
        return;
    flushed_ = true;
    if (firstOutput_ == AV_NOPTS_VALUE)
        return;
    while (Convert(nullptr, 0) > 0) {
    }
}

// A null input drains the resampler, perhaps in more than one call. Returns the samples converted.
int TAudioConverter::Convert(const uint8_t** input, int count) {
    const int room = swr_get_out_samples(resampler_.get(), count);
    Check(room);
    if (room > scratchCapacity_) {
        if (scratch_)
            av_freep(&scratch_[0]);
        av_freep(&scratch_);
        Check(av_samples_alloc_array_and_samples(&scratch_, nullptr, conversion_.Layout.nb_channels, room,
                                                 conversion_.Format, 0));
        scratchCapacity_ = room;
    }
    const int converted = swr_convert(resampler_.get(), scratch_, scratchCapacity_, input, count);
    Check(converted);
    if (converted > 0 &&
        av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(scratch_), converted) < converted)
        throw EMediaError(QStringLiteral("memory allocation error occurred"));
    return converted;
}

bool TAudioConverter::Pull(AVFrame& frame) {
    const int available = av_audio_fifo_size(fifo_.get());
    const int wanted = conversion_.FrameSize > 0 ? conversion_.FrameSize : available;
    if (available == 0 || (available < wanted && !flushed_))
        return false;
    frame.nb_samples = std::min(wanted, available);
    frame.format = conversion_.Format;
    frame.sample_rate = conversion_.SampleRate;
    Check(av_channel_layout_copy(&frame.ch_layout, &conversion_.Layout));
    Check(av_frame_get_buffer(&frame, 0));
    if (av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(frame.extended_data), frame.nb_samples) <
        frame.nb_samples)
        throw EMediaError(QStringLiteral("Error while filtering"));
    frame.pts = firstOutput_ + pulled_;
    pulled_ += frame.nb_samples;
    return true;
}
