// The page cache's buckets.
#include "storage/page_cache.h"

namespace quillery::storage {

CachedPage* PageCache::find(PageNumber p) {
    Bucket& b = bucketOf(p);
    const auto it = b.find(p);
    return it == b.end() ? nullptr : it->second.get();
}

CachedPage* PageCache::insert(std::unique_ptr<CachedPage> page) {
    CachedPage* raw = page.get();
    auto [it, inserted] = bucketOf(raw->number).emplace(raw->number, std::move(page));
    if (inserted) ++size_;
    return it->second.get();
}

std::unique_ptr<CachedPage> PageCache::remove(PageNumber p) {
    Bucket& b = bucketOf(p);
    const auto it = b.find(p);
    if (it == b.end()) return nullptr;
    std::unique_ptr<CachedPage> page = std::move(it->second);
    b.erase(it);
    --size_;
    return page;
}

void PageCache::renumber(PageNumber from, PageNumber to) {
    auto node = bucketOf(from).extract(from);
    node.key() = to;
    node.mapped()->number = to;
    bucketOf(to).insert(std::move(node));
}

void PageCache::clear() {
    for (Bucket& b : buckets_)
        b.clear();
    size_ = 0;
}

void PageCache::dropClean() {
    for (Bucket& b : buckets_) {
        for (auto it = b.begin(); it != b.end();) {
            if (!it->second->needsWrite && !it->second->contentChanged) {
                it = b.erase(it);
                --size_;
            } else {
                ++it;
            }
        }
    }
}

void PageCache::forEach(const std::function<void(CachedPage&)>& visit) {
    for (Bucket& b : buckets_)
        for (auto& [number, page] : b)
            visit(*page);
}

}  // namespace quillery::storage
