// Damage met while the main window works: the open catalogue is dropped without writing to it,
// and the window goes on without one.
#pragma once

#include <functional>

namespace quillery {

// Runs `work`; damage met on the way drops the open catalogue without writing to it, is
// reported, and leaves the window without a catalogue. False when that happened.
bool reportingDamage(const std::function<void()>& work);

}  // namespace quillery
