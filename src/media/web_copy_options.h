// Trovecart - the MP4 that browsers play in place of a video preview.
#pragma once

#include <QString>

#include "media/engine_options.h"
#include "media/preview_options.h"

// The H.264 encoder this FFmpeg offers, or an empty text when it has none. Stand-ins such as
// MPEG-4 part 2 do not count: browsers do not play them.
QString WebVideoEncoder();

// The web copy's output set: the clip, picture size and frame rate of the preview's set, as
// H.264 video and AAC sound in an MP4 whose index comes first, so that a browser starts playing
// while it loads. Raises EMediaError when there is no H.264 encoder.
TOutputOptions WebCopyOutput(const TOutputOptions& preview, const QString& target);

// The option sets that make the web copy `target` of a finished preview file; the preview stays
// open in `probe` (the converter's), to be converted without opening it again. Raises
// EMediaError when the preview cannot be opened or there is no H.264 encoder.
void BuildWebCopyOptions(const QString& previewFile, const QString& target, TInputOptions& input,
                         TOutputOptions& output, TAVProbe& probe);
