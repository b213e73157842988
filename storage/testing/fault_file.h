// A file for crash and failure tests. It keeps the process's view of the file and, apart from
// it, what stable storage would hold: after the planned crash point nothing more reaches the
// disk, and the disk image left behind is what a reopen after the crash would find.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "runtime/os_errors.h"
#include "storage/file_interface.h"

namespace quillery::storage {

struct FaultPlan {
    // The disk stops after this many writes, flushes and truncations (counted from 1); 0 = never.
    int crashAfterOperation = 0;
    // At the crash, keep the writes since the last flush (true) or drop every one of them.
    bool keepUnflushedWrites = true;
    // Non-zero: at the crash keep a random subset of the writes since the last flush, chosen by
    // this seed, as a disk that reorders its queue would (overrides keepUnflushedWrites).
    unsigned unflushedSubsetSeed = 0;
    // This write (counted from 1) fails with `failOsError`; 0 = none.
    int failWriteNumber = 0;
    int failOsError = OsError::kHandleDiskFull;
    // Every write from failWriteNumber on fails, not just that one.
    bool failLaterWrites = false;
    // Once a write has failed, reads and size queries fail too (a disk that went away).
    bool readsFailAfterFailedWrite = false;
};

class FaultDisk {
  public:
    explicit FaultDisk(std::vector<std::uint8_t> initial = {}, FaultPlan plan = {})
        : view_(initial), flushed_(std::move(initial)), plan_(plan) {}

    // What a reopen after the crash finds (the current flushed-or-viewed image when the crash
    // point was never reached).
    std::vector<std::uint8_t> diskAfterCrash() const;
    bool crashed() const { return crashImage_.has_value(); }
    int operations() const { return operations_; }
    int writes() const { return writes_; }
    const std::vector<std::uint8_t>& view() const { return view_; }
    // The disk works again: no more planned failures.
    void heal() {
        plan_.failWriteNumber = 0;
        plan_.readsFailAfterFailedWrite = false;
    }

  private:
    friend class FaultFile;
    void countOperation();

    std::vector<std::uint8_t> view_;
    std::vector<std::uint8_t> flushed_;
    // Writes since the last flush, in order (offset, bytes).
    std::vector<std::pair<std::uint64_t, std::vector<std::uint8_t>>> unflushed_;
    std::optional<std::vector<std::uint8_t>> crashImage_;
    FaultPlan plan_;
    int operations_ = 0;
    int writes_ = 0;
    bool writeFailed_ = false;
};

class FaultFile final : public File {
  public:
    explicit FaultFile(std::shared_ptr<FaultDisk> disk) : disk_(std::move(disk)) {}

    Status read(std::uint64_t offset, std::span<std::uint8_t> out,
                std::size_t& transferred) override;
    Status write(std::uint64_t offset, std::span<const std::uint8_t> data) override;
    Status flush() override;
    Status size(std::uint64_t& out) override;
    Status truncate(std::uint64_t length) override;
    Status lock(std::uint64_t, std::uint64_t, LockKind) override { return Status::success(); }
    Status unlock(std::uint64_t, std::uint64_t) override { return Status::success(); }

  private:
    std::shared_ptr<FaultDisk> disk_;
};

}  // namespace quillery::storage
