// Trovecart - probe and convert.
#pragma once

#include <QtGlobal>

#include "cli/cli_command.h"
#include "cli/cli_module.h"

class QCommandLineParser;

TCliCommand ProbeCommand();
// Ctrl+C cancels a running conversion.
TCliCommand ConvertCommand(TCliInterruptSetter setInterrupt);

// The option's value as a number of microseconds, or the fallback when it is not given; a value
// that is no such number is a usage error.
qint64 MicrosecondsOption(const QCommandLineParser& parser, const QString& name, qint64 fallback);
