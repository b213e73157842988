// Installs an engine's options for a scope and puts back the ones installed before when the scope
// ends, so a test (or a command run inside a program) cannot leave its settings behind:
//
//   auto options = storageOptions();
//   options.fileLockWait = std::chrono::milliseconds(20);
//   const ScopedStorageOptions scoped(options);
#pragma once

#include <utility>

namespace quillery {

// `install` puts its argument in place and returns the options it replaced.
template <class Options, Options (*install)(Options)>
class ScopedOptions {
  public:
    explicit ScopedOptions(Options options) : previous_(install(std::move(options))) {}
    ~ScopedOptions() { install(std::move(previous_)); }
    ScopedOptions(const ScopedOptions&) = delete;
    ScopedOptions& operator=(const ScopedOptions&) = delete;

  private:
    Options previous_;
};

}  // namespace quillery
