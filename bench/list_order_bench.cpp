// The list's column orders and its filter as typed, on 32,000 generated entries, against SQLite
// on the same entries in the same run: each column's order read through its key (SQLite: ORDER
// BY on the column's index), and a word typed key by key into the filter (SQLite: a LIKE scan of
// every column per key press). Also the filter's memory. Prints both sides; nothing is asserted.
#include <malloc.h>
#include <sqlite3.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/book_text_index.h"
#include "app/catalogue_globals.h"
#include "app/column_orders.h"
#include "app/quillery_file.h"
#include "app/typed_filter.h"
#include "bench/catalogue_setup.h"
#include "storage/access_mode.h"
#include "storage/file_statements.h"

namespace {

using namespace quillery;
using namespace quillery::bench;
namespace fs = std::filesystem;

constexpr std::size_t kEntries = 32000;

struct Column {
    BookColumn column;
    const char* name;
    const char* sqlColumn;
    const char* sqlIndex;
};
constexpr std::array<Column, kBookColumnCount> kListColumns{{
    {BookColumn::Author, "Author", "lastname", "authorkey"},
    {BookColumn::Title, "Title", "title", "titlekeykey"},
    {BookColumn::Category, "Category", "category", "categorykey"},
    {BookColumn::Rating, "Rating", "rating", "ratingkey"},
    {BookColumn::Location, "Location", "location", "locationkey"},
    {BookColumn::Value, "Value", "value", "valuekey"},
    {BookColumn::Isbn, "ISBN", "isbn", "isbnkey"},
    {BookColumn::PubDate, "Publication date", "pubdate", "datekey"},
    {BookColumn::Condition, "Condition", "condition", "conditionkey"},
    {BookColumn::BuyDate, "Buy date", "buydate", "buydatekey"},
    {BookColumn::Edition, "Edition", "edition", "editionkey"},
    {BookColumn::PrintDate, "Print date", "printdate", "printdatekey"},
    {BookColumn::Other, "Other", "other", "otherkey"},
}};

// Every text column of a row joined, as a LIKE scan over "the whole record" reads it.
constexpr const char* kAllText =
    "isbn||' '||condition||' '||location||' '||buydate||' '||edition||' '||printdate||' '||"
    "value||' '||other||' '||pubdate||' '||rating||' '||namekey||' '||titlekey||' '||lastname"
    "||' '||firstname||' '||title||' '||phones||' '||category||' '||contents";

// The best of three runs of `work`, in ms, and the processor time of that run: on a machine
// shared with other work the elapsed time is the larger, the processor time the steadier.
struct Timing {
    double elapsed = 1e300;
    double processor = 0;
};
template <class Work>
Timing bestOf(Work work) {
    Timing best;
    for (int i = 0; i < 3; ++i) {
        double processor = 0;
        const double elapsed = millisecondsOf(work, &processor);
        if (elapsed < best.elapsed) best = {elapsed, processor};
    }
    return best;
}

void printRow(const std::string& name, const Timing& engine, const Timing& sqlite) {
    std::printf("%-40s %9.2f %9.2f %7.2f %9.2f %9.2f  ms\n", name.c_str(), engine.elapsed,
                sqlite.elapsed, engine.elapsed / sqlite.elapsed, engine.processor,
                sqlite.processor);
}

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

void benchOrders(Sql& sql, const std::vector<std::int32_t>& rows) {
    std::printf("\n%-40s %9s %9s %7s %9s %9s\n", "sort by column (read through its key)", "engine",
                "sqlite", "ratio", "eng. cpu", "sql. cpu");
    for (const Column& c : kListColumns) {
        for (const SortDirection direction :
             {SortDirection::Ascending, SortDirection::Descending}) {
            const bool up = direction == SortDirection::Ascending;
            std::size_t engineRows = 0;
            const Timing engine = bestOf([&] {
                const std::optional<ColumnOrder> order = readColumnOrder(c.column, direction);
                require(order.has_value(), "column order");
                engineRows = orderedRows(rows, *order).size();
            });
            const std::string query = std::string("SELECT rowid FROM books INDEXED BY ") +
                                      c.sqlIndex + " WHERE deleted = 0 AND " + c.sqlColumn +
                                      " <> '' ORDER BY " + c.sqlColumn + " COLLATE NOCASE" +
                                      (up ? "" : " DESC");
            sqlite3_stmt* ordered = sql.prepare(query);
            sqlite3_stmt* blanks =
                sql.prepare(std::string("SELECT rowid FROM books WHERE ") +
                            "deleted = 0 AND rowid > 1 AND " + c.sqlColumn + " = ''");
            std::size_t sqliteRows = 0;
            const Timing sqlite = bestOf([&] {
                sqliteRows = 0;
                for (sqlite3_stmt* s : {ordered, blanks}) {
                    while (sqlite3_step(s) == SQLITE_ROW)
                        sqliteRows += sqlite3_column_int64(s, 0) > 0;
                    sqlite3_reset(s);
                }
            });
            sqlite3_finalize(ordered);
            sqlite3_finalize(blanks);
            require(engineRows == rows.size() && sqliteRows == rows.size(), "rows ordered");
            printRow(std::string(c.name) + (up ? "" : ", descending"), engine, sqlite);
        }
    }
}

// One word typed key by key: each prefix's answer, the engine narrowing as it goes.
void benchTyping(Sql& sql, const BookTextIndex& index, const std::vector<std::int32_t>& rows,
                 std::string_view word) {
    const bool ignoreCase = index.caseRule() == CaseRule::IgnoreCase;
    std::printf("\n%-40s %9s %9s %7s %9s %9s\n",
                (std::string("typing \"") + std::string(word) + "\"" +
                 (ignoreCase ? ", case ignored" : ", case as typed"))
                    .c_str(),
                "engine", "sqlite", "ratio", "matches", "(sqlite)");
    sqlite3_stmt* scan = sql.prepare(std::string("SELECT rowid FROM books WHERE deleted = 0 AND ") +
                                     "rowid > 1 AND " +
                                     (ignoreCase ? std::string("(") + kAllText + ") LIKE ?1"
                                                 : std::string("instr(") + kAllText + ", ?1) > 0"));
    TypedFilter filter;
    for (std::size_t n = 1; n <= word.size(); ++n) {
        const std::string typed(word.substr(0, n));
        std::size_t matches = 0;
        const double engine =
            millisecondsOf([&] { matches = filter.rowsHolding(index, rows, typed).size(); });
        const std::string pattern = ignoreCase ? "%" + typed + "%" : typed;
        std::size_t sqliteMatches = 0;
        const double sqlite = millisecondsOf([&] {
            sqlite3_bind_text(scan, 1, pattern.c_str(), -1, SQLITE_TRANSIENT);
            while (sqlite3_step(scan) == SQLITE_ROW)
                ++sqliteMatches;
            sqlite3_reset(scan);
        });
        std::printf("%-40s %9.2f %9.2f %7.2f %9zu %9zu  ms, books\n",
                    ("  \"" + typed + "\"").c_str(), engine, sqlite, engine / sqlite, matches,
                    sqliteMatches);
    }
    sqlite3_finalize(scan);
    // Every key press answered without narrowing: the text changed other than by growing.
    const double full = bestOf([&] { (void)index.rowsHolding(rows, word.substr(0, 1)); }).elapsed;
    std::printf("%-40s %9.2f  ms\n", "  one letter, every book (no narrowing)", full);
}

void benchFilter(Sql& sql, const std::vector<std::int32_t>& rows) {
    for (const CaseRule rule : {CaseRule::MatchCase, CaseRule::IgnoreCase}) {
        const std::size_t heapBefore = heapInUse();
        BookTextIndex index(rule);
        const double fill = millisecondsOf([&] { require(index.fillFromCatalogue(), "fill"); });
        const std::size_t heap = heapInUse() - heapBefore;
        std::printf(
            "\nfilter index, %s: %zu books read in %.1f ms; %.1f MiB of text, %.1f MiB "
            "of heap (%.0f bytes a book)\n",
            rule == CaseRule::IgnoreCase ? "case ignored" : "case as typed", index.size(), fill,
            static_cast<double>(index.textBytes()) / 1048576.0,
            static_cast<double>(heap) / 1048576.0,
            static_cast<double>(heap) / static_cast<double>(index.size()));
        benchTyping(sql, index, rows, rule == CaseRule::IgnoreCase ? "orwell" : "Orwell");
        benchTyping(sql, index, rows, rule == CaseRule::IgnoreCase ? "harbour" : "Harbour");
    }
}

}  // namespace

