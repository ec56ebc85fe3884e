// Trovecart - import-media: gives a music or video product of a project its preview.
#pragma once

#include "cli/cli_command.h"
#include "cli/cli_media_module.h"

TCliCommand ImportMediaCommand(TCliInterruptSetter setInterrupt);
