// Trovecart - snapshot: the picture of a video at a given moment, as PNG.
#pragma once

#include "cli/cli_command.h"

TCliCommand SnapshotCommand();
