// Trovecart - the commands that use the media engine, built as a module of their own.
#pragma once

#include "cli/cli_module.h"
#include "shop/web_copies.h"

// probe, convert, snapshot and import-media.
inline constexpr TCliModule kMediaModule{"trovecart-cli-media", "media", "TrovecartMediaCommands"};
inline constexpr TCliTitle kProbeTitle{"probe",
                                       "Print what the media engine reads from a media file, as JSON."};
inline constexpr TCliTitle kConvertTitle{
    "convert", "Convert a clip into the web preview of a product: FLV for video, MP3 for audio."};
inline constexpr TCliTitle kSnapshotTitle{"snapshot", "Save the picture of a video at a moment as PNG."};
inline constexpr TCliTitle kImportMediaTitle{
    "import-media", "Give a music or video product of a project its preview clip, thumbnail and duration."};

// The module's second entry point.
inline constexpr char kWebCopyEntry[] = "TrovecartMakeWebCopies";
// Makes the web copies of the preview files; false with the failure's text in `failure`. Errors
// are handed back as text, not raised, across the module's edge.
using TWebCopyEntry = bool (*)(const QStringList& previewFiles, TCliInterruptSetter setInterrupt,
                               QString& failure);

// The web copy maker of site preparation, which loads the module only when a copy is missing.
// Raises EAppError.
TWebCopyMaker CliWebCopyMaker(TCliInterruptSetter setInterrupt);
