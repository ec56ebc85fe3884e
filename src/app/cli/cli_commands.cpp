// Trovecart - the command table of trovecart-cli.
#include "cli/cli_command.h"
#include "cli/cli_ftp_commands.h"
#include "cli/cli_media_module.h"
#include "cli/cli_project_commands.h"
#include "cli/cli_publish_commands.h"
#include "cli/cli_shop_commands.h"

std::vector<TCliCommand> AllCommands() {
    std::vector<TCliCommand> commands = {
        InfoCommand(),      ResaveCommand(),  TemplatesCommand(),   NewCommand(),     BuildCommand(),
        EmbedCodeCommand(), PublishCommand(), PublishSiteCommand(), FtpTestCommand(), FtpListCommand(),
    };
    for (TCliCommand& command : MediaCommands())
        commands.push_back(std::move(command));
    return commands;
}
