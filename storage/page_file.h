// One physical open of a data file: the data file with its cache and commit, the locks of this
// open, and the bracket every operation runs in (lock, refresh, work, commit or discard, unlock).
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "storage/data_file.h"
#include "storage/file_locks.h"

namespace quillery::storage {

struct PageFileOptions {
    int mode = AccessMode::kDenyNone;  // access mode bits
    bool create = false;               // created when missing
    std::string ownerPassword;
};

// When the end of a changing operation commits what it changed.
//
// While changes wait uncommitted, this open keeps the file's exclusive lock from one operation
// to the next (as a transaction does): another program would otherwise read a disk that lacks
// them, or commit over them. Others therefore wait (or fail with error 32) until the changes
// are committed; deferral is for work that owns the file for a while, such as a key build, and
// for temporary page files, which nobody else opens.
//
// A failed operation forgets its own changes when nothing waited before it. When earlier
// operations' changes wait, the failed one cannot be told apart from them in the cache; it has
// left the records and keys as it found them (an add or change is refused before anything is
// written, and the key update undoes what it did), so what waits is kept: a deferred file
// commits it at once instead of deferring past the failure, a held one keeps holding it (as a
// transaction keeps its changes past a failed operation).
enum class CommitMode {
    kEveryOperation,  // every successful changing operation commits
    kDeferred,        // an operation commits once kDeferredCommitPages changed pages wait
    kHeld,            // nothing is written until the mark is removed
};

// Changed pages waiting in the cache that make a deferred operation commit.
inline constexpr std::size_t kDeferredCommitPages = 40;

class PageFile {
  public:
    // Opens the physical file and records its sharing. Error 2 when it is missing, 5 when the
    // sharing of another open excludes this one, 36 when its header is bad.
    static Status open(const std::string& path, const PageFileOptions& options,
                       std::unique_ptr<PageFile>& out);
    // The same over a file opened by the caller (memory and fault files in tests and tools);
    // `path` only names it.
    static Status openOver(std::unique_ptr<File> file, const std::string& path,
                           const PageFileOptions& options, std::unique_ptr<PageFile>& out);
    // A temporary page file of the same format, gone when closed.
    static Status openTemporary(std::unique_ptr<PageFile>& out);
    ~PageFile();
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;

    DataFile& data() { return *data_; }
    FileLocks& locks() { return locks_; }
    bool readOnly() const { return !isWriteMode(mode_); }
    bool shared() const { return isSharedMode(mode_); }
    const std::string& path() const { return path_; }

    // Starts an operation: a changing one takes the exclusive lock, a reading one on a shared
    // file takes a reader slot; a shared file is then refreshed. Error 5 for a change through a
    // read-only open.
    Status begin(bool changing);
    // Ends it: a successful change is committed, a failed one forgotten, and the locks of the
    // operation are released. Inside a transaction nothing is committed and the lock stays.
    Status end(Status result, bool changing);

    // Transactions: the exclusive lock is kept and commits are held back until released.
    Status holdBack(Clock::time_point deadline);
    bool heldBack() const { return heldBack_; }
    // Leaves the transaction; the caller has committed or discarded the held-back changes.
    void stopHoldingBack();

    // Commits what is pending and cuts the file at its committed end.
    Status close();

    // Changing the mark back to every operation commits what waits at once (outside a
    // transaction, which commits on its own); a failed commit is returned.
    Status setCommitMode(CommitMode mode);
    CommitMode commitMode() const { return commitMode_; }
    // Commits when the mode says the changes waiting are due (all of them, 40 or more, or
    // none). For work inside one operation that wants to bound what waits, like a key build.
    // Requires: the exclusive lock (a changing operation's bracket, or a temporary file).
    Status commitIfDue();
    // Changes of successful operations waiting for a commit, with the lock kept for them.
    bool changesWaiting() const { return lockKept_; }

  private:
    PageFile() = default;

    std::string path_;
    int mode_ = 0;
    std::unique_ptr<DataFile> data_;
    FileLocks locks_;
    bool heldBack_ = false;
    bool temporary_ = false;
    CommitMode commitMode_ = CommitMode::kEveryOperation;
    // The exclusive lock is kept across operations because changes wait uncommitted.
    bool lockKept_ = false;
    // What the current changing operation found: earlier changes waiting, and the cache's
    // generation, to tell whether a failed operation changed anything.
    bool waitedAtBegin_ = false;
    std::uint64_t generationAtBegin_ = 0;

    std::array<std::uint8_t, 4> lastNumberAtBegin_{};

    void noteBegin();
    bool changedSinceBegin() const;
    bool commitDue() const;
    Status finishChange(Status result);
    void releaseKeptLock();
};

}  // namespace quillery::storage
