// The structural checker: walks a whole data file and verifies every rule its bytes must follow,
// returning readable findings instead of stopping at the first fault.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "storage/data_file.h"

namespace quillery::storage {

struct CheckReport {
    std::vector<std::string> findings;
    std::size_t pages = 0;
    std::size_t entries = 0;
    int depth = 0;

    bool clean() const { return findings.empty(); }
    // The findings one per line ("no faults found" when clean).
    std::string text() const;
};

// Checks the committed state of `file`: header and zones, each page's lengths, compression and
// padding, entry order across the tree, separators equal to each child's lowest key, every page
// of every zone reached exactly once, and record and key counts against their metadata where
// the key is complete. Requires: no uncommitted changes.
CheckReport checkDataFile(DataFile& file);

}  // namespace quillery::storage
