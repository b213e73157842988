// POSIX implementation of the file interface.
#include "storage/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "storage/os_errors.h"

namespace quillery::storage {

Status PosixFile::open(const std::string& path, PosixOpenMode mode, std::unique_ptr<File>& out) {
    int flags = O_CLOEXEC;
    switch (mode) {
        case PosixOpenMode::kReadOnly:
            flags |= O_RDONLY;
            break;
        case PosixOpenMode::kReadWrite:
            flags |= O_RDWR;
            break;
        case PosixOpenMode::kOpenOrCreate:
            flags |= O_RDWR | O_CREAT;
            break;
        case PosixOpenMode::kCreateNew:
            flags |= O_RDWR | O_CREAT | O_EXCL;
            break;
    }
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) return statusFromErrno(errno, "open " + path);
    out.reset(new PosixFile(fd, path, mode == PosixOpenMode::kReadOnly));
    return Status::success();
}

PosixFile::~PosixFile() {
    ::close(fd_);
}

Status PosixFile::read(std::uint64_t offset, std::span<std::uint8_t> out,
                       std::size_t& transferred) {
    transferred = 0;
    while (transferred < out.size()) {
        const ssize_t n = ::pread(fd_, out.data() + transferred, out.size() - transferred,
                                  static_cast<off_t>(offset + transferred));
        if (n < 0) {
            if (errno == EINTR) continue;
            return statusFromErrno(errno, "read " + path_);
        }
        if (n == 0) break;
        transferred += static_cast<std::size_t>(n);
    }
    return Status::success();
}

Status PosixFile::write(std::uint64_t offset, std::span<const std::uint8_t> data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::pwrite(fd_, data.data() + done, data.size() - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return statusFromErrno(errno, "write " + path_);
        }
        if (n == 0) return statusFromErrno(ENOSPC, "write " + path_);
        done += static_cast<std::size_t>(n);
    }
    return Status::success();
}

// fdatasync makes the data and the size that finds it durable; the times it leaves behind are
// not needed to read the file back, and skipping them saves a metadata write on every flush.
Status PosixFile::flush() {
    int result = 0;
    do {
        result = ::fdatasync(fd_);
    } while (result != 0 && errno == EINTR);
    if (result != 0) return statusFromErrno(errno, "flush " + path_);
    return Status::success();
}

Status PosixFile::size(std::uint64_t& out) {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return statusFromErrno(errno, "size " + path_);
    out = static_cast<std::uint64_t>(st.st_size);
    return Status::success();
}

Status PosixFile::truncate(std::uint64_t length) {
    if (::ftruncate(fd_, static_cast<off_t>(length)) != 0)
        return statusFromErrno(errno, "truncate " + path_);
    return Status::success();
}

namespace {

Status setLock(int fd, short type, std::uint64_t offset, std::uint64_t length,
               const std::string& path) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(offset);
    fl.l_len = static_cast<off_t>(length);
    fl.l_pid = 0;  // required by open-file-description locks
    if (::fcntl(fd, F_OFD_SETLK, &fl) != 0) {
        // A lock held elsewhere is reported as EAGAIN or EACCES; both mean "Lock Violation".
        const int e = (errno == EACCES) ? EAGAIN : errno;
        return statusFromErrno(e, "lock " + path);
    }
    return Status::success();
}

}  // namespace

Status PosixFile::lock(std::uint64_t offset, std::uint64_t length, LockKind kind) {
    return setLock(fd_, kind == LockKind::kExclusive ? F_WRLCK : F_RDLCK, offset, length, path_);
}

Status PosixFile::unlock(std::uint64_t offset, std::uint64_t length) {
    return setLock(fd_, F_UNLCK, offset, length, path_);
}

// F_OFD_GETLK asks about a write lock without taking it, which any descriptor may do; locks of
// this open itself never conflict with it.
Status PosixFile::lockedByOthers(std::uint64_t offset, std::uint64_t length, bool& locked) {
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(offset);
    fl.l_len = static_cast<off_t>(length);
    fl.l_pid = 0;
    if (::fcntl(fd_, F_OFD_GETLK, &fl) != 0) return statusFromErrno(errno, "lock test " + path_);
    locked = fl.l_type != F_UNLCK;
    return Status::success();
}

}  // namespace quillery::storage
