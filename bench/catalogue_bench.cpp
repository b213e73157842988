// The catalogue through the storage engine against SQLite on the same 32,000 generated entries,
// in one run: import in one transaction, 1,000 saves as the main window makes them (the old
// version put back marked deleted, the new one added, one transaction each), a read in author
// order, an open and read in file order, and the size of each file. Prints both sides and
// their ratio; nothing is asserted.
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/build_keys.h"
#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "app/testing/catalogue_generator.h"
#include "app/tools/catalogue_store.h"
#include "bench/sqlite_catalogue.h"
#include "runtime/errors.h"
#include "storage/access_mode.h"
#include "storage/file_statements.h"

namespace {

using namespace quillery;
using namespace quillery::bench;
namespace AccessMode = quillery::storage::AccessMode;
namespace fs = std::filesystem;

constexpr std::size_t kEntries = 32000;
constexpr const char* kEngineFile = "Bench.QLY";
constexpr const char* kSqliteFile = "bench.sqlite";
std::size_t kSaves = 1000;

// The edit of one save: a new change stamp and a retitled copy, with its derived keys.
QuilleryRecord edited(const QuilleryRecord& record, std::size_t n) {
    QuilleryRecord copy = record;
    copy.DELETED = 0;
    copy.setCHANGED({record.CHANGEDDATE + 1, static_cast<std::int32_t>(n % 8640000) + 1});
    copy.TITLE = std::string(record.TITLE.clipped().substr(0, 40)) + " (2)";
    BUILDKEYS(copy);
    return copy;
}

// Which records the saves edit: spread over the file, never the header.
std::vector<std::size_t> savedIndexes(std::size_t count) {
    std::vector<std::size_t> picks;
    for (std::size_t i = 0; i < kSaves; ++i)
        picks.push_back((i * 7919) % count);
    return picks;
}

struct Figures {
    double import = 0, saves = 0, authorOrder = 0, openAndFileOrder = 0;
    double importProcessor = 0, savesProcessor = 0;
    std::uint64_t bytes = 0;
    std::size_t authorRows = 0, fileRows = 0;
};

// The engine: the program's own statements on the catalogue declaration.
Figures runEngine(const fs::path& path, const std::vector<QuilleryRecord>& records) {
    Figures f;
    QUILLERYFILE = path.string();
    CREATE(QUILLERY);
    requireEngine("create");
    OPEN(QUILLERY, AccessMode::kReadWrite | AccessMode::kDenyAll);
    requireEngine("open");
    std::vector<std::uint32_t> positions;
    f.import = millisecondsOf(
        [&] {
            LOGOUT(1, QUILLERY);
            requireEngine("logout");
            CLEAR(QUILLERY);
            ADD(QUILLERY);  // the header record
            for (const QuilleryRecord& r : records) {
                QLY = r;
                ADD(QUILLERY);
                positions.push_back(POSITION(QUILLERY));
            }
            requireEngine("add");
            COMMIT();
            requireEngine("commit");
        },
        &f.importProcessor);
    const std::vector<std::size_t> picks = savedIndexes(records.size());
    f.saves = millisecondsOf(
        [&] {
            for (std::size_t i = 0; i < picks.size(); ++i) {
                LOGOUT(1, QUILLERY);
                GET(QUILLERY, positions[picks[i]]);
                requireEngine("get");
                const QuilleryRecord newVersion = edited(QLY, i);
                QLY.DELETED = 1;
                PUT(QUILLERY);
                requireEngine("put");
                QLY = newVersion;
                ADD(QUILLERY);
                requireEngine("add");
                COMMIT();
                requireEngine("commit");
            }
        },
        &f.savesProcessor);
    f.authorOrder = millisecondsOf([&] {
        SET(keyOf(QUILLERY, QuilleryKey::AUTHORKEY));
        for (NEXT(QUILLERY); errorCode() == 0; NEXT(QUILLERY)) {
            const QuilleryRecord copy = QLY;
            f.authorRows += copy.LASTNAME.data[0] != 0;
        }
    });
    CLOSE(QUILLERY);
    requireEngine("close");
    f.openAndFileOrder = millisecondsOf([&] {
        OPEN(QUILLERY, AccessMode::kDenyWrite);  // read-only
        requireEngine("open");
        SET(QUILLERY);
        for (NEXT(QUILLERY); errorCode() == 0; NEXT(QUILLERY)) {
            const QuilleryRecord copy = QLY;
            f.fileRows += copy.DELETED <= 1;
        }
        CLOSE(QUILLERY);
    });
    f.bytes = fs::file_size(path);
    return f;
}

Figures runSqlite(const fs::path& path, const std::vector<QuilleryRecord>& records) {
    Figures f;
    std::vector<std::int64_t> rowids;
    {
        Sql sql(path);
        sql.exec(kSchema);
        const std::string insertText = std::string("INSERT INTO books(") + kColumns +
                                       ") VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
        sqlite3_stmt* insert = sql.prepare(insertText);
        f.import = millisecondsOf(
            [&] {
                sql.exec("BEGIN");
                bindRecord(insert, QuilleryRecord{});  // the header record
                stepDone(insert, "insert");
                for (const QuilleryRecord& r : records) {
                    bindRecord(insert, r);
                    stepDone(insert, "insert");
                    rowids.push_back(sqlite3_last_insert_rowid(sql.db()));
                }
                sql.exec("COMMIT");
            },
            &f.importProcessor);
        sqlite3_stmt* get =
            sql.prepare(std::string("SELECT ") + kColumns + " FROM books WHERE rowid = ?");
        sqlite3_stmt* markDeleted = sql.prepare("UPDATE books SET deleted = 1 WHERE rowid = ?");
        const std::vector<std::size_t> picks = savedIndexes(records.size());
        f.saves = millisecondsOf(
            [&] {
                for (std::size_t i = 0; i < picks.size(); ++i) {
                    sql.exec("BEGIN");
                    sqlite3_bind_int64(get, 1, rowids[picks[i]]);
                    require(sqlite3_step(get) == SQLITE_ROW, "get");
                    const QuilleryRecord old = rowOf(get);
                    sqlite3_reset(get);
                    sqlite3_bind_int64(markDeleted, 1, rowids[picks[i]]);
                    stepDone(markDeleted, "update");
                    bindRecord(insert, edited(old, i));
                    stepDone(insert, "insert");
                    sql.exec("COMMIT");
                }
            },
            &f.savesProcessor);
        sqlite3_stmt* byAuthor = sql.prepare(std::string("SELECT ") + kColumns +
                                             " FROM books INDEXED BY authorkey WHERE lastname <> "
                                             "'' ORDER BY lastname COLLATE NOCASE");
        f.authorOrder = millisecondsOf([&] {
            while (sqlite3_step(byAuthor) == SQLITE_ROW) {
                const QuilleryRecord copy = rowOf(byAuthor);
                f.authorRows += copy.LASTNAME.data[0] != 0;
            }
        });
        for (sqlite3_stmt* s : {insert, get, markDeleted, byAuthor})
            sqlite3_finalize(s);
    }
    f.openAndFileOrder = millisecondsOf([&] {
        Sql sql(path);
        sqlite3_stmt* all =
            sql.prepare(std::string("SELECT ") + kColumns + " FROM books ORDER BY rowid");
        while (sqlite3_step(all) == SQLITE_ROW) {
            const QuilleryRecord copy = rowOf(all);
            f.fileRows += copy.DELETED <= 1;
        }
        sqlite3_finalize(all);
    });
    f.bytes = fs::file_size(path);
    return f;
}

// The check quillery-data runs, on the file the engine made: the figures count only if it is sound.
void printCheck(const fs::path& path) {
    auto store = tools::makeCatalogueStore();
    std::vector<std::string> faults;
    tools::StoreStatus s = store->open(path.string(), tools::StoreAccess::kReadOnly);
    if (s.ok()) s = store->check(faults);
    store->close();
    if (!s.ok()) {
        std::printf("check of the engine's file: error %d %s\n", s.code, s.text.c_str());
        return;
    }
    std::printf("check of the engine's file: %s\n", faults.empty() ? "sound" : "NOT SOUND");
    for (const std::string& fault : faults)
        std::printf("  %s\n", fault.c_str());
}

void printRow(const char* name, double engine, double sqlite, const char* unit) {
    std::printf("%-44s %12.1f %12.1f %8.2f  %s\n", name, engine, sqlite,
                sqlite > 0 ? engine / sqlite : 0.0, unit);
}

// The command line: "engine" or "sqlite" runs only that side, for a profiler or strace; a
// number after it gives a smaller number of entries (and a tenth of them as saves); --keep DIR
// writes the two files into DIR and leaves them there, to be checked from outside.
struct Options {
    std::string_view only;
    std::size_t entries = kEntries;
    std::optional<fs::path> keep;
};

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    std::vector<std::string_view> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--keep") {
            if (++i == argc) return std::nullopt;
            options.keep = fs::path(argv[i]);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() > 2) return std::nullopt;
    if (!positional.empty()) options.only = positional[0];
    if (positional.size() > 1) options.entries = std::strtoul(positional[1].data(), nullptr, 10);
    return options;
}

