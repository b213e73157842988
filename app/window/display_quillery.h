// The main window procedure: opens the catalogue window, runs its accept loop until "E&xit" or
// the close box, and returns, which ends the program.
#pragma once

#include <string_view>

#include "app/quillery_file.h"

namespace quillery {

// Runs the main window over the catalogue `catalogue` ("Quillery.QLY" unless the program was
// given another name).
void DISPLAYQUILLERY(std::string_view catalogue = kDefaultCatalogueName);

// Places the current window's controls for its size: as designed at the design size; in a
// larger window the list takes the extra room and the entry panel keeps its size at the bottom
// right (see room_layout.h).
void RESOLUTION();

}  // namespace quillery
