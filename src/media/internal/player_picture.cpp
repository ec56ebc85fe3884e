// Trovecart - decoded video frames as pictures.
#include "media/internal/player_picture.h"

#include <cmath>

namespace {

int DisplayWidth(const AVFrame* frame) {
    const AVRational aspect = frame->sample_aspect_ratio;
    if (aspect.num <= 0 || aspect.den <= 0 || aspect.num == aspect.den)
        return frame->width;
    const int width = static_cast<int>(std::lround(frame->width * av_q2d(aspect)));
    return width > 0 ? width : frame->width;
}

} // namespace

QImage TPictureConverter::Convert(const AVFrame* frame) {
    if (!frame || frame->width <= 0 || frame->height <= 0)
        return {};
    const int width = DisplayWidth(frame);
    const int height = frame->height;
    // RGB32 is 0xffRRGGBB per pixel in native byte order, which AV_PIX_FMT_RGB32 names.
    SwsContext* scaler = sws_getCachedContext(scaler_.release(), frame->width, frame->height,
                                              static_cast<AVPixelFormat>(frame->format), width, height,
                                              AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr);
    scaler_.reset(scaler);
    if (!scaler)
        return {};
    QImage picture(width, height, QImage::Format_RGB32);
    if (picture.isNull())
        return {};
    uint8_t* planes[4] = {picture.bits(), nullptr, nullptr, nullptr};
    int strides[4] = {static_cast<int>(picture.bytesPerLine()), 0, 0, 0};
    if (sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides) != height)
        return {};
    return picture;
}
