// Starting, reading and waiting for the durability runs' child processes.
#include "tests/durability/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quillery::durability {
namespace {

constexpr int kNotStarted = -1000;

}  // namespace

bool startChild(const std::vector<std::string>& argv, Child& child, std::string& error) {
    int fds[2];
    if (::pipe(fds) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        error = std::string("fork: ") + std::strerror(errno);
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    if (pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::close(fds[0]);
        ::close(fds[1]);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    child = {pid, fds[0]};
    return true;
}

int waitForChild(Child& child) {
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(child.pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (child.output >= 0) ::close(child.output);
    child = {};
    if (waited < 0) return kNotStarted;
    if (WIFSIGNALED(status)) return -WTERMSIG(status);
    return WEXITSTATUS(status);
}

std::string readRest(int fd) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return text;
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

Finished runToEnd(const std::vector<std::string>& argv) {
    Child child;
    std::string error;
    if (!startChild(argv, child, error)) return {kNotStarted, error};
    std::string output = readRest(child.output);
    const int status = waitForChild(child);
    return {status, std::move(output)};
}

std::string describeEnd(int status) {
    if (status == kNotStarted) return "could not be started";
    if (status < 0) return "signal " + std::to_string(-status);
    return "exit " + std::to_string(status);
}

}  // namespace quillery::durability
