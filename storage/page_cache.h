// Decoded pages kept in memory, in 100 buckets by page number. The cache is valid while the
// header's change counter is unchanged; a changed page stays in it until the commit writes it.
//
// Page numbers are dense (pages fill their zones from the start, temporary numbers count down
// from -1), so each bucket is a row indexed by the number's rank within the bucket: a lookup
// is one division and one load, which matters because every step of every search makes one.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "storage/page_codec.h"

namespace quillery::storage {

struct CachedPage {
    PageNumber number = 0;
    PageContent content;
    std::uint32_t fill = kPageHeaderSize;
    // The entries or level changed since `image` was built; the image must be rebuilt.
    bool contentChanged = false;
    // The page must be written at the next commit (changed, new or moved).
    bool needsWrite = false;
    // Listed among the data file's changed pages.
    bool listed = false;
    // The stored image (padded), valid while !contentChanged. Offset and children are patched
    // in just before it is written.
    Bytes image;
    // What changed in the entries since `image` was made.
    EntryChanges changes;

    bool isLeaf() const { return content.level == 0; }
    std::size_t count() const { return content.entries.size(); }
    int sizeClass() const { return static_cast<int>(image.size() / kPageUnit); }
};

// One step of a descent through the tree: an index page and the child taken.
struct TreeStep {
    CachedPage* page;
    std::size_t index;
};

class PageCache {
  public:
    static constexpr int kBuckets = 100;

    CachedPage* find(PageNumber p);
    CachedPage* insert(std::unique_ptr<CachedPage> page);
    std::unique_ptr<CachedPage> remove(PageNumber p);
    // Gives the cached page `from` the number `to`. Requires: `from` cached, `to` not.
    void renumber(PageNumber from, PageNumber to);
    void clear();
    std::size_t size() const { return size_; }

  private:
    using Bucket = std::vector<std::unique_ptr<CachedPage>>;
    // Placed pages take the even ranks, temporary ones the odd ranks.
    static std::uint64_t rankOf(PageNumber p) {
        return p >= 0 ? 2 * static_cast<std::uint64_t>(p) : 2 * static_cast<std::uint64_t>(-p) - 1;
    }
    std::unique_ptr<CachedPage>* slotOf(PageNumber p) {
        const std::uint64_t rank = rankOf(p);
        Bucket& b = buckets_[rank % kBuckets];
        const std::uint64_t at = rank / kBuckets;
        return at < b.size() ? &b[at] : nullptr;
    }
    std::unique_ptr<CachedPage>& placeFor(PageNumber p);
    std::array<Bucket, kBuckets> buckets_;
    std::size_t size_ = 0;
};

}  // namespace quillery::storage
