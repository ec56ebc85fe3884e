// Trovecart - Ctrl+C as a request to stop the running work, in a command-line module.
#pragma once

#include "cli/cli_module.h"

// Ctrl+C asks the running work to stop instead of ending the program, for as long as the object
// lives. The signal only sets a flag; the work looks at it.
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
