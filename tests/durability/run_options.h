// The command line the durability runs share, and the scratch folder each run works in.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace quillery::durability {

struct RunOptions {
    std::string saver;       // --saver: the save loop program
    std::string counter;     // --counter: the shared counter program
    std::string tool;        // --tool: quillery-data
    long cycles = 30;        // --cycles
    long minutes = 0;        // --minutes: run for this long instead of a number of cycles
    long rounds = 1000;      // --rounds: increments by each sharing program
    std::uint32_t seed = 0;  // --seed: a fresh one, printed, unless given
    std::string dir;         // --dir: where the scratch folder goes ($TMPDIR or /tmp)
    bool keep = false;       // --keep: keep the scratch folder even after a sound run
};

// Reads the options; every name in `required` must be given. On a wrong command line writes
// why and the usage to standard error and returns false.
bool parseRunOptions(int argc, char** argv, std::initializer_list<std::string> required,
                     RunOptions& options);

// A fresh folder for one run, removed at the end unless kept.
class ScratchDir {
  public:
    explicit ScratchDir(const RunOptions& options);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    // A failed run keeps its files for a look, and says where they are.
    void keepIf(bool failed);

  private:
    std::string path_;
    bool keep_;
};

}  // namespace quillery::durability
