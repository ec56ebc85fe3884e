// Trovecart - probe and convert.
#pragma once

#include <QtGlobal>

#include "cli/cli_command.h"

class QCommandLineParser;

TCliCommand ProbeCommand();
TCliCommand ConvertCommand();

// The option's value as a number of microseconds, or the fallback when it is not given; a value
// that is no such number is a usage error.
qint64 MicrosecondsOption(const QCommandLineParser& parser, const QString& name, qint64 fallback);
