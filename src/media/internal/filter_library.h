// Trovecart - the FFmpeg filter library, loaded when the first video stream needs a filter graph.
#pragma once

#include "media/internal/layer_guard.h"

// Opens libavfilter unless it is open, and checks that it is the version the program was built
// with; raises EMediaError "LibAVFilter not loaded." when it cannot be used. Call it before any
// avfilter_ or av_buffersink_ function. Thread-safe.
void EnsureFilterLibrary();
