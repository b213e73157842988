// Child processes for the sharing and transaction tests: fork a body that reports by its exit
// code, and a pipe pair to take turns with it.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

namespace quillery::storage::testing {

// One-way signal between the two processes.
class Turn {
  public:
    Turn() {
        if (::pipe(fds_) != 0) fds_[0] = fds_[1] = -1;
    }
    ~Turn() {
        ::close(fds_[0]);
        ::close(fds_[1]);
    }
    void give() {
        const char c = 1;
        (void)!::write(fds_[1], &c, 1);
    }
    // False when the other side went away without giving the turn.
    bool take() {
        char c = 0;
        return ::read(fds_[0], &c, 1) == 1;
    }

  private:
    int fds_[2];
};

// Runs `body` in a child process, which ends with the body's result as its exit code (and never
// returns into the test framework).
inline pid_t forkChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        int code = 99;
        try {
            code = body();
        } catch (...) {
            code = 98;
        }
        ::_exit(code);
    }
    return pid;
}

// The child's exit code, or minus the signal that ended it.
inline int waitChild(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1000;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return -WTERMSIG(status);
    return -1001;
}

}  // namespace quillery::storage::testing
