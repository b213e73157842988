// The "Runtime error" box: how an unrecoverable fault is shown once the window engine runs.
#pragma once

#include <string>

#include "runtime/fatal.h"

namespace quillery {

// Shows `text` in a box captioned "Runtime error" with the stop icon and an OK button. Where
// no box can be shown (no application object) the text goes to standard error instead, so a
// fault is never silent.
// The window program makes it the fatal reporter of its runtime options; the program still ends
// with exit code 2 once the box is closed.
void showRuntimeErrorBox(const std::string& text);

}  // namespace quillery
