// Binary search over a queue's entries.
#include "runtime/queue_search.h"

namespace quillery {
namespace {

int compareWith(const WSLARRAY& entries, const QueueKeyList& keys, const unsigned char* record,
                std::uint32_t position) {
    return compareQueueRecords(keys, record,
                               static_cast<const unsigned char*>(entries.at(position - 1)));
}

}  // namespace

QueueSearch searchQueue(const WSLARRAY& entries, const QueueKeyList& keys,
                        const unsigned char* record) {
    QueueSearch s;
    s.hi = entries.size();
    if (s.hi == 0) return s;
    for (;;) {
        // Rounding up keeps lo := mid from standing still.
        s.mid = (s.lo + s.hi + 1) / 2;
        s.result = compareWith(entries, keys, record, s.mid);
        if (s.result == 0 || s.lo == s.hi) return s;
        if (s.result > 0) {
            s.lo = s.mid;
        } else if (s.mid == s.hi) {
            s.hi = s.mid - 1;
        } else {
            s.hi = s.mid;
        }
    }
}

std::uint32_t insertionPosition(const WSLARRAY& entries, const QueueKeyList& keys,
                                const unsigned char* record) {
    const QueueSearch s = searchQueue(entries, keys, record);
    if (s.mid == 0) return 1;
    if (s.result < 0) return s.mid;
    // Equal keys keep their order of arrival: pass every entry that is not greater.
    std::uint32_t last = s.mid;
    while (last < s.hi && compareWith(entries, keys, record, last + 1) >= 0)
        ++last;
    return last + 1;
}

std::optional<std::uint32_t> firstEqualPosition(const WSLARRAY& entries, const QueueKeyList& keys,
                                                const unsigned char* record) {
    const QueueSearch s = searchQueue(entries, keys, record);
    if (s.mid == 0 || s.result != 0) return std::nullopt;
    std::uint32_t first = s.mid;
    while (first > s.lo && compareWith(entries, keys, record, first - 1) == 0)
        --first;
    return first;
}

}  // namespace quillery
