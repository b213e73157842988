// The one small interface through which the engine touches a physical file. The engine never
// calls the operating system directly, so tests can give it an in-memory or fault-injecting file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "storage/status.h"

namespace quillery::storage {

enum class LockKind { kShared, kExclusive };

class File {
  public:
    virtual ~File() = default;

    // Reads up to out.size() bytes at `offset`; `transferred` receives how many arrived (fewer
    // only at the end of the file).
    virtual Status read(std::uint64_t offset, std::span<std::uint8_t> out,
                        std::size_t& transferred) = 0;
    // Writes all of `data` at `offset`, growing the file as needed.
    virtual Status write(std::uint64_t offset, std::span<const std::uint8_t> data) = 0;
    // Pushes everything written so far to stable storage.
    virtual Status flush() = 0;
    virtual Status size(std::uint64_t& out) = 0;
    virtual Status truncate(std::uint64_t length) = 0;
    // Locks a byte range without waiting. Locks belong to this open of the file, so two opens
    // in one process exclude each other like two programs; a conflict is a status whose
    // isLockConflict() is true.
    virtual Status lock(std::uint64_t offset, std::uint64_t length, LockKind kind) = 0;
    virtual Status unlock(std::uint64_t offset, std::uint64_t length) = 0;

    // Whether this open can only read: it takes shared locks only, since an exclusive lock needs
    // a descriptor open for writing.
    virtual bool readOnly() const { return false; }
    // Whether another open holds a lock on any byte of the range, found without taking one (so
    // a read-only open can ask too). The default takes and drops an exclusive lock.
    virtual Status lockedByOthers(std::uint64_t offset, std::uint64_t length, bool& locked) {
        const Status s = lock(offset, length, LockKind::kExclusive);
        locked = s.isLockConflict();
        if (s.ok()) return unlock(offset, length);
        return locked ? Status::success() : s;
    }
};

}  // namespace quillery::storage
