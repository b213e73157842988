// Copying page image files into the folder --pages names.
#include "reports/page_folder_copy.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace quillery {
namespace {

constexpr char kPagePrefix[] = "page-";
constexpr char kPageSuffix[] = ".wmf";

// Copies `from` to `to` (made or truncated). 0, or the operating system's error.
int copyFile(const std::string& from, const std::string& to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return errno;
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (out < 0) {
        const int reason = errno;
        ::close(in);
        return reason;
    }
    char buffer[1 << 16];
    int reason = 0;
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) reason = errno;
        if (got <= 0) break;
        for (ssize_t done = 0; done < got && reason == 0;) {
            const ssize_t put = ::write(out, buffer + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) reason = put == 0 ? ENOSPC : errno;
            if (put > 0) done += put;
        }
        if (reason != 0) break;
    }
    ::close(in);
    if (::close(out) != 0 && reason == 0) reason = errno;
    return reason;
}

}  // namespace

std::string pageCopyName(std::size_t page) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%04zu%s", kPagePrefix, page, kPageSuffix);
    return name;
}

bool isPageCopyName(const std::string& name) {
    const std::size_t prefix = sizeof kPagePrefix - 1;
    const std::size_t suffix = sizeof kPageSuffix - 1;
    if (name.size() < prefix + 4 + suffix || !name.starts_with(kPagePrefix) ||
        !name.ends_with(kPageSuffix))
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix),
                       name.end() - static_cast<std::ptrdiff_t>(suffix),
                       [](char c) { return c >= '0' && c <= '9'; });
}

bool PageFolderCopy::fail(const std::string& what, const std::string& path, int osError) {
    failure_ = what + " \"" + path + "\": " + std::strerror(osError);
    return false;
}

bool PageFolderCopy::prepare() {
    struct stat info {};
    if (::stat(folder_.c_str(), &info) != 0) {
        std::error_code ec;
        std::filesystem::create_directories(folder_, ec);
        return ec ? fail("cannot make the folder", folder_, ec.value()) : true;
    }
    if (!S_ISDIR(info.st_mode)) return fail("cannot keep the pages in", folder_, ENOTDIR);
    DIR* dir = ::opendir(folder_.c_str());
    if (dir == nullptr) return fail("cannot read the folder", folder_, errno);
    std::string stranger;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (isPageCopyName(name))
            earlierPages_.push_back(folder_ + "/" + name);
        else if (stranger.empty())
            stranger = name;
    }
    ::closedir(dir);
    if (!stranger.empty()) {
        failure_ = "the folder \"" + folder_ + "\" holds \"" + stranger +
                   "\", which is not a page image; name an empty folder, or one holding only "
                   "the pages of an earlier print";
        return false;
    }
    return true;
}

bool PageFolderCopy::copy(const std::vector<std::string>& pages) {
    for (const std::string& earlier : earlierPages_)
        ::unlink(earlier.c_str());
    earlierPages_.clear();
    for (std::size_t page = 1; page <= pages.size(); ++page) {
        const std::string target = folder_ + "/" + pageCopyName(page);
        if (const int reason = copyFile(pages[page - 1], target); reason != 0) {
            ::unlink(target.c_str());
            removeWritten();
            return fail("cannot write the page image", target, reason);
        }
        written_.push_back(target);
    }
    return true;
}

void PageFolderCopy::removeWritten() {
    for (auto it = written_.rbegin(); it != written_.rend(); ++it)
        ::unlink(it->c_str());
    written_.clear();
}

}  // namespace quillery
