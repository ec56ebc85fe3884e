// Trovecart - Ctrl+C, SIGTERM and SIGHUP in trovecart-cli: whatever the command, its workspace goes.
#pragma once

#include <functional>

#include <QString>

// Blocks the three signals for this thread and every thread it starts. Call first in main, before
// any other thread exists.
void BlockCliSignals();
// Takes the signals on a thread of its own, which ends the program after removing this process's
// folders below the temporary folder.
void StartCliSignalThread(const QString& tempFolder);
// Ends the program as the signal thread would when a signal came that it has not taken yet: a
// second Ctrl+C ends the program even when the stop the first one asked for finished first.
void EndByPendingSignal(const QString& tempFolder);

// While a handler is set, the first signal calls it (on the signal thread) instead of ending the
// program, so that a long run can stop in order; a second signal ends the program all the same.
void SetCliInterruptHandler(std::function<void()> handler);
