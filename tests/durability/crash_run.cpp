// The crash run: starts the save loop on a catalogue, kills it with SIGKILL at a random
// moment, and then demands that `quillery-data check` finds the catalogue sound, that every
// save acknowledged before the kill is there, and that every save is there whole or not at
// all; again and again, on the same catalogue.
//
//   durability_crash_run --saver PATH --tool PATH [--cycles N | --minutes N] [--seed N]
//                        [--dir DIR] [--keep]
//
// A kill ends the process, not the machine: what the process had written survives in the
// system's cache, so this proves the order of the engine's writes and its recovery on the
// next open. Lost flushes are the business of the storage tests' fault disk.
#include <poll.h>
#include <signal.h>

#include <chrono>
#include <iostream>
#include <random>
#include <sstream>

#include "tests/durability/child_process.h"
#include "tests/durability/run_options.h"

namespace quillery::durability {
namespace {

using Clock = std::chrono::steady_clock;

// Kills land anywhere from before the first save to a few hundred saves in.
constexpr int kLongestLifeMs = 250;
// A long run starts a new catalogue now and then, so that each cycle's check stays quick.
constexpr int kCyclesPerCatalogue = 100;

struct Totals {
    long cycles = 0;
    long acknowledged = 0;
    long lost = 0;
    long keptUnacknowledged = 0;  // committed, killed before the acknowledgement was written
};

// Reads the child's output until `deadline` or its end; false when it ended by itself.
bool readUntil(int fd, Clock::time_point deadline, std::string& output) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return true;
        pollfd poll{fd, POLLIN, 0};
        if (::poll(&poll, 1, static_cast<int>(left.count())) <= 0) continue;
        char buffer[4096];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) return false;
        if (n > 0) output.append(buffer, static_cast<std::size_t>(n));
    }
}

class CrashRun {
  public:
    CrashRun(const RunOptions& options, const std::string& dir)
        : options_(options), dir_(dir), random_(options.seed) {}

    // One cycle: false, with the reason on standard error, when the catalogue failed.
    bool cycle() {
        if (totals_.cycles % kCyclesPerCatalogue == 0 && !newCatalogue()) return false;
        ++totals_.cycles;
        std::string acks;
        std::int64_t lastAcknowledged = verifiedLast_;
        return runSaverUntilKilled(acks) && countAcknowledged(acks, lastAcknowledged) &&
               judgeCatalogue(lastAcknowledged);
    }

    const Totals& totals() const { return totals_; }

  private:
    bool newCatalogue() {
        catalogue_ =
            dir_ + "/crash-" + std::to_string(totals_.cycles / kCyclesPerCatalogue) + ".QLY";
        verifiedLast_ = 0;
        const Finished create = runToEnd({options_.tool, "create", catalogue_});
        if (create.status == 0) return true;
        return fail("quillery-data create (" + describeEnd(create.status) + ")");
    }

    // The loop goes on from the last save the catalogue held, one number at a time.
    bool countAcknowledged(const std::string& acks, std::int64_t& lastAcknowledged) {
        std::istringstream lines(acks);
        for (std::string word; lines >> word;) {
            std::int64_t save = 0;
            if (word != "saved" || !(lines >> save) || save != lastAcknowledged + 1)
                return fail("the save loop wrote an unexpected acknowledgement: " + acks);
            lastAcknowledged = save;
            ++totals_.acknowledged;
        }
        return true;
    }

    // The catalogue after the kill: sound, every save whole, every acknowledged save there.
    bool judgeCatalogue(std::int64_t lastAcknowledged) {
        const Finished check = runToEnd({options_.tool, "check", catalogue_});
        if (check.status != 0)
            return fail("quillery-data check (" + describeEnd(check.status) + "):\n" +
                        check.output);
        const Finished verify = runToEnd({options_.saver, "verify", catalogue_});
        std::int64_t last = -1;
        std::istringstream report(verify.output);  // "last N records R"
        std::string word;
        if (!(report >> word >> last) || word != "last") last = -1;
        if (verify.status != 0 || last < 0)
            return fail("the saves are not whole (" + describeEnd(verify.status) + "):\n" +
                        verify.output);
        if (last < lastAcknowledged) {
            totals_.lost += lastAcknowledged - last;
            return fail(std::to_string(lastAcknowledged - last) +
                        " acknowledged saves are lost; the catalogue ends at save " +
                        std::to_string(last) + ", the last acknowledged is " +
                        std::to_string(lastAcknowledged));
        }
        // At most the one save whose commit had returned when the kill came.
        if (last > lastAcknowledged + 1)
            return fail("the catalogue holds save " + std::to_string(last) +
                        ", but the loop never got past " + std::to_string(lastAcknowledged + 1));
        totals_.keptUnacknowledged += last - lastAcknowledged;
        verifiedLast_ = last;
        return true;
    }

    bool runSaverUntilKilled(std::string& acks) {
        Child saver;
        std::string error;
        if (!startChild({options_.saver, "save", catalogue_}, saver, error))
            return fail("cannot start the save loop: " + error);
        const auto life = std::chrono::milliseconds(random_() % (kLongestLifeMs + 1));
        const bool alive = readUntil(saver.output, Clock::now() + life, acks);
        ::kill(saver.pid, SIGKILL);
        acks += readRest(saver.output);
        const int end = waitForChild(saver);
        if (!alive || end != -SIGKILL)
            return fail("the save loop ended by itself (" + describeEnd(end) + ")");
        return true;
    }

    bool fail(const std::string& why) {
        std::cerr << "durability_crash_run: cycle " << totals_.cycles << " on " << catalogue_
                  << ": " << why << "\n";
        return false;
    }

    const RunOptions& options_;
    std::string dir_;
    std::mt19937 random_;
    std::string catalogue_;
    std::int64_t verifiedLast_ = 0;
    Totals totals_;
};

}  // namespace
}  // namespace quillery::durability

int main(int argc, char** argv) {
    using namespace quillery::durability;
    RunOptions options;
    if (!parseRunOptions(argc, argv, {"--saver", "--tool"}, options)) return 2;
    ScratchDir dir(options);
    if (!dir.ok()) return 3;
    CrashRun run(options, dir.path());
    bool sound = true;
    const auto end = Clock::now() + std::chrono::minutes(options.minutes);
    while (sound &&
           (options.minutes > 0 ? Clock::now() < end : run.totals().cycles < options.cycles))
        sound = run.cycle();
    const Totals& totals = run.totals();
    std::cout << "durability_crash_run: " << totals.cycles << " cycles, " << totals.acknowledged
              << " acknowledged saves, lost: " << totals.lost
              << ", kept unacknowledged: " << totals.keptUnacknowledged << " (seed " << options.seed
              << ")\n";
    dir.keepIf(!sound);
    return sound ? 0 : 1;
}
