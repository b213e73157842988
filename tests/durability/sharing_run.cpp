// The sharing run: two counting programs share one catalogue, each adding one to counters in
// its records many times under record holds. Every increment a program made must be in the
// stored totals (no lost updates) and `quillery-data check` must find the catalogue sound.
//
//   durability_sharing_run --counter PATH --tool PATH [--rounds N] [--seed N] [--dir DIR]
//                          [--keep]
#include <algorithm>
#include <iostream>
#include <sstream>
#include <vector>

#include "tests/durability/child_process.h"
#include "tests/durability/run_options.h"

namespace quillery::durability {
namespace {

constexpr int kPrograms = 2;
// Few counters, so the programs meet on the same record often.
constexpr int kCounters = 3;

// The numbers after `label` in a program's report; empty when the report is not that.
std::vector<long> countsAfter(const std::string& label, const std::string& report) {
    std::istringstream in(report);
    std::string word;
    std::vector<long> counts;
    if (!(in >> word) || word != label) return counts;
    for (long count; in >> count;)
        counts.push_back(count);
    return counts;
}

int fail(const std::string& why) {
    std::cerr << "durability_sharing_run: " << why << "\n";
    return 1;
}

int run(const RunOptions& options, const std::string& dir) {
    const std::string catalogue = dir + "/shared.QLY";
    if (Finished made = runToEnd({options.tool, "create", catalogue}); made.status != 0)
        return fail("quillery-data create (" + describeEnd(made.status) + ")");
    const Finished prepared =
        runToEnd({options.counter, "prepare", catalogue, std::to_string(kCounters)});
    if (prepared.status != 0) return fail("prepare (" + describeEnd(prepared.status) + ")");

    std::vector<Child> programs(kPrograms);
    for (int i = 0; i < kPrograms; ++i) {
        std::string error;
        if (!startChild({options.counter, "count", catalogue, std::to_string(options.rounds),
                         std::to_string(options.seed + static_cast<std::uint32_t>(i))},
                        programs[i], error))
            return fail("cannot start a counting program: " + error);
    }
    std::vector<long> added(kCounters);
    bool allCounted = true;
    for (Child& program : programs) {
        const std::string report = readRest(program.output);
        const int end = waitForChild(program);
        const std::vector<long> counts = countsAfter("added", report);
        if (end != 0 || counts.size() != added.size()) {
            allCounted = false;
            std::cerr << "a counting program failed (" << describeEnd(end) << "): " << report;
            continue;
        }
        for (std::size_t c = 0; c < counts.size(); ++c)
            added[c] += counts[c];
    }
    if (!allCounted) return 1;

    const Finished totals = runToEnd({options.counter, "totals", catalogue});
    const std::vector<long> stored = countsAfter("totals", totals.output);
    if (totals.status != 0 || stored.size() != added.size())
        return fail("cannot read the totals (" + describeEnd(totals.status) + ")");
    long increments = 0, lost = 0, extra = 0;
    for (std::size_t c = 0; c < added.size(); ++c) {
        increments += added[c];
        lost += std::max(0L, added[c] - stored[c]);
        extra += std::max(0L, stored[c] - added[c]);
    }
    std::cout << "durability_sharing_run: " << kPrograms << " programs, " << increments
              << " increments on " << kCounters << " counters, lost updates: " << lost
              << ", counted twice: " << extra << " (seed " << options.seed << ")\n";
    const Finished check = runToEnd({options.tool, "check", catalogue});
    if (check.status != 0)
        return fail("quillery-data check (" + describeEnd(check.status) + "):\n" + check.output);
    return lost == 0 && extra == 0 ? 0 : 1;
}

}  // namespace
}  // namespace quillery::durability

int main(int argc, char** argv) {
    using namespace quillery::durability;
    RunOptions options;
    if (!parseRunOptions(argc, argv, {"--counter", "--tool"}, options)) return 2;
    ScratchDir dir(options);
    if (!dir.ok()) return 3;
    const int result = run(options, dir.path());
    dir.keepIf(result != 0);
    return result;
}
