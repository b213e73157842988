// Opening a physical data file with its sharing, and the lock-refresh-commit bracket of every
// operation on it.
#include "storage/page_file.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "runtime/errors.h"
#include "storage/os_errors.h"
#include "storage/posix_file.h"
#include "storage/storage_options.h"

namespace quillery::storage {
namespace {

// Missing files and paths, and refused access, keep the codes of their own.
Status openFailure(Status s) {
    switch (s.osError()) {
        case OsError::kFileNotFound:
            return Status::error(ErrorCode::kFileNotFound, s.message());
        case OsError::kPathNotFound:
            return Status::error(ErrorCode::kPathNotFound, s.message());
        case OsError::kAccessDenied:
            return Status::error(ErrorCode::kAccessDenied, s.message());
        default:
            return s;
    }
}

Clock::time_point lockDeadline() {
    return Clock::now() + storageOptions().fileLockWait;
}

}  // namespace

Status PageFile::open(const std::string& path, const PageFileOptions& options,
                      std::unique_ptr<PageFile>& out) {
    // The file is opened for writing whenever the system allows it, even for a read-only open:
    // a writable descriptor takes exclusive holds, as other programs' holds are. A file this
    // user may only read, or one on a read-only medium, is opened for reading: that open takes
    // only the locks a read-only descriptor allows (see FileLocks).
    std::unique_ptr<File> file;
    Status s = PosixFile::open(
        path, options.create ? PosixOpenMode::kOpenOrCreate : PosixOpenMode::kReadWrite, file);
    const bool readOnlyFile =
        s.osError() == OsError::kAccessDenied || s.osError() == OsError::kWriteProtect;
    if (!s.ok() && !options.create && !isWriteMode(options.mode) && readOnlyFile)
        s = PosixFile::open(path, PosixOpenMode::kReadOnly, file);
    if (!s.ok()) return openFailure(std::move(s));
    return openOver(std::move(file), path, options, out);
}

Status PageFile::openOver(std::unique_ptr<File> file, const std::string& path,
                          const PageFileOptions& options, std::unique_ptr<PageFile>& out) {
    std::unique_ptr<PageFile> opened(new PageFile());
    opened->path_ = path;
    opened->mode_ = options.mode;
    FileLocks locks(*file);
    QUILLERY_RETURN_IF_ERROR(locks.claimSharing(options.mode));
    // The first look at the header is made under the lock a writer commits under, so that a
    // writer can repair an interrupted commit and a reader never meets one half written.
    const bool writes = isWriteMode(options.mode);
    QUILLERY_RETURN_IF_ERROR(writes ? locks.lockExclusive(lockDeadline())
                                    : locks.lockReader(lockDeadline()));
    DataFileOptions dataOptions;
    dataOptions.ownerPassword = options.ownerPassword;
    dataOptions.exclusive = writes;
    Status s = DataFile::open(std::move(file), dataOptions, opened->data_);
    if (!s.ok()) return s;  // the descriptor, and every lock with it, is gone
    opened->locks_ = locks;
    opened->locks_.rebind(opened->data_->file());
    opened->locks_.unlockReader();
    opened->locks_.unlockExclusive();
    opened->data_->setExclusive(false);
    out = std::move(opened);
    return Status::success();
}

Status PageFile::openTemporary(std::unique_ptr<PageFile>& out) {
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    if (ec) dir = "/tmp";
    std::string pattern = (dir / "quillery-key-XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return statusFromErrno(errno, "temporary key file");
    ::close(fd);
    std::unique_ptr<File> file;
    Status s = PosixFile::open(pattern, PosixOpenMode::kReadWrite, file);
    ::unlink(pattern.c_str());  // the open keeps it alive; nothing is left behind
    if (!s.ok()) return s;
    std::unique_ptr<PageFile> opened(new PageFile());
    opened->path_ = pattern;
    opened->mode_ = AccessMode::kReadWrite | AccessMode::kDenyAll;
    opened->temporary_ = true;
    // Nobody else opens it, so its changes may wait without keeping anyone out.
    opened->commitMode_ = CommitMode::kDeferred;
    DataFileOptions dataOptions;
    dataOptions.exclusive = true;
    QUILLERY_RETURN_IF_ERROR(DataFile::open(std::move(file), dataOptions, opened->data_));
    opened->locks_.rebind(opened->data_->file());
    out = std::move(opened);
    return Status::success();
}

PageFile::~PageFile() = default;

Status PageFile::begin(bool changing) {
    if (temporary_ || heldBack_ || lockKept_) {
        // A kept lock means nobody else has touched the file since the changes waiting were
        // made: the cache is current without a look at the header.
        if (changing) noteBegin();
        return Status::success();
    }
    if (changing) {
        if (readOnly()) return Status::error(ErrorCode::kAccessDenied, "read-only open");
        QUILLERY_RETURN_IF_ERROR(locks_.lockExclusive(lockDeadline()));
        data_->setExclusive(true);
        Status s = data_->refresh();
        if (!s.ok()) {
            data_->setExclusive(false);
            locks_.unlockExclusive();
            return s;
        }
        noteBegin();
        return s;
    }
    // Nobody else writes a file this open denies writing to, nor one it writes while denying
    // writes: its cache stays valid without a look at the header, unless a failed commit
    // emptied it.
    if (!shared()) return data_->mustReload() ? data_->refresh() : Status::success();
    QUILLERY_RETURN_IF_ERROR(locks_.lockReader(lockDeadline()));
    Status s = data_->refresh();
    if (!s.ok()) locks_.unlockReader();
    return s;
}

Status PageFile::end(Status result, bool changing) {
    if (temporary_) {
        if (!changing) return result;
        return finishChange(std::move(result));
    }
    if (heldBack_) return result;
    if (!changing) {
        if (!lockKept_) locks_.unlockReader();
        return result;
    }
    result = finishChange(std::move(result));
    if (data_->hasChanges()) {
        lockKept_ = true;  // the changes wait: others stay out until they are committed
        return result;
    }
    releaseKeptLock();
    return result;
}

void PageFile::noteBegin() {
    waitedAtBegin_ = data_->hasChanges();
    generationAtBegin_ = data_->generation();
    lastNumberAtBegin_ = data_->header().lastNumber;
}

bool PageFile::changedSinceBegin() const {
    return data_->generation() != generationAtBegin_ ||
           data_->header().lastNumber != lastNumberAtBegin_;
}

bool PageFile::commitDue() const {
    if (!data_->hasChanges()) return false;
    switch (commitMode_) {
        case CommitMode::kEveryOperation:
            return true;
        case CommitMode::kDeferred:
            return data_->changedPageCount() >= kDeferredCommitPages;
        case CommitMode::kHeld:
            return false;
    }
    return true;
}

Status PageFile::commitIfDue() {
    return commitDue() ? data_->commit() : Status::success();
}

// The end of a changing operation outside a transaction, with the exclusive lock held.
Status PageFile::finishChange(Status result) {
    if (result.ok()) return commitIfDue();
    if (!waitedAtBegin_) {
        // Whatever a failed change left in the cache is forgotten, so the file on disk is
        // exactly as it was.
        (void)data_->discardChanges();
    } else if (changedSinceBegin() && commitMode_ != CommitMode::kHeld) {
        // Earlier operations' changes wait beside this one's: they are kept by committing them
        // now rather than deferring past the failure (see CommitMode). A failed commit re-reads
        // the file, so nothing waits after it either; the operation's own error is reported.
        (void)data_->commit();
    }
    return result;
}

void PageFile::releaseKeptLock() {
    lockKept_ = false;
    data_->setExclusive(false);
    locks_.unlockExclusive();
}

Status PageFile::setCommitMode(CommitMode mode) {
    commitMode_ = mode;
    if (mode != CommitMode::kEveryOperation || heldBack_) return Status::success();
    if (temporary_) return commitIfDue();
    if (!lockKept_) return Status::success();
    Status s = commitIfDue();
    releaseKeptLock();
    return s;
}

Status PageFile::holdBack(Clock::time_point deadline) {
    if (heldBack_) return Status::success();
    if (readOnly()) return Status::error(ErrorCode::kAccessDenied, "read-only open");
    Status s = Status::success();
    if (lockKept_) {
        // A rollback would discard what waits along with the transaction's own changes, so
        // earlier operations' changes are committed first; the transaction keeps the lock.
        s = data_->commit();
        lockKept_ = false;
    } else {
        QUILLERY_RETURN_IF_ERROR(locks_.lockExclusive(deadline));
        data_->setExclusive(true);
        s = data_->refresh();
    }
    if (!s.ok()) {
        data_->setExclusive(false);
        locks_.unlockExclusive();
        return s;
    }
    heldBack_ = true;
    return Status::success();
}

void PageFile::stopHoldingBack() {
    if (!heldBack_) return;
    heldBack_ = false;
    data_->setExclusive(false);
    locks_.unlockExclusive();
}

Status PageFile::close() {
    if (temporary_) return Status::success();
    Status result = Status::success();
    if (heldBack_) {
        result = data_->commit();
        stopHoldingBack();
    }
    if (lockKept_) {
        result = data_->commit();
        releaseKeptLock();
    }
    if (readOnly()) return result;
    // The cut needs the exclusive lock: another program's commit may have its log past the end.
    // When others keep the file busy it stays uncut; nothing is lost by that.
    if (!locks_.lockExclusive(Clock::now()).ok()) return result;
    data_->setExclusive(true);
    Status s = data_->refresh();
    if (s.ok()) s = data_->close();
    data_->setExclusive(false);
    locks_.unlockExclusive();
    return result.ok() ? s : result;
}

}  // namespace quillery::storage
