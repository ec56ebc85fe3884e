// Trovecart - the last resort for an error that escaped a command started from a control.
#pragma once

#include <exception>
#include <functional>

// Runs the action; an error escaping it is shown as the program's general error message.
// Returns false when that happened.
bool RunReportingErrors(const std::function<void()>& action);
