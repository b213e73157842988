// The removal table and the signal handler. The handler may interrupt anything, so it only
// reads the fixed table and makes plain system calls.
#include "report_engine/signal_cleanup.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <mutex>

namespace quillery::report {
namespace {

constexpr std::size_t kSlots = 32;
constexpr std::size_t kLongestPath = 4096;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

enum SlotState : int { kFree = 0, kFile = 1, kFolder = 2, kFilling = 3 };

struct Slot {
    std::atomic<int> state{kFree};
    char path[kLongestPath] = {};
};

std::array<Slot, kSlots>& slots() {
    static std::array<Slot, kSlots> table;
    return table;
}

void removeRegistered() {
    for (Slot& slot : slots()) {
        const int state = slot.state.load(std::memory_order_acquire);
        if (state == kFile) ::unlink(slot.path);
        if (state == kFolder) removeFolderWithFiles(slot.path);
    }
}

extern "C" void onEndingSignal(int signal) {
    removeRegistered();
    // End as the signal would have: with its default action, so the parent sees why.
    std::signal(signal, SIG_DFL);
    ::raise(signal);
}

void installHandlers() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        for (const int signal : kSignals) {
            struct sigaction previous {};
            ::sigaction(signal, nullptr, &previous);
            // A signal the caller chose to ignore (nohup, say) stays ignored.
            if (previous.sa_handler == SIG_IGN) continue;
            struct sigaction action {};
            action.sa_handler = onEndingSignal;
            sigemptyset(&action.sa_mask);
            for (const int other : kSignals)
                sigaddset(&action.sa_mask, other);
            ::sigaction(signal, &action, nullptr);
        }
    });
}

}  // namespace

int removeOnSignal(const std::string& path, CleanupKind kind) {
    if (path.size() >= kLongestPath) return -1;
    installHandlers();
    for (std::size_t i = 0; i < kSlots; ++i) {
        Slot& slot = slots()[i];
        int expected = kFree;
        if (!slot.state.compare_exchange_strong(expected, kFilling)) continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.state.store(kind == CleanupKind::Folder ? kFolder : kFile, std::memory_order_release);
        return static_cast<int>(i);
    }
    return -1;
}

void forgetOnSignal(int handle) {
    if (handle < 0 || static_cast<std::size_t>(handle) >= kSlots) return;
    slots()[static_cast<std::size_t>(handle)].state.store(kFree, std::memory_order_release);
}

HeldSignals::HeldSignals() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : kSignals)
        sigaddset(&held, signal);
    ::sigprocmask(SIG_BLOCK, &held, &previous_);
}

HeldSignals::~HeldSignals() {
    ::sigprocmask(SIG_SETMASK, &previous_, nullptr);
}

void removeFolderWithFiles(const char* folder) {
    const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        // getdents64 rather than readdir: no memory is allocated. Removing entries while
        // reading may hide others, so the folder is read again until a pass removes nothing.
        alignas(8) char buffer[4096];
        for (int pass = 0; pass < 64; ++pass) {
            ::lseek(fd, 0, SEEK_SET);
            bool removed = false;
            for (;;) {
                const long n = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer);
                if (n <= 0) break;
                for (long at = 0; at < n;) {
                    const auto* entry = reinterpret_cast<const struct dirent64*>(buffer + at);
                    const char* name = entry->d_name;
                    const bool dots =
                        name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
                    if (!dots && ::unlinkat(fd, name, 0) == 0) removed = true;
                    at += entry->d_reclen;
                }
            }
            if (!removed) break;
        }
        ::close(fd);
    }
    ::rmdir(folder);
}

}  // namespace quillery::report
