// The binary search of keyed queue operations, and where it leaves a keyed add or get.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/queue_compare.h"
#include "runtime/wsl_array.h"

namespace quillery {

// Positions count from 1, as the program sees them.
struct QueueSearch {
    std::uint32_t lo = 1;
    std::uint32_t hi = 0;
    std::uint32_t mid = 0;  // 0 when the queue was empty and nothing was compared
    int result = 0;         // the last comparison of the record with entry mid
};

// Halves [lo, hi] until an entry equals `record` on `keys` or one entry is left.
QueueSearch searchQueue(const WSLARRAY& entries, const QueueKeyList& keys,
                        const unsigned char* record);

// The position a keyed add gives `record`: after every entry with an equal key.
std::uint32_t insertionPosition(const WSLARRAY& entries, const QueueKeyList& keys,
                                const unsigned char* record);

// The position of the first entry equal to `record` on `keys`, if any.
std::optional<std::uint32_t> firstEqualPosition(const WSLARRAY& entries, const QueueKeyList& keys,
                                                const unsigned char* record);

}  // namespace quillery
