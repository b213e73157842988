// Creating and deleting page image files and their folder.
#include "report_engine/page_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "report_engine/report_options.h"
#include "report_engine/signal_cleanup.h"
#include "runtime/errors.h"
#include "runtime/os_errors.h"

namespace quillery::report {
namespace {

// Every report's files, so that a program ended by a fatal error still deletes them: static
// objects are destroyed on the way out of std::exit, which the fatal report ends with.
class LiveFiles {
  public:
    ~LiveFiles() {
        for (auto it = live_.rbegin(); it != live_.rend(); ++it)
            (*it)->deleteAll();
    }
    void add(PageFiles* files) { live_.push_back(files); }
    void remove(PageFiles* files) { std::erase(live_, files); }

  private:
    std::vector<PageFiles*> live_;
};

LiveFiles& liveFiles() {
    static LiveFiles files;
    return files;
}

constexpr unsigned kLastPageNumber = 0xFFFF;
constexpr int kFolderAttempts = 8;

// The folder as the options or the environment name it, so that a missing one is an error naming
// it.
std::string temporaryFolder() {
    QString folder = reportOptions().temporaryFolder;
    if (folder.isEmpty()) folder = qEnvironmentVariable("TMPDIR");
    if (folder.isEmpty()) folder = QDir::tempPath();
    while (folder.size() > 1 && folder.endsWith('/'))
        folder.chop(1);
    return QFile::encodeName(folder).toStdString();
}

bool writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = ENOSPC;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A page folder whose owner still runs holds its lock; one that can be locked is abandoned.
bool lockFolder(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

}  // namespace

PageFiles::PageFiles() {
    liveFiles().add(this);
}

PageFiles::~PageFiles() {
    deleteAll();
    liveFiles().remove(this);
}

std::nullopt_t PageFiles::fail(int osError, const std::string& what, const std::string& name) {
    failure_ = what + " \"" + name + "\": " + std::strerror(osError);
    recordOsError(osError);
    postError(ErrorCode::kNone, name);
    return std::nullopt;
}

bool PageFiles::makeFolder() {
    static std::once_flag swept;
    std::call_once(swept, removeAbandonedPageFolders);
    const std::string base = temporaryFolder();
    for (int attempt = 0; attempt < kFolderAttempts; ++attempt) {
        std::string name = base + "/" + kPageFolderPrefix + "XXXXXX";
        const HeldSignals held;
        if (::mkdtemp(name.data()) == nullptr) {  // mode 0700
            fail(errno, "cannot make a folder for the page images in", base);
            return false;
        }
        const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        struct stat made {};
        // Another run may have taken the new folder for an abandoned one between its making and
        // its locking: then it is gone, and a new one is made.
        if (fd >= 0 && lockFolder(fd) && ::fstat(fd, &made) == 0 && made.st_nlink > 0) {
            folder_ = name;
            folderFd_ = fd;
            signalHandle_ = removeOnSignal(folder_, CleanupKind::Folder);
            nextNumber_ = 1;
            return true;
        }
        const int reason = fd < 0 ? errno : EAGAIN;
        if (fd >= 0) ::close(fd);
        ::rmdir(name.c_str());
        if (attempt + 1 == kFolderAttempts) {
            fail(reason, "cannot use the folder for the page images", name);
            return false;
        }
    }
    return false;
}

std::optional<std::string> PageFiles::write(const std::vector<std::uint8_t>& bytes,
                                            std::size_t longestName) {
    failure_.clear();
    if (folderFd_ < 0 && !makeFolder()) return std::nullopt;
    if (nextNumber_ > kLastPageNumber) {
        return fail(EEXIST,
                    "every page image name is taken (" + std::to_string(kLastPageNumber) +
                        " pages) in the folder",
                    folder_);
    }
    char leaf[16];
    std::snprintf(leaf, sizeof leaf, "%s%04X%s", kPageFilePrefix, nextNumber_, kPageFileExtension);
    const std::string name = folder_ + "/" + leaf;
    if (name.size() > longestName) {
        failure_ = "the page image name \"" + name + "\" is longer than " +
                   std::to_string(longestName) +
                   " characters; set TMPDIR to a folder with a shorter name";
        postError(ErrorCode::kInvalidFilename, name);
        return std::nullopt;
    }
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return fail(errno, "cannot write the page image", name);
    const bool written = writeAll(fd, bytes);
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        const int reason = written ? errno : writeError;
        ::unlink(name.c_str());
        return fail(reason, "cannot write the page image", name);
    }
    ++nextNumber_;
    names_.push_back(name);
    return name;
}

void PageFiles::deleteAll() {
    for (auto it = names_.rbegin(); it != names_.rend(); ++it)
        ::unlink(it->c_str());
    names_.clear();
    if (folderFd_ >= 0) {
        removeFolderWithFiles(folder_.c_str());
        forgetOnSignal(signalHandle_);
        ::close(folderFd_);
        signalHandle_ = -1;
        folderFd_ = -1;
        folder_.clear();
    }
}

void removeAbandonedPageFolders() {
    const std::string base = temporaryFolder();
    DIR* dir = ::opendir(base.c_str());
    if (dir == nullptr) return;
    const uid_t me = ::getuid();
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, kPageFolderPrefix, sizeof kPageFolderPrefix - 1) != 0)
            continue;
        const std::string path = base + "/" + entry->d_name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && info.st_uid == me && lockFolder(fd))
            removeFolderWithFiles(path.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

}  // namespace quillery::report
