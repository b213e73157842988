// The main window procedure: opens the catalogue window, runs its accept loop until "E&xit" or
// the close box, and returns, which ends the program.
#pragma once

#include <string_view>

#include "app/quillery_file.h"

namespace quillery {

// Runs the main window over the catalogue `catalogue` ("Quillery.QLY" unless the program was
// given another name).
void DISPLAYQUILLERY(std::string_view catalogue = kDefaultCatalogueName);

// Scales the current window's controls to its size: K = width / 429, kept to two decimals, and
// every scaled control's design coordinates multiplied by K. A window lower than its width asks
// for takes the smaller height / 281 instead, so the panel never runs off the bottom.
void RESOLUTION();

// width / 429 to two decimals (in hundredths, so 858 gives 200).
int resolutionHundredths(int width);
// The scale RESOLUTION applies for a window `width` x `height` units large (tool bar included):
// the smaller of width / 429 and height / 281, to two decimals.
int resolutionHundredths(int width, int height);

}  // namespace quillery
