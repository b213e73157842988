// One physical open of a data file: the data file with its cache and commit, the locks of this
// open, and the bracket every operation runs in (lock, refresh, work, commit or discard, unlock).
#pragma once

#include <chrono>
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

// How long an operation waits for the file lock that another program's operation holds.
void setFileLockWait(std::chrono::milliseconds wait);
std::chrono::milliseconds fileLockWait();

class PageFile {
  public:
    // Opens the physical file and records its sharing. Error 2 when it is missing, 5 when the
    // sharing of another open excludes this one, 36 when its header is bad.
    static Status open(const std::string& path, const PageFileOptions& options,
                       std::unique_ptr<PageFile>& out);
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

  private:
    PageFile() = default;

    std::string path_;
    int mode_ = 0;
    std::unique_ptr<DataFile> data_;
    FileLocks locks_;
    bool heldBack_ = false;
    bool temporary_ = false;
};

}  // namespace quillery::storage
