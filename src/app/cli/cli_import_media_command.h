// Trovecart - import-media: gives a music or video product of a project its preview.
#pragma once

#include "cli/cli_command.h"
#include "cli/cli_media_module.h"

TCliCommand ImportMediaCommand(TCliInterruptSetter setInterrupt);

// Makes the web copy beside each video preview file, with progress on a terminal; Ctrl+C cancels.
// Raises EAppError on the first failure or a cancel; copies made so far stay.
void MakeWebCopies(const QStringList& previewFiles, TCliInterruptSetter setInterrupt);
