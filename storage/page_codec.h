// The layout of a page as stored at its offset (its length is its size class x 256):
//
//   offset  width      field
//   0x00    u32        the page's own file offset (0x200 + 256 x page number); in the pending
//                      log, the offset where the block belongs
//   0x04    u16        stored length: 13 + child array + body as stored, before padding
//   0x06    u16        uncompressed length: 13 + child array + body uncompressed
//   0x08    u16        fill measure: 13 + 4 x entries (index pages) + sum of (entry length + 5)
//   0x0A    u16        entry count
//   0x0C    u8         level: 0 leaf, 1 and up index pages
//   0x0D    4 x count  index pages only: child page numbers (u32), in entry order
//   then               body: the entries (entry_encoding.h), run-length compressed or not
//   ..end              padding, every byte 0xB0
//
// The body is kept compressed only when that saves at least one 256-byte unit.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "storage/entry_encoding.h"
#include "storage/file_header.h"

namespace quillery::storage {

inline constexpr std::size_t kPageHeaderSize = 13;
inline constexpr std::size_t kMaxPageSize = 0x3B00;
inline constexpr std::uint8_t kPaddingByte = 0xB0;
// A page splits when its fill measure passes kSplitFill, or passes kSplitFillMany while it holds
// more than kSplitEntryCount entries.
inline constexpr std::uint32_t kSplitFill = 0x3AF6;
inline constexpr std::uint32_t kSplitFillMany = 0x1000;
inline constexpr std::size_t kSplitEntryCount = 20;
// The longest entry and key that still fit a page of their own, uncompressed: a leaf holds
// 13 + 5 + entry bytes, an index page 13 + 4 + 5 + key bytes, and neither may pass 0x3B00.
inline constexpr std::size_t kMaxEntryLength = kMaxPageSize - kPageHeaderSize - 5;
inline constexpr std::size_t kMaxKeyLength = kMaxPageSize - kPageHeaderSize - 4 - 5;

struct PageContent {
    std::uint8_t level = 0;
    std::vector<Entry> entries;
    std::vector<PageNumber> children;  // index pages: one per entry
    // The decoded blocks that entries of this page view: the page's own, and those of the
    // pages its entries came from in a split.
    std::vector<std::shared_ptr<std::uint8_t[]>> blocks;
};

// Which entries of a page changed since its stored image was made, so that making the image
// again can keep the encoded bytes of the entries before and after the change: the entries
// before `firstChanged` and the last `unchangedTail` entries are as they were.
struct EntryChanges {
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t firstChanged = kNone;  // kNone: no change noted
    std::size_t unchangedTail = kNone;
    bool unknown = false;  // a change not followed: the image is made from scratch

    void inserted(std::size_t at, std::size_t countAfter) { note(at, countAfter - at - 1); }
    void erased(std::size_t at, std::size_t countAfter) { note(at, countAfter - at); }
    void replaced(std::size_t at, std::size_t count) { note(at, count - at - 1); }
    // Everything from `keep` on is gone.
    void truncated(std::size_t keep) { note(keep, 0); }
    void forget() { unknown = true; }
    void clear() { *this = EntryChanges{}; }

  private:
    void note(std::size_t first, std::size_t tail) {
        firstChanged = std::min(firstChanged, first);
        unchangedTail = std::min(unchangedTail, tail);
    }
};

std::uint32_t entryFill(const Entry& e, bool indexPage);
std::uint32_t fillMeasure(const PageContent& page);

inline std::size_t roundUpToUnit(std::size_t n) {
    return (n + kPageUnit - 1) / kPageUnit * kPageUnit;
}

// The padded stored image of `page`, compressed when that saves a unit. The offset field and
// the child array are left zero: patchPageImage fills them when the page's place is known.
// An image over 0x3B00 bytes is a fatal fault.
Bytes buildPageImage(const PageContent& page);
// Makes the image of `page`, whose fill measure is `fill`, into `image`, from `old` (the image
// the page had before `changes`) where the changes allow, else from scratch; the result is the
// same either way. False when the image would pass 0x3B00 bytes.
bool tryRebuildPageImage(const PageContent& page, std::uint32_t fill, const EntryChanges& changes,
                         ByteView old, Bytes& image);

// As buildPageImage, but an image that would pass 0x3B00 bytes returns false instead.
bool tryBuildPageImage(const PageContent& page, Bytes& image);
// The same for a page whose fill measure is known to be `fill`, which saves walking the entries
// for it.
bool tryBuildPageImage(const PageContent& page, std::uint32_t fill, Bytes& image);

// Writes the page's own offset and its current child page numbers into its image. A child that
// still has a temporary number is a fatal fault.
void patchPageImage(Bytes& image, std::uint64_t ownOffset, std::span<const PageNumber> children);

enum class PageDefect {
    kNone,
    kOffsetField,
    kSizeAgainstZone,
    kLengths,
    kDecompression,
    kEntryEncoding,
    kEntryOrder,
};

// Decodes the image of a page read at `expectedOffset`. Nothing in `image` is trusted.
PageDefect parsePageImage(ByteView image, std::uint64_t expectedOffset, PageContent& out);

}  // namespace quillery::storage
