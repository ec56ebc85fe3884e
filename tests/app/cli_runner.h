// Trovecart tests - runs trovecart-cli and collects what it printed.
#pragma once

#include "support/run_program.h"

using TCliResult = TProgramResult;

inline TCliResult RunCli(const QStringList& arguments, const TRunOptions& options = {}) {
    return RunProgram(QStringLiteral(TROVECART_CLI), arguments, options);
}
