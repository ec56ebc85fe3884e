// Trovecart - stands for code outside the media layer that reaches for an FFmpeg-typed header.
// Compiling it must stop at the layer guard.
#include "media/internal/av_resources.h"
