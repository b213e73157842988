// Checking, writing and putting in place a PDF file.
#include "report_engine/pdf_output.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "report_engine/signal_cleanup.h"

namespace quillery::report {
namespace {

constexpr char kPdfMagic[] = "%PDF-";
constexpr char kPdfEnd[] = "%%EOF";
// The end marker stands within the last few bytes of a whole file.
constexpr std::size_t kTailBytes = 64;

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string leafOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool looksLikePdf(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    std::array<char, sizeof kPdfMagic - 1> head{};
    const ssize_t n = ::read(fd, head.data(), head.size());
    ::close(fd);
    return n == static_cast<ssize_t>(head.size()) &&
           std::equal(head.begin(), head.end(), kPdfMagic);
}

PdfOutput::~PdfOutput() {
    abandon();
}

void PdfOutput::protect(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) protected_.push_back({info.st_dev, info.st_ino});
}

bool PdfOutput::fail(const std::string& reason) {
    if (failure_.empty()) failure_ = "cannot write the PDF " + quoted(target_) + ": " + reason;
    abandon();
    return false;
}

void PdfOutput::failStep(const std::string& step) {
    if (!failure_.empty()) return;
    const std::string reason = systemReason();
    failure_ = "cannot write the PDF " + quoted(target_) + ": " + (reason.empty() ? step : reason);
}

bool PdfOutput::mayWrite(const std::string& target) {
    target_ = target;
    failure_.clear();
    notPdf_ = false;
    mode_ = newFileMode();
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) return true;  // a new file
    for (const FileId& id : protected_) {
        if (id.device == info.st_dev && id.inode == info.st_ino)
            return fail("it is the catalogue being printed; name another file");
    }
    if (S_ISDIR(info.st_mode)) return fail("it is a folder");
    // A device, pipe or socket is never replaced by a file, asked or not.
    if (!S_ISREG(info.st_mode)) return fail("it is not a regular file");
    notPdf_ = !looksLikePdf(target);
    if (!replaceAny_ && notPdf_)
        return fail("the file exists and is not a PDF, so it is not replaced");
    mode_ = info.st_mode & 07777;
    return true;
}

bool PdfOutput::begin(const std::string& target) {
    abandon();
    if (!mayWrite(target)) return false;
    std::string name = folderOf(target) + "/." + leafOf(target) + ".XXXXXX";
    const HeldSignals held;
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return fail(std::strerror(errno));
    ::close(fd);
    temporary_ = name;
    signalHandle_ = removeOnSignal(temporary_, CleanupKind::File);
    return true;
}

std::string PdfOutput::systemReason() const {
    // The toolkit writes the PDF without telling why a write failed; the two reasons a write
    // of a file being made fails for are told by the disk and the process's limits.
    constexpr unsigned long long kNearlyFull = 256 * 1024;
    struct statvfs space {};
    if (::statvfs(folderOf(target_).c_str(), &space) == 0 &&
        static_cast<unsigned long long>(space.f_bavail) * space.f_frsize < kNearlyFull)
        return std::strerror(ENOSPC);
    struct stat info {};
    struct rlimit limit {};
    if (!temporary_.empty() && ::stat(temporary_.c_str(), &info) == 0 &&
        ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        static_cast<rlim_t>(info.st_size) + kNearlyFull >= limit.rlim_cur)
        return std::strerror(EFBIG);
    return {};
}

bool PdfOutput::commit() {
    if (temporary_.empty()) return fail("nothing was written");
    if (!failure_.empty()) {
        abandon();
        return false;
    }
    const int fd = ::open(temporary_.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return fail(std::strerror(errno));
    struct stat info {};
    std::array<char, kTailBytes> tail{};
    ssize_t got = 0;
    if (::fstat(fd, &info) == 0 && info.st_size > 0) {
        const auto size = static_cast<std::size_t>(info.st_size);
        const std::size_t from = size - std::min(size, tail.size());
        got = ::pread(fd, tail.data(), size - from, static_cast<off_t>(from));
    }
    const bool whole = got > 0 && std::search(tail.begin(), tail.begin() + got, kPdfEnd,
                                              kPdfEnd + sizeof kPdfEnd - 1) != tail.begin() + got;
    if (!whole) {
        ::close(fd);
        const std::string reason = systemReason();
        return fail(reason.empty() ? "the file was left incomplete" : reason);
    }
    // The data must be on the disk before the name points at it.
    if (::fsync(fd) != 0 || ::fchmod(fd, mode_) != 0) {
        const int reason = errno;
        ::close(fd);
        return fail(std::strerror(reason));
    }
    if (::close(fd) != 0) return fail(std::strerror(errno));
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) return fail(std::strerror(errno));
    forgetOnSignal(signalHandle_);
    signalHandle_ = -1;
    temporary_.clear();
    const int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

void PdfOutput::abandon() {
    if (temporary_.empty()) return;
    ::unlink(temporary_.c_str());
    forgetOnSignal(signalHandle_);
    signalHandle_ = -1;
    temporary_.clear();
}

}  // namespace quillery::report
