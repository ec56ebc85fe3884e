// Trovecart - the entry point of the media commands' module.
#include "cli/cli_media_module.h"

#include <QtGlobal>

#include "cli/cli_media_commands.h"
#include "cli/cli_snapshot_command.h"

extern "C" Q_DECL_EXPORT void TrovecartMediaCommands(std::vector<TCliCommand>& commands) {
    commands = {ProbeCommand(), ConvertCommand(), SnapshotCommand()};
}
