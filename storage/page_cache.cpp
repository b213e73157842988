// The page cache's buckets.
#include "storage/page_cache.h"

namespace quillery::storage {

CachedPage* PageCache::find(PageNumber p) {
    std::unique_ptr<CachedPage>* slot = slotOf(p);
    return slot == nullptr ? nullptr : slot->get();
}

std::unique_ptr<CachedPage>& PageCache::placeFor(PageNumber p) {
    const std::uint64_t rank = rankOf(p);
    Bucket& b = buckets_[rank % kBuckets];
    const std::uint64_t at = rank / kBuckets;
    if (at >= b.size()) b.resize(at + 1);
    return b[at];
}

CachedPage* PageCache::insert(std::unique_ptr<CachedPage> page) {
    std::unique_ptr<CachedPage>& slot = placeFor(page->number);
    if (!slot) {
        slot = std::move(page);
        ++size_;
    }
    return slot.get();
}

std::unique_ptr<CachedPage> PageCache::remove(PageNumber p) {
    std::unique_ptr<CachedPage>* slot = slotOf(p);
    if (slot == nullptr || !*slot) return nullptr;
    --size_;
    return std::move(*slot);
}

void PageCache::renumber(PageNumber from, PageNumber to) {
    std::unique_ptr<CachedPage> page = std::move(*slotOf(from));
    page->number = to;
    placeFor(to) = std::move(page);
}

void PageCache::clear() {
    for (Bucket& b : buckets_)
        b.clear();
    size_ = 0;
}

}  // namespace quillery::storage
