// The main window at work on 32,000 generated entries, driven through its real widgets
// offscreen: open the catalogue and show the list, switch to a category tab, find a word, save
// one entry and undo the save; then, maximised, order the list by a click on the Value heading
// and type a word into the search box key by key. Beside each step, SQLite does the same data
// work on the same entries in the same run: the rows of the list in name order, the rows of one
// category, a search of every column, the save and its undo as two small transactions, the rows
// by value through an index, and a search of every column per key. Prints both sides; nothing
// is asserted.
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/testing/catalogue_generator.h"
#include "app/tools/catalogue_store.h"
#include "app/window/display_quillery.h"
#include "app/window/find_books.h"
#include "app/window/main_window_layout.h"
#include "app/window/program_start.h"
#include "bench/sqlite_catalogue.h"
#include "bench/window_bench_setup.h"
#include "runtime/window/testing/test_driver.h"

namespace {

using namespace quillery;
using namespace quillery::bench;
using namespace quillery::script;
namespace fs = std::filesystem;
namespace W = displayquillery;

constexpr std::size_t kEntries = 32000;
constexpr char kWord[] = "Orchard";

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

constexpr char kTyped[] = "orchard";

struct Steps {
    double open = 0, tab = 0, find = 0, save = 0, undo = 0;
    double order = 0, slowestKey = 0, clear = 0;
    std::vector<double> keys;
};

// A left click on the list's heading `text`, as the mouse makes it.
Action clickHeading(const QString& text) {
    return inspect("heading", [text](Window& w) {
        auto* view = qobject_cast<QTreeView*>(w.controlWidget(W::BOOKLIST));
        QHeaderView* header = view->header();
        for (int c = 0; c < view->model()->columnCount(); ++c) {
            if (view->model()->headerData(c, Qt::Horizontal).toString() != text) continue;
            const QPointF at(header->sectionViewportPosition(c) + 5, header->height() / 2);
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QMouseEvent click(type, at, header->viewport()->mapToGlobal(at), Qt::LeftButton,
                                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                  Qt::NoModifier);
                QApplication::sendEvent(header->viewport(), &click);
            }
        }
    });
}

// One key typed into the search box.
Action typeIntoSearch(int key, const QString& text) {
    return inspect("key", [key, text](Window& w) {
        QWidget* box = w.controlWidget(W::FILTERBOX);
        box->setFocus();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(box, &release);
    });
}

// The window's steps, each timed from the action that starts it to the next time the window
// waits for the user.
Steps runWindow(const fs::path& path) {
    Steps steps;
    Clock::time_point start;
    auto mark = [&](double* into) {
        return inspect("time", [&, into](Window&) {
            if (into == nullptr) {
                start = Clock::now();
            } else {
                *into = since(start);
            }
        });
    };
    ScriptedSession s;
    s.then(mark(&steps.open).in("BOOKSPLASH$WINDOW"))
        .then(timer(1))
        .then(mark(nullptr).in("DISPLAYQUILLERY$QUICKWINDOW"))
        .then(chooseTab(W::ALL + 1))
        .then(mark(&steps.tab))
        .then(chooseTab(W::ALL))
        .then(click(W::FIND))
        .then(mark(nullptr).in("GETFINDSTRING$FIND"))
        .then(type(getfindstring::FINDSTRING, kWord))
        .then(mark(&steps.find).in("DISPLAYQUILLERY$QUICKWINDOW"))
        .then(chooseTab(W::ALL))
        .then(choose(W::BOOKLIST, 1000))
        .then(type(W::QLY_TITLE, "A title saved by the benchmark"))
        .then(mark(nullptr))
        .then(click(W::SAVE))
        .then(mark(&steps.save))
        .then(mark(nullptr))
        .then(click(W::UNDO))
        .then(mark(&steps.undo))
        .then(resizeWindow(1280, 665))
        .then(mark(nullptr))
        .then(clickHeading("Value"))
        .then(mark(&steps.order));
    steps.keys.resize(std::size(kTyped) - 1);
    for (std::size_t i = 0; i + 1 < std::size(kTyped); ++i) {
        const char c = kTyped[i];
        s.then(mark(nullptr))
            .then(typeIntoSearch(Qt::Key_A + (c - 'a'), QString(QChar(c))))
            .then(mark(&steps.keys[i]));
    }
    s.then(mark(nullptr))
        .then(typeIntoSearch(Qt::Key_Escape, {}))
        .then(mark(&steps.clear))
        .then(menu(W::FILEEXIT));
    initialiseGlobals();
    start = Clock::now();
    DISPLAYQUILLERY(path.string());
    if (!s.done())
        std::fprintf(stderr, "main_window_bench: the script stopped:\n%s", s.report().c_str());
    steps.slowestKey =
        steps.keys.empty() ? 0 : *std::max_element(steps.keys.begin(), steps.keys.end());
    return steps;
}

