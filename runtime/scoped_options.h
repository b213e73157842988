// Installs an engine's options for a scope and puts back the ones installed before when the scope
// ends, so a test (or a command run inside a program) cannot leave its settings behind:
//
//   auto options = storageOptions();
//   options.fileLockWait = std::chrono::milliseconds(20);
//   const ScopedStorageOptions scoped(options);
//
// Scopes of one engine must end in the reverse order of their start: one that ended while a later
// one still stood would have its options put back by the later one's end, leaking them past it.
// Such an order is a fault of the caller, reported at once.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace quillery {

// `install` puts its argument in place and returns the options it replaced.
template <class Options, Options (*install)(Options)>
class ScopedOptions {
  public:
    explicit ScopedOptions(Options options)
        : previous_(install(std::move(options))), depth_(++openScopes()) {}
    ~ScopedOptions() {
        if (openScopes() != depth_) {
            std::fputs("Options scopes ended out of order: a later scope still stands\n", stderr);
            std::abort();
        }
        --openScopes();
        install(std::move(previous_));
    }
    ScopedOptions(const ScopedOptions&) = delete;
    ScopedOptions& operator=(const ScopedOptions&) = delete;

  private:
    // How many scopes of this engine stand now.
    static int& openScopes() {
        static int count = 0;
        return count;
    }

    Options previous_;
    int depth_;
};

}  // namespace quillery
