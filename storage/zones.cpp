// The zone rules: giving places back, taking places below or above, compaction.
#include "storage/zones.h"

namespace quillery::storage {

std::int64_t ZoneAllocator::gapBelow(int n) const {
    const std::int64_t below = n == 1 ? 0 : h_.zoneEnd[n - 1];
    return static_cast<std::int64_t>(h_.zoneStart[n]) - below;
}

std::int64_t ZoneAllocator::gapAbove(int k) const {
    return static_cast<std::int64_t>(h_.zoneStart[k + 1]) - h_.zoneEnd[k];
}

std::int64_t ZoneAllocator::pagesIn(int k) const {
    return (static_cast<std::int64_t>(h_.zoneEnd[k]) - h_.zoneStart[k]) / k;
}

void ZoneAllocator::move(PageNumber from, PageNumber to, bool dryRun) {
    if (!dryRun && from != to) mover_.movePage(from, to);
}

void ZoneAllocator::giveBack(PageNumber p, int n) {
    const PageNumber last = static_cast<PageNumber>(h_.zoneEnd[n]) - n;
    move(last, p, false);
    h_.zoneEnd[n] -= static_cast<std::uint32_t>(n);
}

// Widens the gap below zone k to `units` by sliding zone k-1 down. Zone 1 never slides.
bool ZoneAllocator::makeRoomBelow(int k, std::int64_t units, bool dryRun) {
    if (gapBelow(k) >= units) return true;
    if (k - 1 < 2) return false;
    return slideDown(k - 1, units - gapBelow(k), dryRun);
}

// Slides zone k down far enough to add `missing` units to the gap above it.
bool ZoneAllocator::slideDown(int k, std::int64_t missing, bool dryRun) {
    const std::int64_t asked = (missing + k - 1) / k * k;  // whole pages of zone k
    if (!makeRoomBelow(k, asked, dryRun)) return false;
    const std::int64_t target = gapAbove(k) + missing;
    if (pagesIn(k) == 0) {
        h_.zoneStart[k] -= static_cast<std::uint32_t>(asked);
        h_.zoneEnd[k] -= static_cast<std::uint32_t>(asked);
        return true;
    }
    while (gapAbove(k) < target) {
        move(static_cast<PageNumber>(h_.zoneEnd[k]) - k,
             static_cast<PageNumber>(h_.zoneStart[k]) - k, dryRun);
        h_.zoneStart[k] -= static_cast<std::uint32_t>(k);
        h_.zoneEnd[k] -= static_cast<std::uint32_t>(k);
    }
    return true;
}

void ZoneAllocator::makeRoomAbove(int k, std::int64_t units) {
    if (k == kSizeClasses || gapAbove(k) >= units) return;
    const int next = k + 1;
    if (pagesIn(next) > 1) {
        makeRoomAbove(next, next);
        move(h_.zoneStart[next], h_.zoneEnd[next], false);
        h_.zoneStart[next] += static_cast<std::uint32_t>(next);
        h_.zoneEnd[next] += static_cast<std::uint32_t>(next);
        return;
    }
    const std::int64_t missing = units - gapAbove(k);
    makeRoomAbove(next, missing);
    if (pagesIn(next) == 1) move(h_.zoneStart[next], h_.zoneStart[next] + missing, false);
    h_.zoneStart[next] += static_cast<std::uint32_t>(missing);
    h_.zoneEnd[next] += static_cast<std::uint32_t>(missing);
}

PageNumber ZoneAllocator::take(int n) {
    // Below first, when the gap is there or the lower zones can slide to make it; try on a copy
    // so that a slide that cannot succeed moves nothing.
    {
        FileHeader saved = h_;
        const bool possible = makeRoomBelow(n, n, true);
        h_ = saved;
        if (possible) {
            const bool made = makeRoomBelow(n, n, false);
            (void)made;
            h_.zoneStart[n] -= static_cast<std::uint32_t>(n);
            return h_.zoneStart[n];
        }
    }
    makeRoomAbove(n, n);
    const PageNumber p = h_.zoneEnd[n];
    h_.zoneEnd[n] += static_cast<std::uint32_t>(n);
    return p;
}

void ZoneAllocator::compact() {
    for (int n = 2; n <= kSizeClasses; ++n) {
        const std::uint32_t floor = h_.zoneEnd[n - 1];
        const std::int64_t pages = pagesIn(n);
        if (pages <= 1) {
            if (pages == 1) move(h_.zoneStart[n], floor, false);
            h_.zoneStart[n] = floor;
            h_.zoneEnd[n] = floor + static_cast<std::uint32_t>(pages * n);
            continue;
        }
        while (gapBelow(n) >= n) {
            move(static_cast<PageNumber>(h_.zoneEnd[n]) - n,
                 static_cast<PageNumber>(h_.zoneStart[n]) - n, false);
            h_.zoneStart[n] -= static_cast<std::uint32_t>(n);
            h_.zoneEnd[n] -= static_cast<std::uint32_t>(n);
        }
    }
}

}  // namespace quillery::storage
