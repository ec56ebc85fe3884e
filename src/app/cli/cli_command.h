// Trovecart - one headless command of trovecart-cli.
#pragma once

#include <functional>
#include <vector>

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include "common/app_error.h"

// A wrong command line; ends with exit code 2 and the command's usage.
class ECliUsage : public EAppError {
public:
    using EAppError::EAppError;
};

struct TCliCommand {
    QString Name;
    // Shown in the command list.
    QString Summary;
    // Declares the command's options and positional arguments.
    std::function<void(QCommandLineParser&)> Declare;
    // Runs with the parsed command line; returns the exit code. Failures raise EAppError.
    std::function<int(const QCommandLineParser&)> Run;
};

// The positional arguments, or ECliUsage unless there are exactly `count`.
QStringList ExpectPositional(const QCommandLineParser& parser, int count);

// Writes the bytes to stdout unchanged and flushes.
void WriteStdout(const QByteArray& bytes);

// Every command, in the order the help lists them.
std::vector<TCliCommand> AllCommands();
