// Trovecart - running queued conversions from the command line.
#pragma once

#include <QString>

#include "cli/cli_module.h"

class TVideoConvertor;

// Ctrl+C cancels the running conversions instead of ending the program, for as long as the object
// lives.
class TInterruptGuard {
public:
    explicit TInterruptGuard(TCliInterruptSetter setInterrupt);
    ~TInterruptGuard();
    TInterruptGuard(const TInterruptGuard&) = delete;
    TInterruptGuard& operator=(const TInterruptGuard&) = delete;

    // Whether Ctrl+C was pressed since the guard was made.
    static bool Interrupted();

private:
    TCliInterruptSetter setInterrupt_;
};

// Runs the queued conversion on one worker with progress on a terminal; mrOk, mrNo after an
// engine error (its message in `failure`), or mrCancel after Ctrl+C under a TInterruptGuard.
int RunConversion(TVideoConvertor& convertor, QString& failure,
                  const QString& label = QStringLiteral("Converting"));
// Raises the program's error for a conversion that was cancelled or failed.
void ThrowUnlessOk(int result, const QString& failure);
