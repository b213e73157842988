// Search, insertion with splits and root growth, and deletion in the B-tree.
#include "storage/btree.h"

#include <algorithm>

#include "runtime/errors.h"
#include "storage/storage_fault.h"

namespace quillery::storage {
namespace {

std::size_t lowerBound(const CachedPage& page, const SearchKey& key) {
    const auto& e = page.content.entries;
    return static_cast<std::size_t>(std::lower_bound(e.begin(), e.end(), key,
                                                     [](const Entry& a, const SearchKey& k) {
                                                         return compareHeaded(a.head(), a.key(),
                                                                              k.head, k.bytes) < 0;
                                                     }) -
                                    e.begin());
}

std::size_t upperBound(const CachedPage& page, const SearchKey& key) {
    const auto& e = page.content.entries;
    return static_cast<std::size_t>(
        std::upper_bound(e.begin(), e.end(), key,
                         [](const SearchKey& k, const Entry& a) {
                             return compareHeaded(k.head, k.bytes, a.head(), a.key()) < 0;
                         }) -
        e.begin());
}

void checkLimits(ByteView key, ByteView data) {
    if (key.size() > kMaxKeyLength || key.size() + data.size() > kMaxEntryLength)
        storageFault(FaultCheck::kEntryTooLong);
}

}  // namespace

std::size_t Tree::childIndexFor(const CachedPage& page, const SearchKey& key) {
    const std::size_t after = upperBound(page, key);
    return after == 0 ? 0 : after - 1;
}

std::size_t Tree::childIndexFor(const CachedPage& page, ByteView key) {
    return childIndexFor(page, SearchKey(key));
}

CachedPage& Tree::child(CachedPage& parent, std::size_t index) {
    CachedPage& c = file_.page(parent.content.children[index]);
    if (c.content.level + 1 != parent.content.level) storageFault(FaultCheck::kTreeLevel);
    if (c.count() == 0) storageFault(FaultCheck::kTreeEmptyPage);
    return c;
}

CachedPage& Tree::descend(ByteView key, std::vector<Step>& path) {
    return descend(SearchKey(key), path);
}

CachedPage& Tree::descend(const SearchKey& key, std::vector<Step>& path) {
    path.clear();
    CachedPage* at = &file_.page(file_.root());
    while (at->content.level > 0) {
        if (at->count() == 0) storageFault(FaultCheck::kTreeEmptyPage);
        const std::size_t i = childIndexFor(*at, key);
        path.push_back({at, i});
        at = &child(*at, i);
    }
    return *at;
}

CachedPage& Tree::descendEdge(CachedPage* at, std::vector<Step>& path, bool last) {
    while (at->content.level > 0) {
        if (at->count() == 0) storageFault(FaultCheck::kTreeEmptyPage);
        const std::size_t i = last ? at->count() - 1 : 0;
        path.push_back({at, i});
        at = &child(*at, i);
    }
    return *at;
}

bool Tree::nextLeaf(std::vector<Step>& path, CachedPage*& leaf) {
    while (!path.empty() && path.back().index + 1 >= path.back().page->count())
        path.pop_back();
    if (path.empty()) return false;
    Step& s = path.back();
    ++s.index;
    leaf = &descendEdge(&child(*s.page, s.index), path, false);
    return true;
}

bool Tree::previousLeaf(std::vector<Step>& path, CachedPage*& leaf) {
    while (!path.empty() && path.back().index == 0)
        path.pop_back();
    if (path.empty()) return false;
    Step& s = path.back();
    --s.index;
    leaf = &descendEdge(&child(*s.page, s.index), path, true);
    return true;
}

bool Tree::find(ByteView bytes, Bytes* data) {
    const SearchKey key(bytes);
    std::vector<Step>& path = file_.descentPath();
    CachedPage& leaf = descend(key, path);
    const std::size_t pos = lowerBound(leaf, key);
    if (pos == leaf.count() || compareBytes(leaf.content.entries[pos].key(), bytes) != 0)
        return false;
    if (data != nullptr) {
        const ByteView d = leaf.content.entries[pos].data();
        data->assign(d.begin(), d.end());
    }
    return true;
}

// ---- keeping separators equal to each child's lowest key -------------------------------------

void Tree::refreshSeparators(std::vector<Step>& path, CachedPage* changed) {
    for (std::size_t d = path.size(); d-- > 0;) {
        Step& s = path[d];
        if (changed->count() == 0) return;
        const ByteView lowest = changed->content.entries.front().key();
        Entry& separator = s.page->content.entries[s.index];
        if (compareBytes(separator.key(), lowest) == 0 && separator.data().empty()) return;
        s.page->fill -= entryFill(separator, true);
        separator = makeEntry(lowest, {});
        s.page->changes.replaced(s.index, s.page->count());
        s.page->fill += entryFill(separator, true);
        file_.markChanged(*s.page);
        if (s.index != 0) return;
        changed = s.page;
    }
}

// ---- splitting -------------------------------------------------------------------------------

bool Tree::needsSplit(const CachedPage& page) {
    if (page.count() < 2) return false;
    return page.fill > kSplitFill ||
           (page.fill > kSplitFillMany && page.count() > kSplitEntryCount);
}

// The lower half stays, the upper half moves to a new page of the same level whose lowest key
// joins the parent right after the page. With an odd count the middle entry goes up with the
// upper half, the halves being equal without it.
void Tree::split(CachedPage& parent, std::size_t index) {
    CachedPage& lower = child(parent, index);
    CachedPage& upper = file_.newPage(lower.content.level);
    const std::size_t keep = lower.count() / 2;
    auto& from = lower.content.entries;
    upper.content.entries.assign(
        std::make_move_iterator(from.begin() + static_cast<std::ptrdiff_t>(keep)),
        std::make_move_iterator(from.end()));
    from.resize(keep);
    lower.changes.truncated(keep);
    if (lower.content.level > 0) {
        auto& kids = lower.content.children;
        upper.content.children.assign(kids.begin() + static_cast<std::ptrdiff_t>(keep), kids.end());
        kids.resize(keep);
    }
    // The moved entries may view the lower page's decoded blocks.
    upper.content.blocks = lower.content.blocks;
    lower.fill = fillMeasure(lower.content);
    upper.fill = fillMeasure(upper.content);
    file_.markChanged(lower);
    Entry separator = makeEntry(upper.content.entries.front().key(), {});
    parent.fill += entryFill(separator, true);
    parent.content.entries.insert(
        parent.content.entries.begin() + static_cast<std::ptrdiff_t>(index + 1),
        std::move(separator));
    parent.changes.inserted(index + 1, parent.count());
    parent.content.children.insert(
        parent.content.children.begin() + static_cast<std::ptrdiff_t>(index + 1), upper.number);
    file_.markChanged(parent);
}

void Tree::settle(CachedPage& parent, std::size_t index) {
    if (!needsSplit(child(parent, index))) return;
    split(parent, index);
    settle(parent, index + 1);
    settle(parent, index);
}

void Tree::settlePath(std::vector<Step>& path) {
    for (std::size_t d = path.size(); d-- > 0;)
        if (path[d].index < path[d].page->count()) settle(*path[d].page, path[d].index);
    settleRoot();
}

// A root that must split keeps its page number: its entries move to a new page below it and
// that page is split under the root.
void Tree::settleRoot() {
    while (true) {
        CachedPage& root = file_.page(file_.root());
        if (!needsSplit(root)) return;
        CachedPage& moved = file_.newPage(root.content.level);
        moved.content.entries = std::move(root.content.entries);
        moved.content.children = std::move(root.content.children);
        moved.content.blocks = std::move(root.content.blocks);
        root.content.blocks.clear();
        moved.fill = root.fill;
        root.content.entries.clear();
        root.content.children.clear();
        root.content.level = static_cast<std::uint8_t>(moved.content.level + 1);
        root.changes.forget();
        root.content.entries.push_back(makeEntry(moved.content.entries.front().key(), {}));
        root.content.children.push_back(moved.number);
        root.fill = fillMeasure(root.content);
        file_.markChanged(root);
        settle(root, 0);
    }
}

// ---- changes ---------------------------------------------------------------------------------

Status Tree::insert(ByteView bytes, ByteView data) {
    checkLimits(bytes, data);
    const SearchKey key(bytes);
    std::vector<Step>& path = file_.descentPath();
    CachedPage& leaf = descend(key, path);
    const std::size_t pos = lowerBound(leaf, key);
    if (pos < leaf.count() && compareBytes(leaf.content.entries[pos].key(), bytes) == 0)
        return Status::error(ErrorCode::kCreatesDuplicateKey);
    Entry e = makeEntry(bytes, data);
    leaf.fill += entryFill(e, false);
    leaf.content.entries.insert(leaf.content.entries.begin() + static_cast<std::ptrdiff_t>(pos),
                                std::move(e));
    leaf.changes.inserted(pos, leaf.count());
    file_.markChanged(leaf);
    if (pos == 0) refreshSeparators(path, &leaf);
    // Nothing above the leaf changed unless it splits or its lowest key moved.
    if (pos == 0 || needsSplit(leaf)) settlePath(path);
    return Status::success();
}

void Tree::put(ByteView bytes, ByteView data) {
    checkLimits(bytes, data);
    const SearchKey key(bytes);
    std::vector<Step>& path = file_.descentPath();
    CachedPage& leaf = descend(key, path);
    const std::size_t pos = lowerBound(leaf, key);
    Entry e = makeEntry(bytes, data);
    if (pos < leaf.count() && compareBytes(leaf.content.entries[pos].key(), bytes) == 0) {
        Entry& old = leaf.content.entries[pos];
        leaf.fill -= entryFill(old, false);
        old = std::move(e);
        leaf.fill += entryFill(old, false);
        leaf.changes.replaced(pos, leaf.count());
    } else {
        leaf.fill += entryFill(e, false);
        leaf.content.entries.insert(leaf.content.entries.begin() + static_cast<std::ptrdiff_t>(pos),
                                    std::move(e));
        leaf.changes.inserted(pos, leaf.count());
        if (pos == 0) refreshSeparators(path, &leaf);
    }
    file_.markChanged(leaf);
    if (pos == 0 || needsSplit(leaf)) settlePath(path);
}

// An emptied page is freed and its separator leaves the parent, which may empty in turn; a page
// that lost its lowest entry passes its new lowest key up.
Status Tree::erase(ByteView bytes) {
    const SearchKey key(bytes);
    std::vector<Step>& path = file_.descentPath();
    CachedPage* page = &descend(key, path);
    std::size_t pos = lowerBound(*page, key);
    if (pos == page->count() || compareBytes(page->content.entries[pos].key(), bytes) != 0)
        return Status::error(ErrorCode::kEntryNotFound);
    page->fill -= entryFill(page->content.entries[pos], false);
    page->content.entries.erase(page->content.entries.begin() + static_cast<std::ptrdiff_t>(pos));
    page->changes.erased(pos, page->count());
    file_.markChanged(*page);
    while (page->count() == 0 && !path.empty()) {
        Step s = path.back();
        path.pop_back();
        file_.freePage(*page);
        CachedPage* parent = s.page;
        parent->fill -= entryFill(parent->content.entries[s.index], true);
        parent->content.entries.erase(parent->content.entries.begin() +
                                      static_cast<std::ptrdiff_t>(s.index));
        parent->content.children.erase(parent->content.children.begin() +
                                       static_cast<std::ptrdiff_t>(s.index));
        parent->changes.erased(s.index, parent->count());
        file_.markChanged(*parent);
        page = parent;
        pos = s.index;
    }
    if (page->count() == 0) {
        // The root lost its last child: it is an empty leaf again.
        page->content.level = 0;
        page->changes.forget();
        page->fill = kPageHeaderSize;
        return Status::success();
    }
    if (pos == 0) refreshSeparators(path, page);
    settlePath(path);
    return Status::success();
}

// ---- cursor ----------------------------------------------------------------------------------

bool TreeCursor::land(bool found) {
    valid_ = found;
    generation_ = file_.generation();
    if (found) {
        const ByteView k = key();
        lastKey_.assign(k.begin(), k.end());
    }
    return found;
}

bool TreeCursor::seekCeiling(ByteView bytes) {
    const SearchKey key(bytes);
    leaf_ = &tree_.descend(key, path_);
    index_ = lowerBound(*leaf_, key);
    while (index_ >= leaf_->count()) {
        if (!tree_.nextLeaf(path_, leaf_)) return land(false);
        index_ = 0;
    }
    return land(true);
}

bool TreeCursor::seekAfter(ByteView bytes) {
    const SearchKey key(bytes);
    leaf_ = &tree_.descend(key, path_);
    index_ = upperBound(*leaf_, key);
    while (index_ >= leaf_->count()) {
        if (!tree_.nextLeaf(path_, leaf_)) return land(false);
        index_ = 0;
    }
    return land(true);
}

bool TreeCursor::seekStrictFloor(ByteView bytes) {
    const SearchKey key(bytes);
    leaf_ = &tree_.descend(key, path_);
    std::size_t pos = lowerBound(*leaf_, key);
    while (pos == 0) {
        if (!tree_.previousLeaf(path_, leaf_)) return land(false);
        pos = leaf_->count();
    }
    index_ = pos - 1;
    return land(true);
}

bool TreeCursor::seekFirst() {
    return seekCeiling({});
}

bool TreeCursor::seekLast() {
    path_.clear();
    CachedPage* at = &file_.page(file_.root());
    while (at->content.level > 0) {
        if (at->count() == 0) storageFault(FaultCheck::kTreeEmptyPage);
        path_.push_back({at, at->count() - 1});
        CachedPage& c = file_.page(at->content.children.back());
        if (c.content.level + 1 != at->content.level) storageFault(FaultCheck::kTreeLevel);
        at = &c;
    }
    leaf_ = at;
    if (leaf_->count() == 0) return land(false);
    index_ = leaf_->count() - 1;
    return land(true);
}

bool TreeCursor::next() {
    if (!valid_) return false;
    if (stale()) {
        const Bytes from = lastKey_;
        return seekAfter(from);
    }
    if (++index_ < leaf_->count()) return land(true);
    while (true) {
        if (!tree_.nextLeaf(path_, leaf_)) return land(false);
        index_ = 0;
        if (leaf_->count() > 0) return land(true);
    }
}

bool TreeCursor::previous() {
    if (!valid_) return false;
    if (stale()) {
        const Bytes from = lastKey_;
        return seekStrictFloor(from);
    }
    if (index_ > 0) {
        --index_;
        return land(true);
    }
    while (true) {
        if (!tree_.previousLeaf(path_, leaf_)) return land(false);
        if (leaf_->count() > 0) {
            index_ = leaf_->count() - 1;
            return land(true);
        }
    }
}

// ---- scoped searches -------------------------------------------------------------------------

bool inScope(ByteView key, const Scope& scope) {
    return key.size() >= scope.size() && std::equal(scope.begin(), scope.end(), key.begin());
}

bool firstInScope(TreeCursor& cursor, const Scope& scope) {
    return cursor.seekCeiling(scope) && inScope(cursor.key(), scope);
}

bool lastInScope(TreeCursor& cursor, const Scope& scope) {
    Scope after = scope;
    int i = static_cast<int>(after.size()) - 1;
    while (i >= 0 && ++after[static_cast<std::size_t>(i)] == 0)
        --i;
    const bool found = i < 0 ? cursor.seekLast() : cursor.seekStrictFloor(after);
    return found && inScope(cursor.key(), scope);
}

bool ceilingInScope(TreeCursor& cursor, const Scope& scope, ByteView key) {
    return cursor.seekCeiling(key) && inScope(cursor.key(), scope);
}

bool afterInScope(TreeCursor& cursor, const Scope& scope, ByteView key) {
    return cursor.seekAfter(key) && inScope(cursor.key(), scope);
}

bool strictFloorInScope(TreeCursor& cursor, const Scope& scope, ByteView key) {
    return cursor.seekStrictFloor(key) && inScope(cursor.key(), scope);
}

bool exactInScope(TreeCursor& cursor, const Scope& scope, ByteView key) {
    return cursor.seekCeiling(key) && inScope(cursor.key(), scope) &&
           compareBytes(cursor.key(), key) == 0;
}

}  // namespace quillery::storage
