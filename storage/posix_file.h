// The file interface over a POSIX file descriptor: pread/pwrite, fsync, ftruncate and
// open-file-description locks (F_OFD_SETLK), which belong to the open rather than the process.
#pragma once

#include <memory>
#include <string>

#include "storage/file_interface.h"

namespace quillery::storage {

enum class PosixOpenMode {
    kReadOnly,
    kReadWrite,
    kOpenOrCreate,  // read/write, created when missing
    kCreateNew,     // read/write, fails when the file exists
};

class PosixFile final : public File {
  public:
    static Status open(const std::string& path, PosixOpenMode mode, std::unique_ptr<File>& out);
    ~PosixFile() override;
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    Status read(std::uint64_t offset, std::span<std::uint8_t> out,
                std::size_t& transferred) override;
    Status write(std::uint64_t offset, std::span<const std::uint8_t> data) override;
    Status flush() override;
    Status size(std::uint64_t& out) override;
    Status truncate(std::uint64_t length) override;
    Status lock(std::uint64_t offset, std::uint64_t length, LockKind kind) override;
    Status unlock(std::uint64_t offset, std::uint64_t length) override;
    bool readOnly() const override { return readOnly_; }
    Status lockedByOthers(std::uint64_t offset, std::uint64_t length, bool& locked) override;

  private:
    PosixFile(int fd, std::string path, bool readOnly)
        : fd_(fd), path_(std::move(path)), readOnly_(readOnly) {}
    int fd_;
    std::string path_;
    bool readOnly_;
};

}  // namespace quillery::storage
