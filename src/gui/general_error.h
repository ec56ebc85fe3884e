// Trovecart - the window's command runner: the one place where an error reaches the user.
#pragma once

#include <exception>
#include <functional>

// Runs the action; an error escaping it is shown once, titled with the main window's caption: with
// its own heading and kind, or, without a heading, as the program's general error message.
// Returns false when that happened.
bool RunReportingErrors(const std::function<void()>& action);
