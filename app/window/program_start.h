// The program's main procedure: the globals in their start state, the help file named, and the
// main window run until it closes.
#pragma once

#include <string_view>

namespace quillery {

// The help file named at start; the main window names its own once it opens.
inline constexpr char kStartHelpFile[] = "C:\\BOOK\\BOOK.HLP";

// Puts every global of the program in its start state: texts blank (the caption's title text
// excepted), numbers zero, queues empty.
void initialiseGlobals();

// Initialises the globals, names the help file and runs the main window over `catalogue`;
// returns when the main window closes.
void runQuillery(std::string_view catalogue);

}  // namespace quillery
