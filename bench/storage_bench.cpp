// The storage engine against SQLite on the same workload: 500,000 entries of 20 to 400 bytes
// with sequential and random keys, loaded in one commit and with a commit every 100 entries,
// then read back in order and looked up one by one. Each case runs once; the table at the end
// gives both times and their ratio.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "storage/btree.h"
#include "storage/data_file.h"
#include "storage/entry_kinds.h"
#include "storage/posix_file.h"

namespace {

using quillery::storage::Bytes;

constexpr int kEntries = 500000;
constexpr int kLookups = 100000;

struct Workload {
    std::vector<Bytes> keys;
    std::vector<Bytes> data;
};

// Record-like keys (table, kind, 4-byte number); random keys scatter the numbers.
const Workload& workload(bool randomKeys) {
    static std::map<bool, Workload> made;
    auto it = made.find(randomKeys);
    if (it != made.end()) return it->second;
    Workload w;
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> length(20, 400);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < kEntries; ++i) {
        const std::uint32_t number = randomKeys ? static_cast<std::uint32_t>(i) * 2654435761u
                                                : static_cast<std::uint32_t>(i + 1);
        Bytes key = quillery::storage::recordKey(1, number);
        const int total = length(rng);
        Bytes value(static_cast<std::size_t>(total) - key.size());
        for (auto& b : value)
            b = static_cast<std::uint8_t>(byte(rng) % 64 + 32);  // text-like
        w.keys.push_back(std::move(key));
        w.data.push_back(std::move(value));
    }
    return made.emplace(randomKeys, std::move(w)).first->second;
}

std::filesystem::path scratch(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() / "quillery-bench";
    std::filesystem::create_directories(dir);
    auto p = dir / name;
    std::filesystem::remove(p);
    std::filesystem::remove(p.string() + "-journal");
    return p;
}

std::map<std::string, double>& results() {
    static std::map<std::string, double> r;
    return r;
}

void record(benchmark::State& state, const std::string& name, double seconds) {
    state.SetIterationTime(seconds);
    results()[name] = seconds;
}

double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// ---- the engine ------------------------------------------------------------------------------

std::unique_ptr<quillery::storage::DataFile> openEngine(const std::filesystem::path& path) {
    using namespace quillery::storage;
    std::unique_ptr<File> raw;
    if (!PosixFile::open(path.string(), PosixOpenMode::kOpenOrCreate, raw).ok()) std::abort();
    std::unique_ptr<DataFile> file;
    if (!DataFile::open(std::move(raw), {}, file).ok()) std::abort();
    return file;
}

void loadEngine(const std::filesystem::path& path, const Workload& w, int commitEvery) {
    auto file = openEngine(path);
    quillery::storage::Tree tree(*file);
    for (int i = 0; i < kEntries; ++i) {
        if (!tree.insert(w.keys[i], w.data[i]).ok()) std::abort();
        if (commitEvery > 0 && (i + 1) % commitEvery == 0 && !file->commit().ok()) std::abort();
    }
    if (!file->close().ok()) std::abort();
}

void engineLoad(benchmark::State& state, bool randomKeys, int commitEvery,
                const std::string& name) {
    const Workload& w = workload(randomKeys);
    for (auto _ : state) {
        const auto path = scratch(name + ".vlt");
        const auto start = std::chrono::steady_clock::now();
        loadEngine(path, w, commitEvery);
        record(state, "engine " + name, since(start));
    }
}

void engineScan(benchmark::State& state, bool randomKeys, const std::string& name) {
    const Workload& w = workload(randomKeys);
    const auto path = scratch(name + ".vlt");
    loadEngine(path, w, 0);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto file = openEngine(path);
        quillery::storage::TreeCursor cursor(*file);
        std::size_t count = 0, bytes = 0;
        for (bool more = cursor.seekFirst(); more; more = cursor.next()) {
            ++count;
            bytes += cursor.data().size();
        }
        benchmark::DoNotOptimize(bytes);
        if (count != kEntries) std::abort();
        record(state, "engine " + name, since(start));
    }
}

void engineLookups(benchmark::State& state, const std::string& name) {
    const Workload& w = workload(true);
    const auto path = scratch(name + ".vlt");
    loadEngine(path, w, 0);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pick(0, kEntries - 1);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto file = openEngine(path);
        quillery::storage::Tree tree(*file);
        Bytes data;
        for (int i = 0; i < kLookups; ++i)
            if (!tree.find(w.keys[static_cast<std::size_t>(pick(rng))], &data)) std::abort();
        record(state, "engine " + name, since(start));
    }
}

// ---- SQLite ----------------------------------------------------------------------------------

sqlite3* openSqlite(const std::filesystem::path& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.string().c_str(), &db) != SQLITE_OK) std::abort();
    return db;
}

void exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
}

void loadSqlite(const std::filesystem::path& path, const Workload& w, int commitEvery) {
    sqlite3* db = openSqlite(path);
    exec(db, "CREATE TABLE t(k BLOB PRIMARY KEY, v BLOB)");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO t VALUES(?, ?)", -1, &insert, nullptr);
    exec(db, "BEGIN");
    for (int i = 0; i < kEntries; ++i) {
        sqlite3_bind_blob(insert, 1, w.keys[i].data(), static_cast<int>(w.keys[i].size()),
                          SQLITE_STATIC);
        sqlite3_bind_blob(insert, 2, w.data[i].data(), static_cast<int>(w.data[i].size()),
                          SQLITE_STATIC);
        if (sqlite3_step(insert) != SQLITE_DONE) std::abort();
        sqlite3_reset(insert);
        if (commitEvery > 0 && (i + 1) % commitEvery == 0) {
            exec(db, "COMMIT");
            exec(db, "BEGIN");
        }
    }
    exec(db, "COMMIT");
    sqlite3_finalize(insert);
    sqlite3_close(db);
}

