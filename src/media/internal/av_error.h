// Trovecart - FFmpeg error codes as text (inside the media layer only).
#pragma once

#include <QString>

#include "media/internal/layer_guard.h"

extern "C" {
#include <libavutil/error.h>
}

inline QString AvErrorText(int code) {
    char buffer[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, buffer, sizeof buffer);
    return QString::fromUtf8(buffer);
}
