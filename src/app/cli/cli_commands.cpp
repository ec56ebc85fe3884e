// Trovecart - the command table of trovecart-cli.
#include "cli/cli_command.h"
#include "cli/cli_publish_commands.h"
#include "cli/cli_shop_commands.h"

std::vector<TCliCommand> AllCommands() {
    return {
        InfoCommand(),
        ResaveCommand(),
        PublishSiteCommand(),
    };
}
