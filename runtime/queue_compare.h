// How a queue orders the record buffer against an entry on a list of key fields.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "runtime/queue.h"

namespace quillery {

// A queue operation takes at most this many keys; later ones are not looked at.
inline constexpr std::size_t kMaxQueueKeys = 16;

struct QueueKey {
    const QueueField* field;
    bool descending;
};

// The key list of one keyed operation, ready for comparing.
struct QueueKeyList {
    std::array<QueueKey, kMaxQueueKeys> keys{};
    std::size_t count = 0;
};

// Compares two doubles; values whose difference lies more than 50 binary orders of magnitude
// below both of them count as equal, so rounding noise does not split equal keys.
int compareQueueReals(double a, double b);

// Compares field `f` of two records: text through the collation table, 32-bit integers as
// integers, the other numbers as doubles.
int compareQueueField(const QueueField& f, const unsigned char* a, const unsigned char* b);

// Compares record `a` with record `b` on `keys`: the first unequal key decides, reversed
// when descending. Positive when `a` sorts after `b`.
int compareQueueRecords(const QueueKeyList& keys, const unsigned char* a, const unsigned char* b);

}  // namespace quillery
