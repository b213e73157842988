// The catalogue through the storage engine against SQLite on the same 32,000 generated entries,
// in one run: import in one transaction, 1,000 saves as the main window makes them (the old
// version put back marked deleted, the new one added, one transaction each), a read in author
// order, an open and read in file order, and the size of each file. Prints both sides and
// their ratio; nothing is asserted.
#include <sqlite3.h>

#include <time.h>

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
#include "runtime/errors.h"
#include "storage/file_statements.h"

namespace {

using namespace quillery;
namespace fs = std::filesystem;

constexpr std::size_t kEntries = 32000;
std::size_t kSaves = 1000;

double processorMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The elapsed time of `work`, and in `processor` the processor time it took (the rest of the
// elapsed time is mostly waiting for the disk).
double millisecondsOf(const std::function<void()>& work, double* processor = nullptr) {
    const double processorStart = processorMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    const double elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (processor != nullptr) *processor = processorMilliseconds() - processorStart;
    return elapsed;
}

void require(bool ok, std::string_view what) {
    if (ok) return;
    std::fprintf(stderr, "catalogue_bench: %.*s failed\n", static_cast<int>(what.size()),
                 what.data());
    std::exit(1);
}

void requireEngine(std::string_view what) {
    if (errorCode() == 0) return;
    std::fprintf(stderr, "catalogue_bench: %.*s: error %d %s\n", static_cast<int>(what.size()),
                 what.data(), errorCode(), errorText().c_str());
    std::exit(1);
}

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

// SQLite: one table of the 22 fields (each stamp group one integer), 15 indexes for the 16 keys
// (the two keys on the publication date share one), clipped text, full synchronous writes.
constexpr const char* kSchema = R"(
CREATE TABLE books(deleted INTEGER, isbn TEXT, condition TEXT, location TEXT, buydate TEXT,
  edition TEXT, printdate TEXT, value TEXT, other TEXT, pubdate TEXT, rating TEXT,
  created INTEGER, changed INTEGER, namekey TEXT, titlekey TEXT, lastname TEXT, firstname TEXT,
  title TEXT, listbytitle INTEGER, phones TEXT, category TEXT, contents TEXT);
CREATE INDEX createdkey ON books(created, deleted);
CREATE INDEX deletekey ON books(deleted);
CREATE INDEX titlekeykey ON books(title COLLATE NOCASE);
CREATE INDEX authorkey ON books(lastname COLLATE NOCASE);
CREATE INDEX datekey ON books(pubdate COLLATE NOCASE);
CREATE INDEX categorykey ON books(category COLLATE NOCASE);
CREATE INDEX ratingkey ON books(rating COLLATE NOCASE);
CREATE INDEX otherkey ON books(other COLLATE NOCASE);
CREATE INDEX isbnkey ON books(isbn COLLATE NOCASE);
CREATE INDEX conditionkey ON books(condition COLLATE NOCASE);
CREATE INDEX locationkey ON books(location COLLATE NOCASE);
CREATE INDEX buydatekey ON books(buydate COLLATE NOCASE);
CREATE INDEX editionkey ON books(edition COLLATE NOCASE);
CREATE INDEX printdatekey ON books(printdate COLLATE NOCASE);
CREATE INDEX valuekey ON books(value COLLATE NOCASE);
)";

constexpr const char* kColumns =
    "deleted, isbn, condition, location, buydate, edition, printdate, value, other, pubdate, "
    "rating, created, changed, namekey, titlekey, lastname, firstname, title, listbytitle, "
    "phones, category, contents";

std::int64_t stampOf(std::int32_t date, std::int32_t time) {
    return (static_cast<std::int64_t>(date) << 32) | static_cast<std::uint32_t>(time);
}

template <std::size_t N>
void bindText(sqlite3_stmt* s, int column, const FixedString<N>& text) {
    const std::string_view clipped = text.clipped();
    sqlite3_bind_text(s, column, clipped.data(), static_cast<int>(clipped.size()), SQLITE_STATIC);
}

void bindRecord(sqlite3_stmt* s, const QuilleryRecord& r) {
    int c = 1;
    sqlite3_bind_int(s, c++, r.DELETED);
    bindText(s, c++, r.ISBN);
    bindText(s, c++, r.CONDITION);
    bindText(s, c++, r.LOCATION);
    bindText(s, c++, r.BUYDATE);
    bindText(s, c++, r.EDITION);
    bindText(s, c++, r.PRINTDATE);
    bindText(s, c++, r.VALUE);
    bindText(s, c++, r.OTHER);
    bindText(s, c++, r.PUBDATE);
    bindText(s, c++, r.RATING);
    sqlite3_bind_int64(s, c++, stampOf(r.CREATEDDATE, r.CREATEDTIME));
    sqlite3_bind_int64(s, c++, stampOf(r.CHANGEDDATE, r.CHANGEDTIME));
    bindText(s, c++, r.NAMEKEY);
    bindText(s, c++, r.TITLEKEY);
    bindText(s, c++, r.LASTNAME);
    bindText(s, c++, r.FIRSTNAME);
    bindText(s, c++, r.TITLE);
    sqlite3_bind_int(s, c++, r.LISTBYTITLE);
    bindText(s, c++, r.PHONES);
    bindText(s, c++, r.CATEGORY);
    bindText(s, c++, r.CONTENTS);
}

template <std::size_t N>
void columnText(sqlite3_stmt* s, int column, FixedString<N>& out) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    out = std::string_view(text ? text : "",
                           static_cast<std::size_t>(sqlite3_column_bytes(s, column)));
}

