// Decoded pages kept in memory, in 100 buckets by page number. The cache is valid while the
// header's change counter is unchanged; a changed page stays in it until the commit writes it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>

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

    bool isLeaf() const { return content.level == 0; }
    std::size_t count() const { return content.entries.size(); }
    int sizeClass() const { return static_cast<int>(image.size() / kPageUnit); }
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
    // Drops every page that need not be written.
    void dropClean();
    std::size_t size() const { return size_; }
    void forEach(const std::function<void(CachedPage&)>& visit);

  private:
    using Bucket = std::unordered_map<PageNumber, std::unique_ptr<CachedPage>>;
    Bucket& bucketOf(PageNumber p) {
        return buckets_[static_cast<std::size_t>(((p % kBuckets) + kBuckets) % kBuckets)];
    }
    std::array<Bucket, kBuckets> buckets_;
    std::size_t size_ = 0;
};

}  // namespace quillery::storage
