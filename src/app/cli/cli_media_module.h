// Trovecart - the commands that use the media engine, built as a module of their own.
#pragma once

#include <functional>
#include <vector>

#include "cli/cli_command.h"
#include "shop/web_copies.h"

// Loading the media engine's libraries takes longer than most commands take to run, so probe,
// convert, snapshot and import-media live in a module that trovecart-cli loads only when one of them runs.
// Their names and summaries are known without it.
struct TCliTitle {
    const char* Name;
    const char* Summary;
};
inline constexpr TCliTitle kProbeTitle{"probe",
                                       "Print what the media engine reads from a media file, as JSON."};
inline constexpr TCliTitle kConvertTitle{
    "convert", "Convert a clip into the web preview of a product: FLV for video, MP3 for audio."};
inline constexpr TCliTitle kSnapshotTitle{"snapshot", "Save the picture of a video at a moment as PNG."};
inline constexpr TCliTitle kImportMediaTitle{
    "import-media", "Give a music or video product of a project its preview clip, thumbnail and duration."};

// The module's file name beside trovecart-cli, and the names of its entry points.
inline constexpr char kMediaModuleName[] = "trovecart-cli-media";
inline constexpr char kMediaModuleEntry[] = "TrovecartMediaCommands";
inline constexpr char kWebCopyEntry[] = "TrovecartMakeWebCopies";
class TMessageService;
// Sets (or clears, with an empty handler) what the first Ctrl+C does instead of ending the program.
using TCliInterruptSetter = void (*)(std::function<void()> handler);
// The entry point fills in the module's commands. The module has its own copy of the core layers,
// so it is handed the message service that trovecart-cli installed, and the way to take Ctrl+C
// from trovecart-cli's signal thread.
using TMediaModuleEntry = void (*)(std::vector<TCliCommand>& commands, TMessageService* messages,
                                   TCliInterruptSetter setInterrupt);

// Makes the web copies of the preview files; false with the failure's text in `failure`. Errors
// are handed back as text, not raised, across the module's edge.
using TWebCopyEntry = bool (*)(const QStringList& previewFiles, TCliInterruptSetter setInterrupt,
                               QString& failure);

// In trovecart-cli: the web copy maker of site preparation, which loads the module only when a
// copy is missing. Raises EAppError.
TWebCopyMaker CliWebCopyMaker();

// In trovecart-cli: stand-ins for the module's commands that load it when they are used; a
// module that cannot be loaded raises EAppError.
std::vector<TCliCommand> MediaCommands();
