// Reader slots, the exclusive range, record holds and the sharing claims of a data file.
#include "storage/file_locks.h"

#include <thread>

#include "runtime/errors.h"

namespace quillery::storage {
namespace {

constexpr std::uint64_t kClaimReads = kSharingClaimBase + 0;
constexpr std::uint64_t kClaimWrites = kSharingClaimBase + 1;
constexpr std::uint64_t kClaimDeniesReads = kSharingClaimBase + 2;
constexpr std::uint64_t kClaimDeniesWrites = kSharingClaimBase + 3;
constexpr std::uint64_t kClaimGuard = kSharingClaimBase + 4;
constexpr auto kRetryPause = std::chrono::milliseconds(2);
constexpr auto kGuardWait = std::chrono::seconds(2);

Status lockBusy() {
    return Status::error(ErrorCode::kFileAlreadyLocked, "file locked");
}

// Whether another open holds a claim byte: an exclusive lock on it fails exactly then.
bool claimedByOthers(File& file, std::uint64_t byte) {
    if (!file.lock(byte, 1, LockKind::kExclusive).ok()) return true;
    (void)file.unlock(byte, 1);
    return false;
}

}  // namespace

std::uint64_t holdOffset(RecordNumber record) {
    std::uint8_t stored[4];
    storeBe32(stored, record);
    const std::uint32_t asLittleEndian = loadLe32(stored);
    const std::uint64_t offset = static_cast<std::uint32_t>(kHoldBase + asLittleEndian);
    // Records numbered xx FB FF FF .. xx FF FF FF would wrap onto the reader slots, and holding
    // one would then lock writers out; their holds move past the 32-bit range instead.
    if (offset >= kReaderSlotBase && offset < kHoldBase) return offset + kHoldWrapShift;
    return offset;
}

Status FileLocks::waitFor(Clock::time_point deadline, const auto& attempt) {
    while (true) {
        Status s = attempt();
        if (s.ok() || !s.isLockConflict()) return s;
        if (Clock::now() >= deadline) return lockBusy();
        std::this_thread::sleep_for(kRetryPause);
    }
}

Status FileLocks::claimSharing(int mode) {
    QUILLERY_RETURN_IF_ERROR(waitFor(Clock::now() + kGuardWait, [&] {
        return file_->lock(kClaimGuard, 1, LockKind::kExclusive);
    }));
    const bool writes = isWriteMode(mode);
    const int sharing = mode & AccessMode::kSharingMask;
    const bool deniesReads = sharing == AccessMode::kDenyAll || sharing == AccessMode::kDenyRead;
    const bool deniesWrites = sharing == AccessMode::kDenyAll || sharing == AccessMode::kDenyWrite;
    File& f = *file_;
    const bool conflict = claimedByOthers(f, kClaimDeniesReads) ||
                          (writes && claimedByOthers(f, kClaimDeniesWrites)) ||
                          (deniesReads && claimedByOthers(f, kClaimReads)) ||
                          (deniesWrites && claimedByOthers(f, kClaimWrites));
    Status result = Status::success();
    if (conflict) {
        result = Status::error(ErrorCode::kAccessDenied, "sharing violation");
    } else {
        result = f.lock(kClaimReads, 1, LockKind::kShared);
        if (result.ok() && writes) result = f.lock(kClaimWrites, 1, LockKind::kShared);
        if (result.ok() && deniesReads) result = f.lock(kClaimDeniesReads, 1, LockKind::kShared);
        if (result.ok() && deniesWrites) result = f.lock(kClaimDeniesWrites, 1, LockKind::kShared);
    }
    (void)f.unlock(kClaimGuard, 1);
    return result;
}

Status FileLocks::lockReader(Clock::time_point deadline) {
    if (readerSlot_ >= 0 || exclusive_) return Status::success();
    return waitFor(deadline, [&] {
        const std::uint64_t slot = nextSlot_;
        nextSlot_ = (nextSlot_ + 1) % kReaderSlotCount;
        Status s = file_->lock(kReaderSlotBase + slot, 1, LockKind::kShared);
        if (s.ok()) readerSlot_ = static_cast<int>(slot);
        return s;
    });
}

void FileLocks::unlockReader() {
    if (readerSlot_ < 0) return;
    (void)file_->unlock(kReaderSlotBase + static_cast<std::uint64_t>(readerSlot_), 1);
    readerSlot_ = -1;
}

Status FileLocks::lockExclusive(Clock::time_point deadline) {
    if (exclusive_) return Status::success();
    unlockReader();
    QUILLERY_RETURN_IF_ERROR(waitFor(deadline, [&] {
        return file_->lock(kReaderSlotBase, kReaderSlotCount, LockKind::kExclusive);
    }));
    exclusive_ = true;
    return Status::success();
}

void FileLocks::unlockExclusive() {
    if (!exclusive_) return;
    (void)file_->unlock(kReaderSlotBase, kReaderSlotCount);
    exclusive_ = false;
}

Status FileLocks::hold(RecordNumber record) {
    Status s = file_->lock(holdOffset(record), 1, LockKind::kExclusive);
    if (s.ok()) return s;
    if (s.isLockConflict()) return Status::error(ErrorCode::kRecordIsAlreadyHeld, "held");
    return s;
}

void FileLocks::release(RecordNumber record) {
    (void)file_->unlock(holdOffset(record), 1);
}

}  // namespace quillery::storage
