// In-memory files for tests and tools: a MemoryDisk holds the bytes and the byte-range locks, and
// every MemoryFile opened on it is one open of that file (its locks are its own, as with
// open-file-description locks on a real file).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "storage/file_interface.h"

namespace quillery::storage {

// Byte-range locks of one file, each owned by one open.
class RangeLocks {
  public:
    // Takes the lock for `owner` unless another owner's lock conflicts.
    Status lock(const void* owner, std::uint64_t offset, std::uint64_t length, LockKind kind);
    void unlock(const void* owner, std::uint64_t offset, std::uint64_t length);
    void releaseAll(const void* owner);

  private:
    struct Range {
        const void* owner;
        std::uint64_t begin;
        std::uint64_t end;
        LockKind kind;
    };
    std::vector<Range> ranges_;
};

struct MemoryDisk {
    std::vector<std::uint8_t> bytes;
    RangeLocks locks;
};

class MemoryFile final : public File {
  public:
    explicit MemoryFile(std::shared_ptr<MemoryDisk> disk) : disk_(std::move(disk)) {}
    ~MemoryFile() override { disk_->locks.releaseAll(this); }

    Status read(std::uint64_t offset, std::span<std::uint8_t> out,
                std::size_t& transferred) override;
    Status write(std::uint64_t offset, std::span<const std::uint8_t> data) override;
    Status flush() override { return Status::success(); }
    Status size(std::uint64_t& out) override;
    Status truncate(std::uint64_t length) override;
    Status lock(std::uint64_t offset, std::uint64_t length, LockKind kind) override;
    Status unlock(std::uint64_t offset, std::uint64_t length) override;

  private:
    std::shared_ptr<MemoryDisk> disk_;
};

// Copies of byte images shared by the in-memory and fault-injecting files.
void readFromImage(const std::vector<std::uint8_t>& image, std::uint64_t offset,
                   std::span<std::uint8_t> out, std::size_t& transferred);
void writeToImage(std::vector<std::uint8_t>& image, std::uint64_t offset,
                  std::span<const std::uint8_t> data);

}  // namespace quillery::storage
