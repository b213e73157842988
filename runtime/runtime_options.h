// How the runtime's core services are configured, in one place: how an unrecoverable fault is
// reported and how the program ends, the clock TODAY and CLOCK read, and the memory queues take.
// A program installs its options once at start (the window program shows faults in a message
// box); a test that needs other ones for a while uses ScopedRuntimeOptions, which puts the
// previous ones back.
//
// The user's settings file (character tables, locale, error texts) is not among them: it is read
// by loadRuntimeSettings (runtime/settings_file.h).
#pragma once

#include "runtime/dates.h"
#include "runtime/fatal.h"
#include "runtime/queue_memory.h"
#include "runtime/scoped_options.h"

namespace quillery {

struct RuntimeOptions {
    // Shows the text of an unrecoverable fault. Empty: the text goes to standard error.
    FatalReporter fatalReporter;
    // Ends the program with its exit code and must not return (tests throw ProgramEnded).
    // Empty: std::exit.
    ProgramEndHandler programEnd;
    // The local date and time. Empty: the system clock.
    ClockSource clock;
    // Where queue entries, queue storage and WSLARRAY take their memory from.
    QueueMemory queueMemory = standardQueueMemory();
};

// The options in force.
const RuntimeOptions& runtimeOptions();
// Installs `options` from now on and returns the options installed before. The century window
// forgets the year it read, so that it reads the year again from the clock now installed.
// Not to be called while another thread uses the runtime.
RuntimeOptions setRuntimeOptions(RuntimeOptions options);

using ScopedRuntimeOptions = ScopedOptions<RuntimeOptions, setRuntimeOptions>;

}  // namespace quillery
