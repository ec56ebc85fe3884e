// Trovecart - the conversion that turns a clip of a source into a product's web preview.
#pragma once

#include <cstdint>

#include <QString>

#include "media/engine_options.h"

class TAVProbe;

enum class TMediaKind { Video, Audio };

// The extensions of video sources, each as "*.EXT;", in the form of a file filter's patterns.
extern const QString kVideoPatterns;
// Video when the upper-case extension with its dot occurs in kVideoPatterns; anything else,
// a name without extension too, is audio.
TMediaKind MediaKindOfFile(const QString& fileName);

// A clip of a source in microseconds from its start; usable only when start lies before end.
struct TClip {
    int64_t Start = 0;
    int64_t End = 0;
    bool IsValid() const { return Start < End; }
};
// The text that refuses a clip that is not valid.
extern const QString kClipOrderMessage;

// The engine's option sets for an FLV (video) or MP3 (audio) preview of the clip, written to
// `target` (whose extension the format decides). The output set's FileName is the file the
// engine will write: without `overwrite`, an existing file keeps its name and the new one is
// numbered. Raises EMediaError when the source cannot be opened. With a `probe` (the converter's),
// the source stays open there, so that queuing the conversion does not open it again.
void BuildPreviewOptions(const QString& source, TMediaKind kind, const TClip& clip, const QString& target,
                         TInputOptions& input, TOutputOptions& output, bool overwrite = false,
                         TAVProbe* probe = nullptr);
