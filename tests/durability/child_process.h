// Child processes for the durability runs: start a program with its standard output on a
// pipe, run one to its end, and say how one ended.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace quillery::durability {

struct Child {
    pid_t pid = -1;
    int output = -1;  // read end of the child's standard output; its standard error is ours
};

// Starts argv[0] with `argv`. False (and `error` set) when it could not be started.
bool startChild(const std::vector<std::string>& argv, Child& child, std::string& error);
// Waits for the child's end and closes its pipe: its exit code, or minus the signal that
// ended it.
int waitForChild(Child& child);
// Everything left on the child's standard output, up to its end.
std::string readRest(int fd);

struct Finished {
    int status = 0;  // as waitForChild
    std::string output;
};
Finished runToEnd(const std::vector<std::string>& argv);

// "exit 3", "signal 9", or "could not be started".
std::string describeEnd(int status);

}  // namespace quillery::durability
