// The global error memory: code that wants a failure reported later, after other operations
// have replaced the current error, keeps it here. The next standard warning describes it and
// clears it.
#pragma once

#include <cstdint>

#include "runtime/fixed_string.h"

namespace quillery {

extern std::int32_t SAVEERRORCODE;
extern FixedString<255> SAVEERROR;
extern std::int32_t SAVEFILEERRORCODE;
extern FixedString<255> SAVEFILEERROR;

// Keeps the current error in the memory: its code and text, and for a driver's own error
// (code 90) the driver's text and its code (0 when the driver's code is not a number).
void saveCurrentError();

// Empties the memory: codes 0, texts blank.
void clearErrorMemory();

}  // namespace quillery
