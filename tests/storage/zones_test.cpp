// The zone rules on bare zone arrays: which page moves where, and the arrays afterwards.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "storage/zones.h"

namespace quillery::storage {
namespace {

class RecordingMover : public PageMover {
  public:
    void movePage(PageNumber from, PageNumber to) override { moves.emplace_back(from, to); }
    std::vector<std::pair<PageNumber, PageNumber>> moves;
};

using Moves = std::vector<std::pair<PageNumber, PageNumber>>;

void setZone(FileHeader& h, int n, std::uint32_t start, std::uint32_t end) {
    h.zoneStart[n] = start;
    h.zoneEnd[n] = end;
}

// Empty zones above `from` all sit at `at`.
void expectEmptyFrom(const FileHeader& h, int from, std::uint32_t at) {
    for (int n = from; n <= kSizeClasses; ++n) {
        EXPECT_EQ(h.zoneStart[n], at) << n;
        EXPECT_EQ(h.zoneEnd[n], at) << n;
    }
}

TEST(Zones, FirstPlacesInAFreshFile) {
    FileHeader h = freshHeader();
    RecordingMover mover;
    ZoneAllocator zones(h, mover);
    EXPECT_EQ(zones.take(1), 0);
    EXPECT_EQ(h.zoneEnd[1], 1u);
    expectEmptyFrom(h, 2, 1);
    // A class-2 page goes above zone 1; the empty zones above move up by 2.
    EXPECT_EQ(zones.take(2), 1);
    EXPECT_EQ(h.zoneStart[2], 1u);
    EXPECT_EQ(h.zoneEnd[2], 3u);
    expectEmptyFrom(h, 3, 3);
    EXPECT_TRUE(mover.moves.empty());
}

TEST(Zones, TakingAboveMovesASinglePageUpByTheMissingUnits) {
    FileHeader h = freshHeader();
    setZone(h, 1, 0, 1);
    setZone(h, 2, 1, 3);
    for (int n = 3; n <= kSizeClasses; ++n)
        setZone(h, n, 3, 3);
    RecordingMover mover;
    ZoneAllocator zones(h, mover);
    EXPECT_EQ(zones.take(1), 1);
    EXPECT_EQ(mover.moves, (Moves{{1, 2}}));
    EXPECT_EQ(h.zoneEnd[1], 2u);
    EXPECT_EQ(h.zoneStart[2], 2u);
    EXPECT_EQ(h.zoneEnd[2], 4u);
    expectEmptyFrom(h, 3, 4);
}

TEST(Zones, TakingAboveMovesTheFirstPageOfALargerZoneToItsEnd) {
    FileHeader h = freshHeader();
    setZone(h, 1, 0, 2);
    setZone(h, 2, 2, 8);  // three pages
    for (int n = 3; n <= kSizeClasses; ++n)
        setZone(h, n, 8, 8);
    RecordingMover mover;
    ZoneAllocator zones(h, mover);
    EXPECT_EQ(zones.take(1), 2);
    EXPECT_EQ(mover.moves, (Moves{{2, 8}}));
    EXPECT_EQ(h.zoneEnd[1], 3u);
    EXPECT_EQ(h.zoneStart[2], 4u);
    EXPECT_EQ(h.zoneEnd[2], 10u);
    expectEmptyFrom(h, 3, 10);
}

TEST(Zones, TakingBelowSlidesTheLowerZoneDown) {
    FileHeader h = freshHeader();
    setZone(h, 1, 0, 1);
    setZone(h, 2, 5, 9);   // two pages, a gap of 4 below
    setZone(h, 3, 9, 12);  // one page, no gap below
    for (int n = 4; n <= kSizeClasses; ++n)
        setZone(h, n, 12, 12);
    RecordingMover mover;
    ZoneAllocator zones(h, mover);
    EXPECT_EQ(zones.take(3), 6);
    // Zone 2 is asked for 4 units (3 rounded up to its pages): both its pages slide down.
    EXPECT_EQ(mover.moves, (Moves{{7, 3}, {5, 1}}));
    EXPECT_EQ(h.zoneStart[2], 1u);
    EXPECT_EQ(h.zoneEnd[2], 5u);
    EXPECT_EQ(h.zoneStart[3], 6u);
    EXPECT_EQ(h.zoneEnd[3], 12u);
}

TEST(Zones, ZoneOneNeverSlides) {
    FileHeader h = freshHeader();
    setZone(h, 1, 2, 4);  // a gap of 2 below zone 1 itself
    setZone(h, 2, 4, 6);
    for (int n = 3; n <= kSizeClasses; ++n)
        setZone(h, n, 6, 6);
    RecordingMover mover;
    ZoneAllocator zones(h, mover);
    // Zone 2 cannot be served below (zone 1 would have to slide): it grows above.
    EXPECT_EQ(zones.take(2), 6);
    EXPECT_TRUE(mover.moves.empty());
    // Zone 1 itself uses the gap below it.
    EXPECT_EQ(zones.take(1), 1);
    EXPECT_EQ(h.zoneStart[1], 1u);
}

TEST(Zones, GivingBackMovesTheLastPageIntoTheHole) {
    FileHeader h = freshHeader();
    setZone(h, 1, 0, 4);
    for (int n = 2; n <= kSizeClasses; ++n)
        setZone(h, n, 4, 4);
    RecordingMover mover;
    ZoneAllocator zones(h, mover);
    zones.giveBack(1, 1);
    EXPECT_EQ(mover.moves, (Moves{{3, 1}}));
    EXPECT_EQ(h.zoneEnd[1], 3u);
    zones.giveBack(2, 1);  // the last page itself: nothing moves
    EXPECT_EQ(mover.moves.size(), 1u);
    EXPECT_EQ(h.zoneEnd[1], 2u);
}

TEST(Zones, CompactionClosesEveryGap) {
    FileHeader h = freshHeader();
    setZone(h, 1, 0, 1);
    setZone(h, 2, 3, 5);    // one page with a gap of 2 below: moves to the end of zone 1
    setZone(h, 3, 8, 14);   // two pages: once zone 2 moved the gap below is 5, one page moves
    setZone(h, 4, 20, 20);  // empty: joins the end of zone 3
    for (int n = 5; n <= kSizeClasses; ++n)
        setZone(h, n, 20, 20);
    RecordingMover mover;
    ZoneAllocator zones(h, mover);
    zones.compact();
    EXPECT_EQ(mover.moves, (Moves{{3, 1}, {11, 5}}));
    EXPECT_EQ(h.zoneStart[2], 1u);
    EXPECT_EQ(h.zoneEnd[2], 3u);
    // A gap narrower than one page of the zone stays.
    EXPECT_EQ(h.zoneStart[3], 5u);
    EXPECT_EQ(h.zoneEnd[3], 11u);
    expectEmptyFrom(h, 4, 11);
}

}  // namespace
}  // namespace quillery::storage
