// What the save loop finds in a catalogue: the last save in it, where each book's current
// version lies, and every way the file breaks the rule that a save is there whole or not at
// all.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/durability/saved_book.h"

namespace quillery::durability {

struct SaveLedger {
    std::int64_t lastSave = 0;
    std::uint64_t records = 0;  // the header record left out
    // Record number of each book's current version; 0 before its first save.
    std::array<std::uint32_t, kBooks> currentVersion{};
    std::vector<std::string> faults;
};

// Reads the open catalogue QUILLERY in file order. Sound means: saves 1 to lastSave are each
// there exactly once, each record is byte for byte what its save wrote, and each book's
// versions are all superseded but the latest, which is current.
// Requires: QUILLERY is open.
SaveLedger readSaveLedger();

}  // namespace quillery::durability
