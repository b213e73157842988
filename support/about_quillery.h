// The about window opened from the Help menu: the program's name, its makers' credit lines and
// logo, and an OK button.
#pragma once

#include "runtime/window/layout.h"

namespace quillery {

namespace aboutquillery {
enum Field : int { STRING12 = 1, CREDIT1, CREDIT2, CREDIT3, LOGO, OK };
}  // namespace aboutquillery

extern const WindowLayout kAboutQuilleryLayout;

// Shows the about window until OK is pressed or the window is closed.
void ABOUTQUILLERY();

}  // namespace quillery
