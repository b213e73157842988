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
#include <string>
#include <string_view>
#include <vector>

#include "app/build_keys.h"
#include "app/catalogue_generator.h"
#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "app/tools/catalogue_store.h"
#include "bench/sqlite_catalogue.h"
#include "runtime/errors.h"
#include "storage/file_statements.h"

namespace {

using namespace quillery;
using namespace quillery::bench;
namespace fs = std::filesystem;

constexpr std::size_t kEntries = 32000;
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
    OPEN(QUILLERY, 0x12);
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
        OPEN(QUILLERY, 0x20);
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

}  // namespace

// With "engine" or "sqlite" as its argument only that side runs, for a profiler or strace; a
// second argument gives a smaller number of entries (and a tenth of them as saves).
int main(int argc, char** argv) {
    const std::string_view only = argc > 1 ? argv[1] : "";
    const std::size_t entries = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : kEntries;
    if (entries != kEntries) kSaves = entries / 10;
    const fs::path dir = fs::temp_directory_path() / "quillery-catalogue-bench";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::vector<QuilleryRecord> records = generateCatalogue(entries, 20261208);

    const Figures engine = only == "sqlite" ? Figures{} : runEngine(dir / "Bench.QLY", records);
    const Figures sqlite = only == "engine" ? Figures{} : runSqlite(dir / "bench.sqlite", records);

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
    if (only != "sqlite") printCheck(dir / "Bench.QLY");
    fs::remove_all(dir);
    return 0;
}
