// How the window engine is configured, in one place: who shows the help file, whether window
// timers run by the clock, and who is told when an accept loop waits for its next event. A
// program installs its options once at start (the window program installs its help viewer);
// scripted sessions and tests use ScopedWindowOptions, which puts the previous ones back.
#pragma once

#include "runtime/scoped_options.h"
#include "runtime/window/help.h"

namespace quillery {

class AcceptObserver;

struct WindowOptions {
    // Shows the help file's contents or search. Empty: nothing is shown (the help file is
    // outside the program).
    HelpViewer helpViewer;
    // Window timers run only when fired by hand (fireTimer) instead of by the clock, so that a
    // script decides when timer events come.
    bool manualTimers = false;
    // Told each time an accept loop has no event to deliver (runtime/window/accept_observer.h);
    // not owned. Null: the loop waits for the user.
    AcceptObserver* acceptObserver = nullptr;
};

// The options in force.
const WindowOptions& windowOptions();
// Installs `options` from now on and returns the options installed before. A change of
// manualTimers applies to timers set from then on.
WindowOptions setWindowOptions(WindowOptions options);

using ScopedWindowOptions = ScopedOptions<WindowOptions, setWindowOptions>;

}  // namespace quillery
