// Creating and deleting page image files.
#include "report_engine/page_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>

#include "runtime/errors.h"

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

constexpr int kNameAttempts = 0x10000;

bool writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void postOsError(const std::string& name) {
    setLastOsError(errno);
    postError(ErrorCode::kNone, name);
}

}  // namespace

PageFiles::PageFiles() {
    liveFiles().add(this);
}

PageFiles::~PageFiles() {
    deleteAll();
    liveFiles().remove(this);
}

std::optional<std::string> PageFiles::write(const std::vector<std::uint8_t>& bytes,
                                            std::size_t longestName) {
    // The folder as the environment names it, so that a missing one is an error naming it.
    QString folder = qEnvironmentVariable("TMPDIR");
    if (folder.isEmpty()) folder = QDir::tempPath();
    while (folder.size() > 1 && folder.endsWith('/'))
        folder.chop(1);
    const std::string base = QFile::encodeName(folder).toStdString();
    static std::minstd_rand next(std::random_device{}());
    unsigned number = next() & 0xFFFF;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt, number = (number + 1) & 0xFFFF) {
        char leaf[16];
        std::snprintf(leaf, sizeof leaf, "%s%04X%s", kPageFilePrefix, number, kPageFileExtension);
        const std::string name = base + "/" + leaf;
        if (name.size() > longestName) {
            postError(ErrorCode::kInvalidFilename, name);
            return std::nullopt;
        }
        const int fd =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST) continue;  // a name in use (or a link): try the next
        if (fd < 0) {
            postOsError(name);
            return std::nullopt;
        }
        const bool written = writeAll(fd, bytes);
        const int savedErrno = errno;
        if (::close(fd) != 0 || !written) {
            errno = written ? errno : savedErrno;
            postOsError(name);
            ::unlink(name.c_str());
            return std::nullopt;
        }
        names_.push_back(name);
        return name;
    }
    errno = EEXIST;
    postOsError(base);
    return std::nullopt;
}

void PageFiles::deleteAll() {
    for (auto it = names_.rbegin(); it != names_.rend(); ++it)
        ::unlink(it->c_str());
    names_.clear();
}

}  // namespace quillery::report