Steps runSqlite(const fs::path& path, const std::vector<QuilleryRecord>& records) {
    Steps steps;
    Sql sql(path);
    sql.exec(kSchema);
    sql.exec("CREATE INDEX namekey ON books(namekey)");
    insertBooks(sql, records);
    sqlite3_stmt* insert = sql.prepare(std::string("INSERT INTO books(") + kColumns +
                                       ") VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");

    struct Row {
        std::int64_t rowid;
        std::string key;
    };
    auto rowsOf = [&](sqlite3_stmt* query) {
        std::vector<Row> rows;
        while (sqlite3_step(query) == SQLITE_ROW) {
            const auto* key = reinterpret_cast<const char*>(sqlite3_column_text(query, 1));
            rows.push_back({sqlite3_column_int64(query, 0), key ? key : ""});
        }
        sqlite3_reset(query);
        return rows;
    };
    std::vector<Row> all;
    steps.open = millisecondsOf([&] {
        sqlite3_stmt* list = sql.prepare(
            "SELECT rowid, namekey, category FROM books WHERE deleted = 0 ORDER BY namekey");
        all = rowsOf(list);
        sqlite3_finalize(list);
    });
    std::string category = reinterpret_cast<const char*>(records.front().CATEGORY.data);
    category = std::string(records.front().CATEGORY.clipped());
    steps.tab = millisecondsOf([&] {
        sqlite3_stmt* tab = sql.prepare(
            "SELECT rowid, namekey FROM books WHERE deleted = 0 AND category = ? ORDER BY namekey");
        sqlite3_bind_text(tab, 1, category.c_str(), -1, SQLITE_STATIC);
        rowsOf(tab);
        sqlite3_finalize(tab);
    });
    steps.find = millisecondsOf([&] {
        sqlite3_stmt* find = sql.prepare(
            "SELECT rowid, namekey FROM books WHERE deleted = 0 AND instr(isbn || condition || "
            "location || buydate || edition || printdate || value || other || pubdate || rating || "
            "namekey || titlekey || lastname || firstname || title || phones || category || "
            "contents, ?) > 0 ORDER BY namekey");
        sqlite3_bind_text(find, 1, kWord, -1, SQLITE_STATIC);
        rowsOf(find);
        sqlite3_finalize(find);
    });
    const std::int64_t edited = all[999].rowid;
    std::int64_t added = 0;
    steps.save = millisecondsOf([&] {
        sql.exec("BEGIN");
        sqlite3_stmt* get =
            sql.prepare(std::string("SELECT ") + kColumns + " FROM books WHERE rowid = ?");
        sqlite3_bind_int64(get, 1, edited);
        require(sqlite3_step(get) == SQLITE_ROW, "get");
        QuilleryRecord r = rowOf(get);
        sqlite3_finalize(get);
        sql.exec(("UPDATE books SET deleted = 1 WHERE rowid = " + std::to_string(edited)).c_str());
        r.TITLE = "A title saved by the benchmark";
        bindRecord(insert, r);
        stepDone(insert, "insert");
        added = sqlite3_last_insert_rowid(sql.db());
        sql.exec("COMMIT");
    });
    steps.undo = millisecondsOf([&] {
        sql.exec("BEGIN");
        sql.exec(("UPDATE books SET deleted = 1 WHERE rowid = " + std::to_string(added)).c_str());
        sql.exec(("UPDATE books SET deleted = 0 WHERE rowid = " + std::to_string(edited)).c_str());
        sql.exec("COMMIT");
    });
    sqlite3_finalize(insert);
    sql.exec("CREATE INDEX value ON books(value)");
    steps.order = millisecondsOf([&] {
        sqlite3_stmt* byValue = sql.prepare(
            "SELECT rowid, value FROM books WHERE deleted = 0 ORDER BY value IS NULL OR value = "
            "'', "
            "value");
        rowsOf(byValue);
        sqlite3_finalize(byValue);
    });
    for (std::size_t n = 1; n < std::size(kTyped); ++n) {
        const std::string typed(kTyped, n);
        const double key = millisecondsOf([&] {
            sqlite3_stmt* search = sql.prepare(
                "SELECT rowid, value FROM books WHERE deleted = 0 AND instr(upper(isbn || "
                "condition || location || buydate || edition || printdate || value || other || "
                "pubdate || rating || namekey || titlekey || lastname || firstname || title || "
                "phones || category || contents), upper(?)) > 0 ORDER BY value");
            sqlite3_bind_text(search, 1, typed.c_str(), -1, SQLITE_TRANSIENT);
            rowsOf(search);
            sqlite3_finalize(search);
        });
        steps.keys.push_back(key);
        steps.slowestKey = std::max(steps.slowestKey, key);
    }
    steps.clear = steps.open;  // the whole list again, as shown at open
    return steps;
}

void printRow(const char* what, double window, double sqlite) {
    std::printf("%-40s %10.1f %10.1f\n", what, window, sqlite);
}

}  // namespace

int main(int argc, char** argv) {
    prepareOffscreen();
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const fs::path dir = freshFolder("quillery-main-window-bench");
    // The window keeps its size when it closes: in the benchmark's folder, not the person's.
    qputenv("XDG_CONFIG_HOME", (dir / "config").string().c_str());
    const std::vector<QuilleryRecord> records = currentEntries(kEntries);
    writeCatalogue(dir / "Bench.QLY", records);

    const Steps window = runWindow(dir / "Bench.QLY");
    const Steps sqlite = runSqlite(dir / "bench.sqlite", records);
    std::printf("main window over %zu generated entries (ms; sqlite: the same data work)\n",
                records.size());
    std::printf("%-40s %10s %10s\n", "step", "window", "sqlite");
    printRow("open the catalogue and show the list", window.open, sqlite.open);
    printRow("switch to a category tab", window.tab, sqlite.tab);
    printRow("find a word (\"Orchard\")", window.find, sqlite.find);
    printRow("save one entry", window.save, sqlite.save);
    printRow("undo the save", window.undo, sqlite.undo);
    printRow("maximised: order by Value (heading click)", window.order, sqlite.order);
    for (std::size_t i = 0; i < window.keys.size() && i < sqlite.keys.size(); ++i) {
        const std::string what = "search box: \"" + std::string(kTyped, i + 1) + "\"";
        printRow(what.c_str(), window.keys[i], sqlite.keys[i]);
    }
    printRow("search box: slowest key press", window.slowestKey, sqlite.slowestKey);
    printRow("search box: Escape, the whole list again", window.clear, sqlite.clear);
    fs::remove_all(dir);
    return 0;
}
