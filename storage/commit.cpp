// The two-step commit: placing changed pages in their zones, writing them through the pending
// log, and copying them into place. The order of writes and flushes below is what makes a crash
// at any point leave either the state before the commit or the state after it.
#include "storage/data_file.h"

#include <algorithm>
#include <map>

#include "runtime/errors.h"
#include "storage/btree.h"
#include "storage/storage_fault.h"

namespace quillery::storage {
namespace {

// Gathers writes of consecutive offsets into one transfer.
class WriteRun {
  public:
    // Runs alive at the same time use different `slot`s.
    WriteRun(std::function<void(std::uint64_t, std::span<const std::uint8_t>)> sink, int slot)
        : sink_(std::move(sink)), buffer_(scratch(slot)) {
        buffer_.clear();
    }
    void add(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
        if (!buffer_.empty() && (offset != start_ + buffer_.size() || buffer_.size() > kLimit))
            flush();
        if (buffer_.empty()) start_ = offset;
        buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    }
    void flush() {
        if (!buffer_.empty()) sink_(start_, buffer_);
        buffer_.clear();
    }

  private:
    static constexpr std::size_t kLimit = 1 << 20;
    std::function<void(std::uint64_t, std::span<const std::uint8_t>)> sink_;
    std::uint64_t start_ = 0;
    Bytes& buffer_;

