// Trovecart - owning handles for FFmpeg objects (inside the media layer only).
#pragma once

#include <memory>

#include "media/internal/layer_guard.h"

extern "C" {
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>

#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
}

struct TInputFormatCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
// An output context owns its I/O context when one was opened.
struct TOutputFormatCloser {
    void operator()(AVFormatContext* context) const {
        if (context && context->oformat && !(context->oformat->flags & AVFMT_NOFILE) && context->pb)
            avio_closep(&context->pb);
        avformat_free_context(context);
    }
};
struct TCodecContextFreer {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct TFrameFreer {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct TPacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct TFilterGraphFreer {
    void operator()(AVFilterGraph* graph) const { avfilter_graph_free(&graph); }
};
struct TSwsFreer {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};
struct TSwrFreer {
    void operator()(SwrContext* context) const { swr_free(&context); }
};

using TInputFormatPtr = std::unique_ptr<AVFormatContext, TInputFormatCloser>;
using TOutputFormatPtr = std::unique_ptr<AVFormatContext, TOutputFormatCloser>;
using TCodecContextPtr = std::unique_ptr<AVCodecContext, TCodecContextFreer>;
using TFramePtr = std::unique_ptr<AVFrame, TFrameFreer>;
using TPacketPtr = std::unique_ptr<AVPacket, TPacketFreer>;
using TFilterGraphPtr = std::unique_ptr<AVFilterGraph, TFilterGraphFreer>;
using TSwsPtr = std::unique_ptr<SwsContext, TSwsFreer>;
using TSwrPtr = std::unique_ptr<SwrContext, TSwrFreer>;

inline TFramePtr MakeFrame() {
    return TFramePtr(av_frame_alloc());
}
inline TPacketPtr MakePacket() {
    return TPacketPtr(av_packet_alloc());
}
