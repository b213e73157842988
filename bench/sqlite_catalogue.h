// What the benchmarks share: timing, and the catalogue as an SQLite table with the same fields
// and indexes, the baseline every benchmark measures against in the same run.
#pragma once

#include <sqlite3.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/quillery_record.h"
#include "runtime/errors.h"

namespace quillery::bench {

inline void require(bool ok, std::string_view what) {
    if (ok) return;
    std::fprintf(stderr, "bench: %.*s failed\n", static_cast<int>(what.size()), what.data());
    std::exit(1);
}

inline double processorMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The elapsed time of `work`, and in `processor` the processor time it took (the rest of the
// elapsed time is mostly waiting for the disk).
inline double millisecondsOf(const std::function<void()>& work, double* processor = nullptr) {
    const double processorStart = processorMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    const double elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (processor != nullptr) *processor = processorMilliseconds() - processorStart;
    return elapsed;
}

// Stops the benchmark when the engine's last statement failed.
inline void requireEngine(std::string_view what) {
    if (errorCode() == 0) return;
    std::fprintf(stderr, "bench: %.*s: error %d %s\n", static_cast<int>(what.size()), what.data(),
                 errorCode(), errorText().c_str());
    std::exit(1);
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

inline std::int64_t stampOf(std::int32_t date, std::int32_t time) {
    return (static_cast<std::int64_t>(date) << 32) | static_cast<std::uint32_t>(time);
}

template <std::size_t N>
void bindText(sqlite3_stmt* s, int column, const FixedString<N>& text) {
    const std::string_view clipped = text.clipped();
    sqlite3_bind_text(s, column, clipped.data(), static_cast<int>(clipped.size()), SQLITE_STATIC);
}

inline void bindRecord(sqlite3_stmt* s, const QuilleryRecord& r) {
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
inline QuilleryRecord rowOf(sqlite3_stmt* s) {
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
    explicit Sql(const std::filesystem::path& path) {
        require(sqlite3_open(path.c_str(), &db_) == SQLITE_OK, "sqlite3_open");
        exec("PRAGMA synchronous=FULL");
    }
    ~Sql() { sqlite3_close(db_); }
    void exec(const char* sql) {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
            std::fprintf(stderr, "bench: %s\n", message ? message : sql);
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

inline void stepDone(sqlite3_stmt* s, std::string_view what) {
    require(sqlite3_step(s) == SQLITE_DONE, what);
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
}

// A table of `records` in file order, in one transaction.
inline void insertBooks(Sql& sql, const std::vector<QuilleryRecord>& records) {
    sqlite3_stmt* insert = sql.prepare(std::string("INSERT INTO books(") + kColumns +
                                       ") VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    sql.exec("BEGIN");
    for (const QuilleryRecord& r : records) {
        bindRecord(insert, r);
        stepDone(insert, "insert");
    }
    sql.exec("COMMIT");
    sqlite3_finalize(insert);
}

}  // namespace quillery::bench