    // Buffers that keep their room from commit to commit.
    static Bytes& scratch(int slot) {
        thread_local std::array<Bytes, 2> buffers;
        return buffers[static_cast<std::size_t>(slot)];
    }
};

// Makes the page's image again, from the old one where its noted changes allow.
void rebuildImage(CachedPage& page) {
    thread_local Bytes built;
    // The tree keeps each page's fill measure up to date as it changes the page.
    if (!tryRebuildPageImage(page.content, page.fill, page.changes, page.image, built))
        storageFault(FaultCheck::kPageTooLong);
    page.image.swap(built);
    page.changes.clear();
}

}  // namespace

// ---- moving pages ----------------------------------------------------------------------------

void DataFile::movePage(PageNumber from, PageNumber to) {
    page(from);  // loaded while `from` is still inside its zone
    renumber(from, to);
}

void DataFile::renumber(PageNumber from, PageNumber to) {
    cache_.renumber(from, to);
    CachedPage& moved = *cache_.find(to);
    moved.needsWrite = true;
    listChanged(moved);
    ++generation_;
    updateReference(moved, from, to);
}

// A page has one reference: the header's root field, or the child pointer of the entry in its
// parent whose key is the page's lowest key. Descending by that key finds the parent.
void DataFile::updateReference(CachedPage& moved, PageNumber from, PageNumber to) {
    if (from == header_.root) {
        header_.root = to;
        return;
    }
    if (moved.count() == 0) storageFault(FaultCheck::kTreeEmptyPage);
    const ByteView key = moved.content.entries.front().key();
    CachedPage* at = &page(header_.root);
    while (true) {
        if (at->content.level <= moved.content.level) storageFault(FaultCheck::kTreeLevel);
        const std::size_t i = Tree::childIndexFor(*at, key);
        if (at->content.level == moved.content.level + 1) {
            if (at->content.children[i] != from) storageFault(FaultCheck::kTreeSeparator);
            at->content.children[i] = to;
            at->needsWrite = true;
            listChanged(*at);
            return;
        }
        at = &page(at->content.children[i]);
    }
}

// Gives every changed page its page number: pages whose size class changed leave their place,
// freed places are given back, then every page without a place takes one, smallest class first
// (so that placing a page rarely has to move the larger ones above it), then the zones are
// compacted.
void DataFile::placePages() {
    ZoneAllocator zones(header_, *this);
    std::vector<CachedPage*> changed(dirty_.begin(), dirty_.end());
    std::sort(changed.begin(), changed.end(),
              [](const CachedPage* a, const CachedPage* b) { return a->number < b->number; });
    std::map<int, std::vector<PageNumber>> giveBack;
    for (const auto& [number, sizeClass] : freed_)
        giveBack[sizeClass].push_back(number);
    for (CachedPage* p : changed) {
        if (p->contentChanged) {
            rebuildImage(*p);
            p->contentChanged = false;
        }
        if (p->number < 0) continue;
        const int current = header_.classOf(p->number);
        if (current != p->sizeClass()) {
            giveBack[current].push_back(p->number);
            renumber(p->number, nextTemporary_--);
        }
    }
    for (auto& [sizeClass, places] : giveBack) {
        std::sort(places.rbegin(), places.rend());
        for (PageNumber place : places)
            zones.giveBack(place, sizeClass);
    }
    freed_.clear();
    std::vector<CachedPage*> unplaced;
    for (CachedPage* p : dirty_)
        if (p->number < 0) unplaced.push_back(p);
    std::sort(unplaced.begin(), unplaced.end(), [](const CachedPage* a, const CachedPage* b) {
        if (a->sizeClass() != b->sizeClass()) return a->sizeClass() < b->sizeClass();
        return a->number > b->number;
    });
    for (CachedPage* p : unplaced)
        renumber(p->number, zones.take(p->sizeClass()));
    zones.compact();
}

// ---- the commit ------------------------------------------------------------------------------

Status DataFile::failCommit(Status error) {
    // Memory may now be ahead of the disk: start again from what the disk holds. When the disk
    // cannot even be read, nothing of the refused commit may stay to be written by a later one:
    // memory is emptied, and the file is read afresh before its next use.
    writeError_ = Status::success();
    const Status reloaded = load(false);
    if (reloaded.ok()) return error;
    resetState();
    header_ = diskHeader_;
    mustReload_ = true;
    std::string message =
        error.message() + "; reading the file again failed: " + reloaded.message();
    if (error.osError() != 0) return Status::osError(error.osError(), std::move(message));
    return Status::error(error.code(), std::move(message));
}

Status DataFile::commit() {
    QUILLERY_RETURN_IF_ERROR(prepareCommit());
    if (!prepared_) return Status::success();
    return finishCommit();
}

Status DataFile::prepareCommit() {
    putKeptEntries();
    if (!hasChanges()) return Status::success();
    if (!options_.exclusive)
        return Status::error(ErrorCode::kExclusiveAccessRequired, "commit without the lock");
    if (!logMap_.empty()) QUILLERY_RETURN_IF_ERROR(rollForward());

    // 1. The committed end of file, from the zones before the change.
    const std::uint64_t committedEnd = header_.committedEnd();
    // 2. Every changed page gets its place; the zones are compacted.
    placePages();
    // 3. Both log fields name the first byte past the new end and the old end.
    const std::uint64_t newEnd = header_.committedEnd();
    const std::uint64_t logStart = std::max(newEnd, committedEnd);
    header_.logStart = header_.logEnd = static_cast<std::uint32_t>(logStart);
    ++header_.changeCounter;

    // 4. Pages below the old end go to the log, pages past it straight to their place; nothing
    //    the committed state uses is overwritten yet. The header goes to the log last.
    std::vector<CachedPage*> pages;
    for (CachedPage* p : dirty_)
        if (p->needsWrite) pages.push_back(p);
    std::sort(pages.begin(), pages.end(),
              [](const CachedPage* a, const CachedPage* b) { return a->number < b->number; });
    loggedPages_.clear();
    lastCommitPageWrites_ = pages.size();
    std::uint64_t logEnd = logStart;
    {
        auto sink = [this](std::uint64_t at, std::span<const std::uint8_t> bytes) {
            writeAt(at, bytes);
        };
        WriteRun inPlace(sink, 0);
        WriteRun logged(sink, 1);
        for (CachedPage* p : pages) {
            if (p->contentChanged) {
                const int before = p->sizeClass();
                rebuildImage(*p);
                p->contentChanged = false;
                if (p->sizeClass() != before) storageFault(FaultCheck::kPageSizeAgainstZone);
            }
            if (p->number < 0) storageFault(FaultCheck::kUnplacedPage);
            if (header_.classOf(p->number) != p->sizeClass())
                storageFault(FaultCheck::kPageSizeAgainstZone);
            const std::uint64_t offset = pageOffset(p->number);
            patchPageImage(p->image, offset, p->content.children);
            if (offset < committedEnd) {
                logged.add(logEnd, p->image);
                loggedPages_.emplace_back(offset, &p->image);
                logEnd += p->image.size();
            } else {
                inPlace.add(offset, p->image);
            }
        }
        loggedHeader_ = encodeHeader(header_);
        logged.add(logEnd, loggedHeader_);
        logEnd += kHeaderSize;
        inPlace.flush();
        logged.flush();
    }
    // 5. The log and the new pages reach the disk before anything points at them.
    flushFile();
    // 6. The previous header, changed only in its log fields, now names the log. Once this is
    //    on disk a crash is repaired from the log at the next open.
    FileHeader pointing = diskHeader_;
    pointing.logStart = static_cast<std::uint32_t>(logStart);
    pointing.logEnd = static_cast<std::uint32_t>(logEnd);
    const auto pointingBytes = encodeHeader(pointing);
    writeAt(0, pointingBytes);
    flushFile();
    preparedEnd_ = newEnd;
    Status s = takeWriteError();
    if (!s.ok()) return failCommit(std::move(s));
    prepared_ = true;
    return Status::success();
}

Status DataFile::finishCommit() {
    if (!prepared_) return Status::success();
    // 7. Copy the logged pages into place and make them durable before the header stops naming
    //    the log; then reset the log fields and flush again.
    {
        WriteRun run(
            [this](std::uint64_t at, std::span<const std::uint8_t> bytes) { writeAt(at, bytes); },
            0);
        std::sort(loggedPages_.begin(), loggedPages_.end());
        for (const auto& [offset, image] : loggedPages_)
            run.add(offset, *image);
        run.flush();
    }
    flushFile();
    header_.logStart = header_.logEnd = static_cast<std::uint32_t>(preparedEnd_);
    const auto bytes = encodeHeader(header_);
    writeAt(0, bytes);
    flushFile();
    Status s = takeWriteError();
    prepared_ = false;
    loggedPages_.clear();
    if (!s.ok()) return failCommit(std::move(s));
    diskHeader_ = header_;
    for (CachedPage* p : dirty_)
        p->needsWrite = p->listed = false;
    dirty_.clear();
    nextTemporary_ = -1;
    headerChanged_ = false;
    return Status::success();
}

Status DataFile::abandonPreparedCommit() {
    if (!prepared_) return Status::success();
    prepared_ = false;
    loggedPages_.clear();
    const auto bytes = encodeHeader(diskHeader_);
    writeAt(0, bytes);
    flushFile();
    Status s = takeWriteError();
    Status reloaded = discardChanges();
    if (!s.ok()) return s;
    return reloaded;
}

Status DataFile::discardChanges() {
    prepared_ = false;
    QUILLERY_RETURN_IF_ERROR(load(false));
    mustReload_ = false;
    return Status::success();
}

Status DataFile::close() {
    QUILLERY_RETURN_IF_ERROR(commit());
    if (!options_.exclusive || !logMap_.empty()) return Status::success();
    const std::uint64_t end = header_.zonesEmpty() ? 0 : header_.committedEnd();
    if (end == 0) return Status::success();
    return file_->truncate(end);
}

}  // namespace quillery::storage
