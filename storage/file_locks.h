// The byte-range locks through which several programs share one data file. The bytes lie far
// beyond any data, so they never cover file contents:
//
//   0x80000000 + slot        one reader's access during an operation (slot 0..1023)
//   0x80000000 .. 0x800003FF exclusive access of a writer or a commit: every reader slot at once
//   0x80000401 + n           hold of a record; n is the record number's four stored (big-endian)
//                            bytes read as a little-endian number, the sum taken modulo 2^32;
//                            a sum that lands on the reader slots is moved up by 2^32
//   0x200000000 + 0..4       sharing claims of each open, standing in for the operating
//                            system's share modes, which this platform lacks:
//                              +0 the open reads, +1 it writes, +2 it denies reading to others,
//                              +3 it denies writing to others, +4 a guard taken while an open
//                              checks the others' claims and records its own
//
// Locks belong to one open of the file, so two opens in one process exclude each other like two
// programs.
#pragma once

#include <chrono>
#include <cstdint>

#include "storage/access_mode.h"
#include "storage/entry_kinds.h"
#include "storage/file_interface.h"
#include "storage/status.h"

namespace quillery::storage {

inline constexpr std::uint64_t kReaderSlotBase = 0x80000000;
inline constexpr std::uint64_t kReaderSlotCount = 1024;
inline constexpr std::uint64_t kHoldBase = 0x80000401;
inline constexpr std::uint64_t kHoldWrapShift = 0x100000000;
inline constexpr std::uint64_t kSharingClaimBase = 0x200000000;

// The file is read and locked afresh for every operation when others may write it.
inline bool isSharedMode(int mode) {
    return (mode & 0x30) == 0;
}
inline bool isWriteMode(int mode) {
    return (mode & AccessMode::kReadWriteMask) != 0;
}

// The byte a record's hold lock takes.
std::uint64_t holdOffset(RecordNumber record);

using Clock = std::chrono::steady_clock;

class FileLocks {
  public:
    FileLocks() = default;
    explicit FileLocks(File& file) : file_(&file) {}
    void rebind(File& file) { file_ = &file; }

    // Records this open's access and sharing in the claim bytes. Error 5 "Access Denied" when
    // an earlier open denies what this one asks, or this one would deny what an earlier open
    // has.
    Status claimSharing(int mode);

    // A reader slot for one operation: tries slot after slot until `deadline`; error 32 "File
    // Is Already Locked" when a writer keeps them all.
    Status lockReader(Clock::time_point deadline);
    void unlockReader();
    // Every reader slot; waits for the readers of the moment until `deadline` (error 32).
    Status lockExclusive(Clock::time_point deadline);
    void unlockExclusive();
    bool holdsExclusive() const { return exclusive_; }
    bool holdsReader() const { return readerSlot_ >= 0; }

    // A record's hold, without waiting: error 43 "Record Is Already Held" when another open
    // holds it.
    Status hold(RecordNumber record);
    void release(RecordNumber record);

  private:
    Status waitFor(Clock::time_point deadline, const auto& attempt);

    File* file_ = nullptr;
    int readerSlot_ = -1;
    std::uint64_t nextSlot_ = 0;
    bool exclusive_ = false;
};

}  // namespace quillery::storage
