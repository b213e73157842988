// How the main window is configured, in one place: what the "&Reports" menu's items run, and who
// sees the commands its loop dispatches. The program installs the listings at start (the main
// window's own library never links them); tests use ScopedMainWindowOptions, which puts the
// previous options back.
#pragma once

#include <functional>

#include "app/window/main_window_commands.h"
#include "runtime/scoped_options.h"

namespace quillery {

// Runs the listing of the "&Reports" item `reportField`.
using ListingProcedure = std::function<void(int reportField)>;
// Sees a command the main window's loop dispatches and the control it came from.
using MainCommandTap = std::function<void(MainCommand command, int field)>;

struct MainWindowOptions {
    // Runs the listings. Empty: the "&Reports" menu's items are disabled.
    ListingProcedure listings;
    // Told every command before it runs (tests). Empty: nobody is told.
    MainCommandTap commandTap;
};

// The options in force.
const MainWindowOptions& mainWindowOptions();
// Installs `options` from now on and returns the options installed before. The "&Reports" menu
// follows a change of listings the next time the main window starts.
MainWindowOptions setMainWindowOptions(MainWindowOptions options);

using ScopedMainWindowOptions = ScopedOptions<MainWindowOptions, setMainWindowOptions>;

}  // namespace quillery
