// Trovecart - decoded video frames as pictures.
#pragma once

#include <QImage>

#include "media/internal/av_resources.h"
#include "media/internal/layer_guard.h"

// Keeps its scaler between frames; one converter per thread.
class TPictureConverter {
public:
    // An RGB32 picture of the frame as it is meant to be seen: a frame with non-square pixels
    // is stretched to its display aspect ratio. A null picture when conversion fails.
    QImage Convert(const AVFrame* frame);

private:
    TSwsPtr scaler_;
};