// A kept folder may be new or hold anything but the benchmark's own two files, which are never
// overwritten.
bool keptFolderReady(const fs::path& dir) {
    std::error_code error;
    fs::create_directories(dir, error);
    if (error) {
        std::fprintf(stderr, "catalogue_bench: cannot make %s: %s\n", dir.c_str(),
                     error.message().c_str());
        return false;
    }
    for (const char* name : {kEngineFile, kSqliteFile}) {
        if (fs::exists(dir / name)) {
            std::fprintf(stderr, "catalogue_bench: %s exists already; give a folder without it\n",
                         (dir / name).c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: catalogue_bench [engine|sqlite [ENTRIES]] [--keep DIR]\n");
        return 2;
    }
    const std::string_view only = options->only;
    const std::size_t entries = options->entries;
    if (entries != kEntries) kSaves = entries / 10;
    const fs::path dir =
        options->keep.value_or(fs::temp_directory_path() / "quillery-catalogue-bench");
    if (options->keep) {
        if (!keptFolderReady(dir)) return 1;
    } else {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    const std::vector<QuilleryRecord> records = generateCatalogue(entries, 20261208);

    const Figures engine = only == "sqlite" ? Figures{} : runEngine(dir / kEngineFile, records);
    const Figures sqlite = only == "engine" ? Figures{} : runSqlite(dir / kSqliteFile, records);

    std::printf("catalogue of %zu generated entries (+ header), %zu saves; files in %s\n",
                records.size(), kSaves, dir.c_str());
    std::printf("%-44s %12s %12s %8s\n", "case", "engine", "sqlite", "ratio");
    printRow("import, one transaction", engine.import, sqlite.import, "ms");
    printRow("  of which processor time", engine.importProcessor, sqlite.importProcessor, "ms");
    printRow("1,000 saves, one transaction each", engine.saves, sqlite.saves, "ms");
    printRow("  of which processor time", engine.savesProcessor, sqlite.savesProcessor, "ms");
    printRow("read all in author order", engine.authorOrder, sqlite.authorOrder, "ms");
    printRow("open and read all in file order", engine.openAndFileOrder, sqlite.openAndFileOrder,
             "ms");
    printRow("file size", static_cast<double>(engine.bytes) / 1024.0,
             static_cast<double>(sqlite.bytes) / 1024.0, "KiB");
    std::printf("rows read: author order %zu / %zu, file order %zu / %zu\n", engine.authorRows,
                sqlite.authorRows, engine.fileRows, sqlite.fileRows);
    if (only != "sqlite") printCheck(dir / kEngineFile);
    if (options->keep) {
        std::printf("files kept in %s\n", dir.c_str());
    } else {
        fs::remove_all(dir);
    }
    return 0;
}
