// Trovecart - snapshot: the picture of a video at a given moment, as PNG.
#pragma once

#include <cstdint>

#include <QImage>

#include "cli/cli_command.h"

class TFFPlayer;

// Plays `fileName` paused at `positionUs` and waits for the picture the seek steps to. Raises
// EAppError when there is none.
QImage PictureAt(TFFPlayer& player, const QString& fileName, int64_t positionUs);

TCliCommand SnapshotCommand();
