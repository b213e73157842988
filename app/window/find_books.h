// Find: asks for a text, lists every current entry whose record holds it on a tab of its own,
// and marks the matches in the entry fields while that tab is shown.
#pragma once

#include <string>
#include <string_view>

#include "runtime/window/layout.h"

namespace quillery {

namespace getfindstring {
enum Field : int { FINDSTRING = 1, IGNORECASE, OK, CANCEL };
}  // namespace getfindstring

// The find window "GETFINDSTRING$FIND".
extern const WindowLayout kFindLayout;

// Asks for FINDSTRING and IGNORECASE. Cancel (or closing the window) leaves FINDSTRING blank.
void GETFINDSTRING();

// "&Find" and "Find": the search, and its tab when anything matched.
void findBooks();

}  // namespace quillery
