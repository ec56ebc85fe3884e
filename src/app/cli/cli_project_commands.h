// Trovecart - commands on templates and project files.
#pragma once

#include "cli/cli_command.h"

TCliCommand TemplatesCommand();
TCliCommand NewCommand();
TCliCommand BuildCommand();
TCliCommand EmbedCodeCommand();
