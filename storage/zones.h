// Placement of pages in the page area. Pages of size class n (n 256-byte units) lie in zone n,
// contiguous, zones in ascending order of class; free space exists only between zones. Every
// rule here moves whole pages, through the PageMover, and keeps that shape.
#pragma once

#include "storage/file_header.h"

namespace quillery::storage {

// Gives the page numbered `from` the number `to` and updates the one reference to it.
// Called before the zone arrays change, so `from` is still inside its zone.
class PageMover {
  public:
    virtual ~PageMover() = default;
    virtual void movePage(PageNumber from, PageNumber to) = 0;
};

class ZoneAllocator {
  public:
    ZoneAllocator(FileHeader& header, PageMover& mover) : h_(header), mover_(mover) {}

    // Frees the place of page `p` of class `n` (its page must already be elsewhere): the last
    // page of the zone moves into it. Give places back from the highest number down.
    void giveBack(PageNumber p, int n);

    // A free place for one page of class `n`: below the zone when the gap there is, or can be
    // made, wide enough by sliding lower zones down; otherwise above, making room.
    PageNumber take(int n);

    // Closes gaps: a zone of at most one page moves to the end of the zone below; a larger zone
    // moves its last pages into the gap below its first.
    void compact();

  private:
    std::int64_t gapBelow(int n) const;
    std::int64_t gapAbove(int k) const;
    std::int64_t pagesIn(int k) const;
    bool makeRoomBelow(int k, std::int64_t units, bool dryRun);
    bool slideDown(int k, std::int64_t units, bool dryRun);
    void makeRoomAbove(int k, std::int64_t units);
    void move(PageNumber from, PageNumber to, bool dryRun);

    FileHeader& h_;
    PageMover& mover_;
};

}  // namespace quillery::storage
