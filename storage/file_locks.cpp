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

// The sharing an open asks for, read from its access mode.
struct Sharing {
    bool writes = false;
    bool deniesReads = false;
    bool deniesWrites = false;

    explicit Sharing(int mode) : writes(isWriteMode(mode)) {
        const int sharing = mode & AccessMode::kSharingMask;
        deniesReads = sharing == AccessMode::kDenyAll || sharing == AccessMode::kDenyRead;
        deniesWrites = sharing == AccessMode::kDenyAll || sharing == AccessMode::kDenyWrite;
    }
};

// Whether another open's claims exclude `asked`, or `asked` would exclude another open's.
Status conflictWithOthers(File& file, const Sharing& asked, bool& conflict) {
    const auto claimed = [&](std::uint64_t byte, bool& held) {
        return file.lockedByOthers(byte, 1, held);
    };
    const std::pair<bool, std::uint64_t> probes[] = {
        {true, kClaimDeniesReads},
        {asked.writes, kClaimDeniesWrites},
        {asked.deniesReads, kClaimReads},
        {asked.deniesWrites, kClaimWrites},
    };
    conflict = false;
    for (const auto& [applies, byte] : probes) {
        if (!applies) continue;
        QUILLERY_RETURN_IF_ERROR(claimed(byte, conflict));
        if (conflict) return Status::success();
    }
    return Status::success();
}

Status recordClaims(File& file, const Sharing& asked) {
    QUILLERY_RETURN_IF_ERROR(file.lock(kClaimReads, 1, LockKind::kShared));
    if (asked.writes) QUILLERY_RETURN_IF_ERROR(file.lock(kClaimWrites, 1, LockKind::kShared));
    if (asked.deniesReads)
        QUILLERY_RETURN_IF_ERROR(file.lock(kClaimDeniesReads, 1, LockKind::kShared));
    if (asked.deniesWrites)
        QUILLERY_RETURN_IF_ERROR(file.lock(kClaimDeniesWrites, 1, LockKind::kShared));
    return Status::success();
}

void withdrawClaims(File& file) {
    // Unlocking a byte this open never locked changes nothing.
    for (const std::uint64_t byte :
         {kClaimReads, kClaimWrites, kClaimDeniesReads, kClaimDeniesWrites})
        (void)file.unlock(byte, 1);
}

Status sharingViolation() {
    return Status::error(ErrorCode::kAccessDenied, "sharing violation");
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

// The guard makes checking the others' claims and recording this open's one step. A read-only
// descriptor can take it only shared, so two read-only opens may pass it together; each then
// looks again after recording its own claims, and so at least one of two that exclude each
// other sees the other.
Status FileLocks::claimSharing(int mode) {
    File& f = *file_;
    const LockKind guard = f.readOnly() ? LockKind::kShared : LockKind::kExclusive;
    QUILLERY_RETURN_IF_ERROR(
        waitFor(Clock::now() + kGuardWait, [&] { return f.lock(kClaimGuard, 1, guard); }));
    const Sharing asked(mode);
    bool conflict = false;
    Status result = conflictWithOthers(f, asked, conflict);
    if (result.ok() && conflict) result = sharingViolation();
    if (result.ok()) result = recordClaims(f, asked);
    if (result.ok() && f.readOnly()) {
        result = conflictWithOthers(f, asked, conflict);
        if (result.ok() && conflict) result = sharingViolation();
    }
    if (!result.ok()) withdrawClaims(f);
    // The guard was only for the step above; a failed unlock leaves it to the descriptor's close.
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

// A read-only descriptor holds with a shared lock: it still keeps writers from holding or
// changing the record, though not another read-only holder.
Status FileLocks::hold(RecordNumber record) {
    const LockKind kind = file_->readOnly() ? LockKind::kShared : LockKind::kExclusive;
    Status s = file_->lock(holdOffset(record), 1, kind);
    if (s.ok()) return s;
    if (s.isLockConflict()) return Status::error(ErrorCode::kRecordIsAlreadyHeld, "held");
    return s;
}

void FileLocks::release(RecordNumber record) {
    (void)file_->unlock(holdOffset(record), 1);
}

}  // namespace quillery::storage
