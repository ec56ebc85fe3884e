// Trovecart tests - waiting for what arrives through the event loop.
#pragma once

#include <functional>

// Creates a QCoreApplication when none exists. Widget tests create their QApplication first.
void EnsureCoreApplication();

// Runs the event loop until `done` holds or `timeoutMs` has passed; returns whether it holds.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 60000);

// Runs the event loop for this long.
void SpinEventLoop(int milliseconds);
