// Trovecart - a blocking call run on a thread of its own, so that the window keeps painting.
#pragma once

#include <functional>

// Runs the work on a new thread and returns when it has ended; an exception it raised is raised
// here again. Meanwhile the calling (UI) thread paints and runs its timers but takes no user input
// (that waits until the call has returned), so the user can start nothing else. The work must not
// touch widgets.
void RunOffUiThread(const std::function<void()>& work);
