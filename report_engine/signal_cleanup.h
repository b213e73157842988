// Temporary files and folders the program must not leave behind when it is interrupted: on
// SIGINT, SIGTERM or SIGHUP every path registered here is removed (a folder with the files in
// it) before the program ends as the signal would have ended it. Both programs install this
// when they make their first temporary file.
#pragma once

#include <csignal>
#include <string>

namespace quillery::report {

enum class CleanupKind { File, Folder };

// Registers `path` for removal if a signal ends the program. Returns a handle for
// forgetOnSignal, or -1 when the table is full (the path is then only removed normally).
int removeOnSignal(const std::string& path, CleanupKind kind);
// The path of `handle` is no longer removed on a signal (it was removed normally).
void forgetOnSignal(int handle);

// Holds back SIGINT, SIGTERM and SIGHUP while it stands, so that a temporary path made and
// registered inside its scope is never left by a signal arriving between the two.
class HeldSignals {
  public:
    HeldSignals();
    ~HeldSignals();
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

  private:
    sigset_t previous_;
};

// Removes the files directly in `folder`, then the folder. Safe inside a signal handler.
void removeFolderWithFiles(const char* folder);

}  // namespace quillery::report
