// Trovecart - the entry point of the publish commands' module.
#include "cli/cli_publish_module.h"

#include <QtGlobal>

#include "cli/cli_ftp_commands.h"
#include "cli/cli_publish_commands.h"
#include "common/message_service.h"

extern "C" Q_DECL_EXPORT void TrovecartPublishCommands(std::vector<TCliCommand>& commands,
                                                       TMessageService* messages,
                                                       TCliInterruptSetter setInterrupt) {
    SetMessageService(messages);
    commands = {PublishCommand(setInterrupt), PublishSiteCommand(setInterrupt), FtpTestCommand(),
                FtpListCommand()};
}