void sqliteLoad(benchmark::State& state, bool randomKeys, int commitEvery,
                const std::string& name) {
    const Workload& w = workload(randomKeys);
    for (auto _ : state) {
        const auto path = scratch(name + ".db");
        const auto start = std::chrono::steady_clock::now();
        loadSqlite(path, w, commitEvery);
        record(state, "sqlite " + name, since(start));
    }
}

void sqliteScan(benchmark::State& state, bool randomKeys, const std::string& name) {
    const Workload& w = workload(randomKeys);
    const auto path = scratch(name + ".db");
    loadSqlite(path, w, 0);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        sqlite3* db = openSqlite(path);
        sqlite3_stmt* scan = nullptr;
        sqlite3_prepare_v2(db, "SELECT k, v FROM t ORDER BY k", -1, &scan, nullptr);
        std::size_t count = 0, bytes = 0;
        while (sqlite3_step(scan) == SQLITE_ROW) {
            ++count;
            bytes += static_cast<std::size_t>(sqlite3_column_bytes(scan, 1));
        }
        benchmark::DoNotOptimize(bytes);
        sqlite3_finalize(scan);
        sqlite3_close(db);
        if (count != kEntries) std::abort();
        record(state, "sqlite " + name, since(start));
    }
}

void sqliteLookups(benchmark::State& state, const std::string& name) {
    const Workload& w = workload(true);
    const auto path = scratch(name + ".db");
    loadSqlite(path, w, 0);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pick(0, kEntries - 1);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        sqlite3* db = openSqlite(path);
        sqlite3_stmt* get = nullptr;
        sqlite3_prepare_v2(db, "SELECT v FROM t WHERE k = ?", -1, &get, nullptr);
        Bytes data;
        for (int i = 0; i < kLookups; ++i) {
            const Bytes& key = w.keys[static_cast<std::size_t>(pick(rng))];
            sqlite3_bind_blob(get, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
            if (sqlite3_step(get) != SQLITE_ROW) std::abort();
            const auto* v = static_cast<const std::uint8_t*>(sqlite3_column_blob(get, 0));
            data.assign(v, v + sqlite3_column_bytes(get, 0));
            sqlite3_reset(get);
        }
        sqlite3_finalize(get);
        sqlite3_close(db);
        record(state, "sqlite " + name, since(start));
    }
}

const char* const kCases[] = {
    "load sequential, one commit",
    "load random, one commit",
    "load sequential, commit every 100",
    "load random, commit every 100",
    "scan in order (sequential load)",
    "scan in order (random load)",
    "100000 point look-ups",
};

void registerAll() {
    auto once = [](benchmark::internal::Benchmark* b) {
        b->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    };
    const std::string c[] = {kCases[0], kCases[1], kCases[2], kCases[3],
                             kCases[4], kCases[5], kCases[6]};
    const bool random[] = {false, true, false, true};
    const int every[] = {0, 0, 100, 100};
    for (int i = 0; i < 4; ++i) {
        once(benchmark::RegisterBenchmark(("engine/" + c[i]).c_str(), [=](benchmark::State& s) {
            engineLoad(s, random[i], every[i], c[i]);
        }));
        once(benchmark::RegisterBenchmark(("sqlite/" + c[i]).c_str(), [=](benchmark::State& s) {
            sqliteLoad(s, random[i], every[i], c[i]);
        }));
    }
    for (int i = 4; i < 6; ++i) {
        const bool r = i == 5;
        once(benchmark::RegisterBenchmark(("engine/" + c[i]).c_str(),
                                          [=](benchmark::State& s) { engineScan(s, r, c[i]); }));
        once(benchmark::RegisterBenchmark(("sqlite/" + c[i]).c_str(),
                                          [=](benchmark::State& s) { sqliteScan(s, r, c[i]); }));
    }
    once(benchmark::RegisterBenchmark(("engine/" + c[6]).c_str(),
                                      [=](benchmark::State& s) { engineLookups(s, c[6]); }));
    once(benchmark::RegisterBenchmark(("sqlite/" + c[6]).c_str(),
                                      [=](benchmark::State& s) { sqliteLookups(s, c[6]); }));
}

void printTable() {
    std::printf("\n%-36s %12s %12s %10s\n", "case", "engine (s)", "sqlite (s)", "sqlite/engine");
    for (const char* name : kCases) {
        const auto e = results().find(std::string("engine ") + name);
        const auto s = results().find(std::string("sqlite ") + name);
        if (e == results().end() || s == results().end()) continue;
        std::printf("%-36s %12.3f %12.3f %10.2fx\n", name, e->second, s->second,
                    s->second / e->second);
    }
}

}  // namespace

int main(int argc, char** argv) {
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printTable();
    std::filesystem::remove_all(std::filesystem::temp_directory_path() / "quillery-bench");
    return 0;
}
