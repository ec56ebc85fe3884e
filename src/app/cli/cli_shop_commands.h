// Trovecart - commands on shop documents.
#pragma once

#include "cli/cli_command.h"

TCliCommand InfoCommand();
TCliCommand ResaveCommand();
