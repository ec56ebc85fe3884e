// Trovecart - probe and convert.
#pragma once

#include "cli/cli_command.h"

TCliCommand ProbeCommand();
TCliCommand ConvertCommand();
