// In-memory files and the byte-range lock table they share.
#include "storage/memory_file.h"

#include <algorithm>
#include <cstring>

#include "runtime/os_errors.h"

namespace quillery::storage {

Status RangeLocks::lock(const void* owner, std::uint64_t offset, std::uint64_t length,
                        LockKind kind) {
    const std::uint64_t end = offset + length;
    for (const Range& r : ranges_) {
        if (r.owner == owner || r.end <= offset || end <= r.begin) continue;
        if (kind == LockKind::kExclusive || r.kind == LockKind::kExclusive)
            return Status::osError(OsError::kLockViolation, "lock");
    }
    unlock(owner, offset, length);  // a new lock replaces the owner's own locks over the range
    ranges_.push_back({owner, offset, end, kind});
    return Status::success();
}

void RangeLocks::unlock(const void* owner, std::uint64_t offset, std::uint64_t length) {
    const std::uint64_t end = offset + length;
    std::vector<Range> kept;
    for (const Range& r : ranges_) {
        if (r.owner != owner || r.end <= offset || end <= r.begin) {
            kept.push_back(r);
            continue;
        }
        if (r.begin < offset) kept.push_back({owner, r.begin, offset, r.kind});
        if (end < r.end) kept.push_back({owner, end, r.end, r.kind});
    }
    ranges_ = std::move(kept);
}

void RangeLocks::releaseAll(const void* owner) {
    std::erase_if(ranges_, [owner](const Range& r) { return r.owner == owner; });
}

void readFromImage(const std::vector<std::uint8_t>& image, std::uint64_t offset,
                   std::span<std::uint8_t> out, std::size_t& transferred) {
    transferred = 0;
    if (offset >= image.size()) return;
    transferred =
        static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), image.size() - offset));
    std::memcpy(out.data(), image.data() + offset, transferred);
}

void writeToImage(std::vector<std::uint8_t>& image, std::uint64_t offset,
                  std::span<const std::uint8_t> data) {
    if (data.empty()) return;
    if (image.size() < offset + data.size()) image.resize(offset + data.size(), 0);
    std::memcpy(image.data() + offset, data.data(), data.size());
}

Status MemoryFile::read(std::uint64_t offset, std::span<std::uint8_t> out,
                        std::size_t& transferred) {
    readFromImage(disk_->bytes, offset, out, transferred);
    return Status::success();
}

Status MemoryFile::write(std::uint64_t offset, std::span<const std::uint8_t> data) {
    writeToImage(disk_->bytes, offset, data);
    return Status::success();
}

Status MemoryFile::size(std::uint64_t& out) {
    out = disk_->bytes.size();
    return Status::success();
}

Status MemoryFile::truncate(std::uint64_t length) {
    disk_->bytes.resize(length, 0);
    return Status::success();
}

Status MemoryFile::lock(std::uint64_t offset, std::uint64_t length, LockKind kind) {
    return disk_->locks.lock(this, offset, length, kind);
}

Status MemoryFile::unlock(std::uint64_t offset, std::uint64_t length) {
    disk_->locks.unlock(this, offset, length);
    return Status::success();
}

}  // namespace quillery::storage
