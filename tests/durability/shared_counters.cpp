// The counting program of the sharing runs: several of these share one catalogue, each
// adding one to counters kept in its records, one held record at a time, so that no increment
// can be lost between two programs.
//
//   durability_shared_counters prepare FILE N     adds N counters at 0 (FILE is a catalogue)
//   durability_shared_counters count FILE ROUNDS SEED
//                                                 ROUNDS increments of counters picked at
//                                                 random; then "added A B ..." per counter
//   durability_shared_counters totals FILE        "totals A B ..." as stored
#include <charconv>
#include <chrono>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/build_keys.h"
#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "runtime/errors.h"
#include "storage/file_statements.h"
#include "tests/durability/catalogue_access.h"

namespace quillery::durability {
namespace {

constexpr std::string_view kProgram = "durability_shared_counters";
constexpr std::string_view kCounterName = "Counter";
constexpr int kLockWaitSeconds = 1;
// A read of a record another program holds is repeated this long before it gives up.
constexpr int kHoldWaitSeconds = 10;
constexpr std::uint32_t kLongestPauseUs = 2000;

struct Counter {
    std::uint32_t record = 0;
    std::int64_t value = 0;
};

std::int64_t valueOf(const QuilleryRecord& record) {
    const std::string_view text = record.VALUE.clipped();
    std::int64_t value = -1;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// The counters in file order, with their stored values.
bool readCounters(std::vector<Counter>& counters) {
    SET(QUILLERY);
    for (;;) {
        NEXT(QUILLERY);
        if (errorCode() == ErrorCode::kRecordNotAvailable) return true;
        if (statementFailed(kProgram, "cannot read the counters")) return false;
        if (QLY.LASTNAME == kCounterName) counters.push_back({POSITION(QUILLERY), valueOf(QLY)});
    }
}

void printCounts(std::string_view label, const std::vector<std::int64_t>& counts) {
    std::cout << label;
    for (const std::int64_t count : counts)
        std::cout << " " << count;
    std::cout << std::endl;
}

int prepare(const std::string& path, int count) {
    if (!openCatalogue(kProgram, path, kOpenAlone)) return 3;
    LOGOUT(kLockWaitSeconds, QUILLERY);
    if (statementFailed(kProgram, "cannot begin")) return 3;
    for (int i = 0; i < count; ++i) {
        QLY = QuilleryRecord{};
        QLY.LASTNAME = kCounterName;
        QLY.FIRSTNAME = "No. " + std::to_string(i);
        QLY.VALUE = "0";
        BUILDKEYS();
        ADD(QUILLERY);
        if (statementFailed(kProgram, "cannot add a counter")) return 3;
    }
    COMMIT();
    return statementFailed(kProgram, "cannot commit the counters") ? 3 : 0;
}

// Holds the counter's record, adds one, writes it back and lets it go. The pause between the
// read and the write, as a person editing would make, is where an update goes lost unless
// the hold keeps the other program out.
bool increment(const Counter& counter, std::chrono::microseconds pause) {
    HOLD(QUILLERY, kHoldWaitSeconds);
    GET(QUILLERY, counter.record);
    if (statementFailed(kProgram, "cannot hold record " + std::to_string(counter.record)))
        return false;
    std::this_thread::sleep_for(pause);
    QLY.VALUE = std::to_string(valueOf(QLY) + 1);
    PUT(QUILLERY);
    const bool failed = statementFailed(kProgram, "cannot write the counter");
    RELEASE(QUILLERY);
    return !failed;
}

int count(const std::string& path, long rounds, std::uint32_t seed) {
    if (!openCatalogue(kProgram, path, kOpenShared)) return 3;
    std::vector<Counter> counters;
    if (!readCounters(counters)) return 3;
    if (counters.empty()) {
        std::cerr << kProgram << ": " << path << " holds no counters\n";
        return 3;
    }
    std::vector<std::int64_t> added(counters.size());
    std::mt19937 random(seed);
    for (long round = 0; round < rounds; ++round) {
        const std::size_t pick = random() % counters.size();
        if (!increment(counters[pick], std::chrono::microseconds(random() % kLongestPauseUs)))
            return 3;
        ++added[pick];
    }
    printCounts("added", added);
    return 0;
}

int totals(const std::string& path) {
    if (!openCatalogue(kProgram, path, kOpenToRead)) return 3;
    std::vector<Counter> counters;
    if (!readCounters(counters)) return 3;
    std::vector<std::int64_t> values;
    for (const Counter& counter : counters)
        values.push_back(counter.value);
    printCounts("totals", values);
    return 0;
}

long numberOr(const char* text, long fallback) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return *text != '\0' && *end == '\0' && value > 0 ? value : fallback;
}

}  // namespace
}  // namespace quillery::durability

int main(int argc, char** argv) {
    using namespace quillery::durability;
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "prepare" && argc == 4 && numberOr(argv[3], 0) > 0)
        return prepare(argv[2], static_cast<int>(numberOr(argv[3], 0)));
    if (mode == "count" && argc == 5 && numberOr(argv[3], 0) > 0)
        return count(argv[2], numberOr(argv[3], 0),
                     static_cast<std::uint32_t>(std::strtoul(argv[4], nullptr, 10)));
    if (mode == "totals" && argc == 3) return totals(argv[2]);
    std::cerr << "usage: " << kProgram
              << " prepare CATALOGUE N | count CATALOGUE ROUNDS SEED | totals CATALOGUE\n";
    return 2;
}
