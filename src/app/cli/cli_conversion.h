// Trovecart - running queued conversions from the command line.
#pragma once

#include <QString>

#include "cli/cli_interrupt.h"

class TVideoConvertor;

// Runs the queued conversion on one worker with progress on a terminal; mrOk, mrNo after an
// engine error (its message in `failure`), or mrCancel after Ctrl+C under a TInterruptGuard.
int RunConversion(TVideoConvertor& convertor, QString& failure,
                  const QString& label = QStringLiteral("Converting"));
// Raises the program's error for a conversion that was cancelled or failed.
void ThrowUnlessOk(int result, const QString& failure);
