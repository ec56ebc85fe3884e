// Trovecart - loads the media commands' module when one of its commands runs.
#include <algorithm>

#include <QCoreApplication>
#include <QLibrary>

#include "cli/cli_media_module.h"
#include "cli/cli_signals.h"
#include "common/message_service.h"

namespace {

// The module is loaded on first use and kept for the rest of the run.
QFunctionPointer ModuleEntry(const char* name) {
    QLibrary module(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                    QLatin1String(kMediaModuleName));
    const QFunctionPointer entry = module.resolve(name);
    if (!entry)
        throw EAppError(QStringLiteral("The media commands cannot be loaded: %1").arg(module.errorString()));
    return entry;
}

const std::vector<TCliCommand>& ModuleCommands() {
    static const std::vector<TCliCommand> commands = [] {
        const auto entry = reinterpret_cast<TMediaModuleEntry>(ModuleEntry(kMediaModuleEntry));
        std::vector<TCliCommand> loaded;
        entry(loaded, &MessageService(), &SetCliInterruptHandler);
        return loaded;
    }();
    return commands;
}

const TCliCommand& ModuleCommand(const QString& name) {
    const std::vector<TCliCommand>& commands = ModuleCommands();
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [&name](const TCliCommand& command) { return command.Name == name; });
    if (found == commands.end())
        throw EAppError(QStringLiteral("The media commands' module has no command \"%1\".").arg(name));
    return *found;
}

TCliCommand StandIn(const TCliTitle& title) {
    const QString name = QString::fromLatin1(title.Name);
    return {
        name,
        QString::fromLatin1(title.Summary),
        [name](QCommandLineParser& parser) { ModuleCommand(name).Declare(parser); },
        [name](const QCommandLineParser& parser) { return ModuleCommand(name).Run(parser); },
    };
}

} // namespace

TWebCopyMaker CliWebCopyMaker() {
    return [](const QStringList& previewFiles) {
        const auto entry = reinterpret_cast<TWebCopyEntry>(ModuleEntry(kWebCopyEntry));
        QString failure;
        if (!entry(previewFiles, &SetCliInterruptHandler, failure))
            throw EAppError(failure);
    };
}

std::vector<TCliCommand> MediaCommands() {
    return {StandIn(kProbeTitle), StandIn(kConvertTitle), StandIn(kSnapshotTitle),
            StandIn(kImportMediaTitle)};
}
