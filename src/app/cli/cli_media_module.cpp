// Trovecart - the entry point of the media commands' module.
#include "cli/cli_media_module.h"

#include <QtGlobal>

#include "cli/cli_import_media_command.h"
#include "cli/cli_media_commands.h"
#include "cli/cli_snapshot_command.h"
#include "common/message_service.h"

extern "C" Q_DECL_EXPORT void TrovecartMediaCommands(std::vector<TCliCommand>& commands,
                                                     TMessageService* messages,
                                                     TCliInterruptSetter setInterrupt) {
    SetMessageService(messages);
    commands = {ProbeCommand(), ConvertCommand(setInterrupt), SnapshotCommand(),
                ImportMediaCommand(setInterrupt)};
}

extern "C" Q_DECL_EXPORT bool TrovecartMakeWebCopies(const QStringList& previewFiles,
                                                     TCliInterruptSetter setInterrupt, QString& failure) {
    try {
        MakeWebCopies(previewFiles, setInterrupt);
        return true;
    } catch (const EAppError& error) {
        failure = error.Message();
        return false;
    }
}