int main() {
    const fs::path dir = freshFolder("quillery-list-order-bench");
    const std::vector<QuilleryRecord> records = currentEntries(kEntries);
    const fs::path engineFile = dir / "Bench.QLY";
    writeCatalogue(engineFile, records);

    Sql sql(dir / "bench.sqlite");
    sql.exec(kSchema);
    std::vector<QuilleryRecord> withHeader{QuilleryRecord{}};  // the header record first
    withHeader.insert(withHeader.end(), records.begin(), records.end());
    insertBooks(sql, withHeader);

    QUILLERYFILE = engineFile.string();
    OPEN(QUILLERY, storage::AccessMode::kDenyWrite);  // read-only
    requireEngine("open");
    // The list's rows: every book's record position, in file order after the header record.
    std::vector<std::int32_t> rows;
    SET(QUILLERY);
    NEXT(QUILLERY);
    for (NEXT(QUILLERY); errorCode() == 0; NEXT(QUILLERY))
        rows.push_back(static_cast<std::int32_t>(POSITION(QUILLERY)));
    require(rows.size() == records.size(), "file order");

    std::printf("%zu generated books; files in %s; best of three runs for the orders\n",
                records.size(), dir.c_str());
    benchOrders(sql, rows);
    benchFilter(sql, rows);
    CLOSE(QUILLERY);
    return 0;
}
