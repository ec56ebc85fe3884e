// Trovecart - import-media: gives a music or video product of a project its preview.
#pragma once

#include "cli/cli_command.h"

TCliCommand ImportMediaCommand();
