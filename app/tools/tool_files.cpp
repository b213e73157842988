// Reading and writing whole CSV files through the system's own calls, so that every failure,
// a folder given as a file included, comes back as an error number rather than an exception or
// a silent end of input.
#include "app/tools/tool_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <utility>

namespace quillery::tools {

namespace {

FileStepObserver& stepObserver() {
    static FileStepObserver observer;
    return observer;
}

void note(std::string_view step, const std::string& path) {
    if (stepObserver()) stepObserver()(step, path);
}

bool isStandardStream(const std::string& path) {
    return path.empty() || path == "-";
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string reason(int number) {
    return number == EISDIR ? "it is a folder, not a file" : std::strerror(number);
}

// Closes a descriptor however the function that opened it ends.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, so that a failed close is seen: some file systems report a failed write only
    // here. Returns 0 or an error number.
    int close() {
        const int result = ::close(std::exchange(fd_, -1));
        return result == 0 ? 0 : errno;
    }

  private:
    int fd_;
};

// Reads all of `fd`; 0 or an error number.
int readAll(int fd, std::string& bytes) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return 0;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

// Writes all of `bytes` to `fd`; 0 or an error number.
int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

int syncFile(int fd) {
    int result = 0;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

// Makes a rename in `folder` durable; 0 or an error number.
int syncFolder(const std::string& folder) {
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) return errno;
    note("flush", folder);
    if (const int e = syncFile(dir.get()); e != 0) return e;
    return dir.close();
}

std::string folderOf(const std::string& path) {
    const std::string parent = std::filesystem::path(path).parent_path().string();
    return parent.empty() ? "." : parent;
}

// Writes `bytes` to a new file `temporary` and makes them durable; 0 or an error number.
int writeDurably(const std::string& temporary, const std::string& bytes) {
    Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.get() < 0) return errno;
    note("write", temporary);
    if (const int e = writeAll(file.get(), bytes); e != 0) return e;
    note("flush", temporary);
    if (const int e = syncFile(file.get()); e != 0) return e;
    return file.close();
}

}  // namespace

void setFileStepObserver(FileStepObserver observer) {
    stepObserver() = std::move(observer);
}

bool readWholeInput(const std::string& path, std::istream& in, std::string& bytes,
                    std::string& error) {
    bytes.clear();
    if (isStandardStream(path)) {
        // The process's own standard input is read through its descriptor, where a read error
        // (a folder given as input, say) is told apart from the end of the input.
        if (&in == &std::cin) {
            if (const int e = readAll(STDIN_FILENO, bytes); e != 0) {
                error = "cannot read standard input: " + reason(e);
                return false;
            }
            return true;
        }
        std::ostringstream buffer;
        buffer << in.rdbuf();
        if (in.bad()) {
            error = "cannot read standard input";
            return false;
        }
        bytes = std::move(buffer).str();
        return true;
    }
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    int e = file.get() < 0 ? errno : 0;
    struct stat status {};
    if (e == 0 && ::fstat(file.get(), &status) != 0) e = errno;
    if (e == 0 && S_ISDIR(status.st_mode)) e = EISDIR;
    if (e == 0) e = readAll(file.get(), bytes);
    if (e == 0) return true;
    error = "cannot read " + quoted(path) + ": " + reason(e);
    return false;
}

bool writeWholeOutput(const std::string& path, std::ostream& out, const std::string& bytes,
                      std::string& error) {
    if (isStandardStream(path)) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            error = "cannot write standard output";
            return false;
        }
        return true;
    }
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = "cannot write " + quoted(path) + ": " + reason(EISDIR);
        return false;
    }
    // The file's bytes reach the disk before the rename puts them under the final name, and the
    // rename reaches it before the command says it is done: a power cut leaves the old file or
    // the whole new one, never an empty or partial one under that name.
    const std::string temporary = path + ".part";
    if (const int e = writeDurably(temporary, bytes); e != 0) {
        error = "cannot write " + quoted(temporary) + ": " + reason(e);
        std::remove(temporary.c_str());
        return false;
    }
    note("rename", path);
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = "cannot write " + quoted(path) + ": " + reason(errno);
        std::remove(temporary.c_str());
        return false;
    }
    if (const int e = syncFolder(folderOf(path)); e != 0) {
        error = "wrote " + quoted(path) + " but cannot flush its folder: " + reason(e);
        return false;
    }
    return true;
}

}  // namespace quillery::tools
