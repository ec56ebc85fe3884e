// Trovecart - Ctrl+C as a request to stop the running work, in a command-line module.
#include "cli/cli_interrupt.h"

#include <atomic>

namespace {

std::atomic<bool> interrupted{false};

} // namespace

TInterruptGuard::TInterruptGuard(TCliInterruptSetter setInterrupt) : setInterrupt_(setInterrupt) {
    interrupted = false;
    setInterrupt_([] { interrupted = true; });
}

TInterruptGuard::~TInterruptGuard() {
    setInterrupt_(nullptr);
}

bool TInterruptGuard::Interrupted() {
    return interrupted;
}
