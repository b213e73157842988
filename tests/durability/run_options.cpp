// Command-line options and scratch folders of the durability runs.
#include "tests/durability/run_options.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>

namespace quillery::durability {
namespace {

bool readNumber(const std::string& text, long& value) {
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0' && value >= 0;
}

}  // namespace

bool parseRunOptions(int argc, char** argv, std::initializer_list<std::string> required,
                     RunOptions& options) {
    const std::map<std::string, std::string*> texts{{"--saver", &options.saver},
                                                    {"--counter", &options.counter},
                                                    {"--tool", &options.tool},
                                                    {"--dir", &options.dir}};
    long seed = -1;
    const std::map<std::string, long*> numbers{{"--cycles", &options.cycles},
                                               {"--minutes", &options.minutes},
                                               {"--rounds", &options.rounds},
                                               {"--seed", &seed}};
    std::string problem;
    for (int i = 1; i < argc && problem.empty(); ++i) {
        const std::string name = argv[i];
        if (name == "--keep") {
            options.keep = true;
        } else if (i + 1 == argc || (!texts.contains(name) && !numbers.contains(name))) {
            problem = "unknown option or missing value: " + name;
        } else if (texts.contains(name)) {
            *texts.at(name) = argv[++i];
        } else if (!readNumber(argv[++i], *numbers.at(name))) {
            problem = name + " takes a whole number, not \"" + argv[i] + "\"";
        }
    }
    for (const std::string& name : required)
        if (problem.empty() && texts.at(name)->empty()) problem = name + " is missing";
    if (!problem.empty()) {
        std::cerr << argv[0] << ": " << problem << "\nusage: " << argv[0]
                  << " --saver|--counter PATH --tool PATH [--cycles N | --minutes N]"
                     " [--rounds N] [--seed N] [--dir DIR] [--keep]\n";
        return false;
    }
    options.seed = seed >= 0 ? static_cast<std::uint32_t>(seed) : std::random_device{}();
    return true;
}

ScratchDir::ScratchDir(const RunOptions& options) : keep_(options.keep) {
    std::string base = options.dir;
    if (base.empty()) base = std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "/tmp";
    std::error_code error;
    std::filesystem::create_directories(base, error);
    std::string pattern = base + "/quillery-durability-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::cerr << "cannot make a scratch folder in " << base << "\n";
        return;
    }
    path_ = pattern;
    // The programs' transaction control file goes here too, not into the user's state.
    ::setenv("XDG_STATE_HOME", path_.c_str(), 1);
}

ScratchDir::~ScratchDir() {
    if (path_.empty() || keep_) return;
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

void ScratchDir::keepIf(bool failed) {
    keep_ = keep_ || failed;
    if (keep_ && ok()) std::cerr << "the run's files are kept in " << path_ << "\n";
}

}  // namespace quillery::durability
