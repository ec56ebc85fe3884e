// Trovecart - the command table of trovecart-cli.
#include "cli/cli_command.h"
#include "cli/cli_media_commands.h"
#include "cli/cli_project_commands.h"
#include "cli/cli_publish_commands.h"
#include "cli/cli_shop_commands.h"
#include "cli/cli_snapshot_command.h"

std::vector<TCliCommand> AllCommands() {
    return {
        InfoCommand(),  ResaveCommand(),    TemplatesCommand(), NewCommand(),
        BuildCommand(), EmbedCodeCommand(), PublishCommand(),   PublishSiteCommand(),
        ProbeCommand(), ConvertCommand(),   SnapshotCommand(),
    };
}
