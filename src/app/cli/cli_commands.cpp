// Trovecart - the command table of trovecart-cli.
#include <algorithm>
#include <map>
#include <string>

#include "cli/cli_command.h"
#include "cli/cli_media_module.h"
#include "cli/cli_project_commands.h"
#include "cli/cli_publish_module.h"
#include "cli/cli_shop_commands.h"
#include "cli/cli_signals.h"
#include "common/message_service.h"

namespace {

// A module's commands, loaded on first use and kept for the rest of the run.
const std::vector<TCliCommand>& ModuleCommands(const TCliModule& module) {
    static std::map<std::string, std::vector<TCliCommand>> loaded;
    const auto found = loaded.find(module.FileName);
    if (found != loaded.end())
        return found->second;
    const auto entry = reinterpret_cast<TCliModuleEntry>(ModuleEntry(module, module.CommandsEntry));
    std::vector<TCliCommand> commands;
    entry(commands, &MessageService(), &SetCliInterruptHandler);
    return loaded.emplace(module.FileName, std::move(commands)).first->second;
}

const TCliCommand& ModuleCommand(const TCliModule& module, const QString& name) {
    const std::vector<TCliCommand>& commands = ModuleCommands(module);
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [&name](const TCliCommand& command) { return command.Name == name; });
    if (found == commands.end())
        throw EAppError(QStringLiteral("The %1 commands' module has no command \"%2\".")
                            .arg(QLatin1String(module.Subject), name));
    return *found;
}

// Declares and runs the module's command of that name, loading the module when it is used.
TCliCommand StandIn(const TCliModule& module, const TCliTitle& title) {
    const QString name = QString::fromLatin1(title.Name);
    return {
        name,
        QString::fromLatin1(title.Summary),
        [&module, name](QCommandLineParser& parser) { ModuleCommand(module, name).Declare(parser); },
        [&module, name](const QCommandLineParser& parser) { return ModuleCommand(module, name).Run(parser); },
    };
}

} // namespace

std::vector<TCliCommand> AllCommands() {
    return {
        InfoCommand(),
        ResaveCommand(),
        TemplatesCommand(),
        NewCommand(),
        BuildCommand(),
        EmbedCodeCommand(),
        StandIn(kPublishModule, kPublishTitle),
        StandIn(kPublishModule, kPublishSiteTitle),
        StandIn(kPublishModule, kFtpTestTitle),
        StandIn(kPublishModule, kFtpListTitle),
        StandIn(kMediaModule, kProbeTitle),
        StandIn(kMediaModule, kConvertTitle),
        StandIn(kMediaModule, kSnapshotTitle),
        StandIn(kMediaModule, kImportMediaTitle),
    };
}