// Reads a row into a record, as a program would before showing it.
QuilleryRecord rowOf(sqlite3_stmt* s) {
    QuilleryRecord r;
    int c = 0;
    r.DELETED = static_cast<std::uint8_t>(sqlite3_column_int(s, c++));
    columnText(s, c++, r.ISBN);
    columnText(s, c++, r.CONDITION);
    columnText(s, c++, r.LOCATION);
    columnText(s, c++, r.BUYDATE);
    columnText(s, c++, r.EDITION);
    columnText(s, c++, r.PRINTDATE);
    columnText(s, c++, r.VALUE);
    columnText(s, c++, r.OTHER);
    columnText(s, c++, r.PUBDATE);
    columnText(s, c++, r.RATING);
    const std::int64_t created = sqlite3_column_int64(s, c++);
    const std::int64_t changed = sqlite3_column_int64(s, c++);
    r.setCREATED({static_cast<std::int32_t>(created >> 32), static_cast<std::int32_t>(created)});
    r.setCHANGED({static_cast<std::int32_t>(changed >> 32), static_cast<std::int32_t>(changed)});
    columnText(s, c++, r.NAMEKEY);
    columnText(s, c++, r.TITLEKEY);
    columnText(s, c++, r.LASTNAME);
    columnText(s, c++, r.FIRSTNAME);
    columnText(s, c++, r.TITLE);
    r.LISTBYTITLE = static_cast<std::uint8_t>(sqlite3_column_int(s, c++));
    columnText(s, c++, r.PHONES);
    columnText(s, c++, r.CATEGORY);
    columnText(s, c++, r.CONTENTS);
    return r;
}

class Sql {
  public:
    explicit Sql(const fs::path& path) {
        require(sqlite3_open(path.c_str(), &db_) == SQLITE_OK, "sqlite3_open");
        exec("PRAGMA synchronous=FULL");
    }
    ~Sql() { sqlite3_close(db_); }
    void exec(const char* sql) {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
            std::fprintf(stderr, "catalogue_bench: %s\n", message ? message : sql);
            std::exit(1);
        }
    }
    sqlite3_stmt* prepare(const std::string& sql) {
        sqlite3_stmt* s = nullptr;
        require(sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr) == SQLITE_OK, sql);
        return s;
    }
    sqlite3* db() { return db_; }

  private:
    sqlite3* db_ = nullptr;
};

void stepDone(sqlite3_stmt* s, std::string_view what) {
    require(sqlite3_step(s) == SQLITE_DONE, what);
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
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
