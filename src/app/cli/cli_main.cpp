// Trovecart - trovecart-cli: whatever the program does without a window.
#include <cstdio>

#include <QCoreApplication>

#include "cli/cli_command.h"
#include "cli/cli_signals.h"
#include "common/app_info.h"
#include "common/console_message_service.h"
#include "shop/program_data.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void PrintLine(FILE* stream, const QString& text) {
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
}

void PrintCommandList(FILE* stream, const std::vector<TCliCommand>& commands) {
    PrintLine(stream, QStringLiteral("Usage: trovecart-cli COMMAND [OPTIONS] ARGUMENTS\n\nCommands:"));
    for (const TCliCommand& command : commands)
        PrintLine(stream, QStringLiteral("  %1  %2").arg(command.Name, -12).arg(command.Summary));
    PrintLine(stream, QStringLiteral("\nRun \"trovecart-cli COMMAND --help\" for a command's options."));
}

QString CommandHelp(const TCliCommand& command, QCommandLineParser& parser) {
    QString text = parser.helpText();
    text.replace(QCoreApplication::applicationFilePath(), QStringLiteral("trovecart-cli"));
    const int usageEnd = text.indexOf(QLatin1Char('\n'));
    text.replace(0, usageEnd,
                 text.left(usageEnd).replace(QStringLiteral("[options]"),
                                             command.Name + QStringLiteral(" [options]")));
    return text;
}

// The command line's one report of an error: with its heading as a message box would show it.
void ReportError(const EAppError& error) {
    if (error.Heading().isEmpty())
        PrintLine(stderr, error.Message());
    else
        MessageService().ShowMessageBox(error.Message(), error.Kind(), error.Heading(), ProgramCaption());
}

int RunCommand(const TCliCommand& command, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(command.Summary);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption helpOption = parser.addHelpOption();
    try {
        command.Declare(parser);
    } catch (const EAppError& error) {
        PrintLine(stderr, error.Message());
        return kExitFailure;
    }

    QStringList commandLine = arguments;
    commandLine.removeAt(1);
    if (!parser.parse(commandLine)) {
        PrintLine(stderr, parser.errorText());
        PrintLine(stderr, CommandHelp(command, parser));
        return kExitUsage;
    }
    if (parser.isSet(helpOption)) {
        PrintLine(stdout, CommandHelp(command, parser));
        return 0;
    }
    try {
        return command.Run(parser);
    } catch (const ECliUsage& error) {
        PrintLine(stderr, error.Message());
        PrintLine(stderr, CommandHelp(command, parser));
        return kExitUsage;
    } catch (const EAppError& error) {
        ReportError(error);
        return kExitFailure;
    } catch (const std::exception& error) {
        PrintLine(stderr, QString::fromLocal8Bit(error.what()));
        return kExitFailure;
    }
}

// Runs the command the arguments name; returns the exit code.
int RunCommandLine(const QStringList& arguments) {
    const std::vector<TCliCommand> commands = AllCommands();
    if (arguments.size() < 2) {
        PrintCommandList(stderr, commands);
        return kExitUsage;
    }
    const QString name = arguments.at(1);
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        PrintCommandList(stdout, commands);
        return 0;
    }
    for (const TCliCommand& command : commands) {
        if (command.Name == name)
            return RunCommand(command, arguments);
    }
    PrintLine(stderr, QStringLiteral("Unknown command \"%1\".\n").arg(name));
    PrintCommandList(stderr, commands);
    return kExitUsage;
}

} // namespace

int main(int argc, char* argv[]) {
    BlockCliSignals();
    QCoreApplication application(argc, argv);
    const QString tempFolder = TProgramData().TempFolder();
    StartCliSignalThread(tempFolder);
    QCoreApplication::setApplicationName(QStringLiteral("trovecart-cli"));
    QCoreApplication::setApplicationVersion(ProgramCaption());

    TConsoleMessageService messages;
    SetMessageService(&messages);

    const int exitCode = RunCommandLine(QCoreApplication::arguments());
    EndByPendingSignal(tempFolder);
    return exitCode;
}
