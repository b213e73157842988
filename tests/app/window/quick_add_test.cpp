// Quick add in the look-up window against a book service on the loopback address: ISBNs typed
// with real key presses, digits and Return, as a barcode scanner does, each saved into the
// category of the tab shown as its answer comes; every addition one undo step; scans whose
// look-up failed kept until the person says what becomes of them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <functional>

#include "app/isbn.h"
#include "app/window/display_quillery.h"
#include "runtime/window/message_box_dialog.h"
#include "runtime/window/testing/input_synthesis.h"
#include "tests/app/window/book_service_test.h"

namespace quillery::testing {
namespace {

using namespace script;
namespace W = displayquillery;

// A valid ISBN-13 of our own: 978190000, `n` in three digits, and its check digit.
std::string ourIsbn(int n) {
    std::string digits = "978190000" + QString("%1").arg(n, 3, 10, QChar('0')).toStdString();
    return digits + isbn13CheckDigit(digits);
}

const char* const kAuthors[] = {"Wren Holloway", "Ines Marlow",  "Bram Ostrander",
                                "Cleo Ferris",   "Dov Ashgrove", "Petra Lune"};

// Serves book `n` as the books API describes it, answering after `delayMs`.
void serveOurBook(BookServiceServer& server, int n, int delayMs = 0) {
    const std::string isbn = ourIsbn(n);
    const QByteArray body = QString(R"({"ISBN:%1": {
  "url": "https://openlibrary.org/books/OL%2M/x", "key": "/books/OL%2M",
  "title": "Scanned Book %2",
  "authors": [{"url": "https://openlibrary.org/authors/OL%2A/x", "name": "%3"}],
  "publishers": [{"name": "Kestrel House"}], "publish_date": "2001", "number_of_pages": %2,
  "identifiers": {"isbn_13": ["%1"]}
}})")
                                .arg(QString::fromStdString(isbn))
                                .arg(n)
                                .arg(kAuthors[n % std::size(kAuthors)])
                                .toUtf8();
    server.answer(booksTarget(isbn.c_str()), {.body = body, .delayMs = delayMs});
}

// The person at the look-up window: each time the window is open and `step` has something to
// do, it does it; steps move on when they return true.
class QuickAddPerson {
  public:
    using Step = std::function<bool(QWidget* window)>;
    explicit QuickAddPerson(std::vector<Step> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(10);
    }
    bool done() const { return next_ == steps_.size(); }

  private:
    void poll() {
        if (next_ == steps_.size() || busy_) return;
        QWidget* window = QApplication::activeModalWidget();
        if (window == nullptr) return;
        busy_ = true;  // a step may run a nested event loop (a question box)
        if (steps_[next_](window)) ++next_;
        busy_ = false;
    }
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    bool busy_ = false;
    QTimer timer_;
};

// What the person does at the window.
QLineEdit* isbnBox(QWidget* w) {
    return w->findChild<QLineEdit*>("Isbn");
}
void scanInto(QWidget* w, const std::string& isbn) {
    QTest::keyClicks(isbnBox(w), QString::fromStdString(isbn));
    QTest::keyClick(isbnBox(w), Qt::Key_Return);
}
void clickButton(QWidget* w, const char* name) {
    QTest::mouseClick(w->findChild<QAbstractButton*>(name), Qt::LeftButton);
}
// The same for a click that asks a question (the script answers it): made once the step is
// over, as the question's own event loop holds the click until it is answered; `answered` is
// set then.
void clickButtonThatAsks(QWidget* w, const char* name, bool& answered) {
    answered = false;
    auto* button = w->findChild<QAbstractButton*>(name);
    QTimer::singleShot(0, button, [button, &answered] {
        QTest::mouseClick(button, Qt::LeftButton);
        answered = true;
    });
}
void turnKeepAddingOn(QWidget* w) {
    auto* box = w->findChild<QCheckBox*>("KeepAdding");
    if (!box->isChecked()) QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}
// The running list's rows: "ISBN | Book | State".
std::vector<std::string> scanRows(QWidget* w) {
    std::vector<std::string> rows;
    auto* list = w->findChild<QTreeWidget*>("Scans");
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        rows.push_back(
            (item->text(0) + " | " + item->text(1) + " | " + item->text(2)).toStdString());
    }
    return rows;
}
bool settled(QWidget* w) {
    for (const std::string& row : scanRows(w))
        if (row.ends_with("| looking up\u2026") || row.ends_with("| waiting")) return false;
    return true;
}

Action act(std::string name, std::function<void(Window&)> gesture) {
    return inspect(std::move(name), [gesture = std::move(gesture)](Window& window) {
        script_input::activate(window);
        gesture(window);
    });
}
Action clickTool(int field) {
    return act("a click on a tool button", [field](Window& w) {
        QTest::mouseClick(qobject_cast<QAbstractButton*>(w.controlWidget(field)), Qt::LeftButton);
    });
}
Action clickTab(const std::string& text) {
    return act("a click on the tab " + text, [text](Window& w) {
        auto* bar = w.controlWidget(W::SHEET)->findChild<QTabBar*>();
        for (int i = 0; i < bar->count(); ++i)
            if (bar->tabText(i).toStdString() == text)
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
    });
}

std::vector<StoredRecord> currentRecords(const std::string& path) {
    std::vector<StoredRecord> records = fileRecords(path), current;
    for (std::size_t i = 1; i < records.size(); ++i)  // the header record left out
        if (records[i].current()) current.push_back(records[i]);
    return current;
}

using QuickAddTest = BookServiceTest;

TEST_F(QuickAddTest, TenScansInARowAreSavedIntoTheTabsCategoryAndTenUndosTakeThemAway) {
    QuilleryRecord salt = book("Lindqvist", "Aubrey", "The Salt Road", "Travel");
    salt.ISBN = kKnownIsbn;  // scanned again below: a second copy
    writeCatalogue("Shelf.QLY", {book("Austen", "Jane", "Emma", "Novels"), salt});
    const std::vector<StoredRecord> before = fileRecords("Shelf.QLY");

    // Scans: the first answered slowly, so that the rest are typed while it waits; six more
    // books the service knows, one the catalogue has already, three it does not know.
    std::vector<std::string> isbns;
    for (int n = 1; n <= 6; ++n) {
        serveOurBook(server_, n, n == 1 ? 600 : 0);
        isbns.push_back(ourIsbn(n));
    }
    isbns.push_back(kKnownIsbn);
    for (int n = 7; n <= 9; ++n) {
        server_.answer(booksTarget(ourIsbn(n).c_str()), {.body = "{}"});
        isbns.push_back(ourIsbn(n));
    }
    std::string misread = ourIsbn(5);
    misread.back() = misread.back() == '9' ? '0' : static_cast<char>(misread.back() + 1);

    Window* mainWindow = nullptr;
    std::vector<StoredRecord> added;  // the current records once the scans are in
    std::vector<std::string> rows;
    std::size_t listedWhileOpen = 0;
    QuickAddPerson person({
        [&](QWidget* w) {
            if (w->objectName() != "LookupWindow") return false;
            turnKeepAddingOn(w);
            scanInto(w, misread);
            scanInto(w, isbns[0]);
            // The box is free at once, while the first look-up still waits for its answer.
            EXPECT_TRUE(isbnBox(w)->isEnabled());
            EXPECT_TRUE(isbnBox(w)->text().isEmpty());
            EXPECT_EQ(w->focusWidget(), isbnBox(w));
            for (std::size_t i = 1; i < isbns.size(); ++i)
                scanInto(w, isbns[i]);
            EXPECT_EQ(scanRows(w).at(1), isbns[0] + " |  | looking up\u2026");
            return true;
        },
        [&](QWidget* w) {
            if (!settled(w)) return false;
            rows = scanRows(w);
            listedWhileOpen = listedRows(*mainWindow).size();
            EXPECT_EQ(w->findChild<QLabel*>("Status")->text(),
                      "7 added, 3 not found (added with ISBN only), 1 not added");
            clickButton(w, "Cancel");  // "Close": nothing is outstanding, so no question
            return true;
        },
    });

    ScriptedSession s;
    s.then(dismissSplash())
        .then(clickTab("Travel"))
        .then(inspect("the main window", [&](Window& w) { mainWindow = &w; }))
        .then(clickTool(W::LOOKUP))
        .then(inspect("the new books listed and the last one shown", [&](Window& w) {
            EXPECT_EQ(selectedTab(w), "Travel");
            EXPECT_EQ(listedRows(w).size(), 11u);
            // The slow first look-up was the last to be answered and added.
            EXPECT_EQ(PROP(W::QLY_ISBN, Prop::Text).text(), isbns[0]);
            EXPECT_FALSE(disabled(W::UNDO));
            added = currentRecords("Shelf.QLY");
        }));
    for (int i = 0; i < 10; ++i)
        s.then(clickTool(W::UNDO));
    s.then(inspect("all ten undone", [&](Window& w) {
         EXPECT_EQ(listedRows(w).size(), 1u);
         EXPECT_TRUE(disabled(W::UNDO));
     })).then(menu(W::FILEEXIT));

    DISPLAYQUILLERY("Shelf.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_TRUE(person.done());

    ASSERT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows[0], misread + " |  | not added: the check digit of " + misread +
                           " is wrong; it should be " + ourIsbn(5).back());
    EXPECT_EQ(rows[1], isbns[0] + " | Scanned Book 1 by Ines Marlow | added");
    EXPECT_EQ(rows[7], std::string(kKnownIsbn) +
                           " | The Salt Road Chronicles: Travels Along the O by Aubrey Lindqvist"
                           " | added (already in the catalogue)");
    EXPECT_EQ(rows[8], isbns[7] + " | not found | not found \u2014 added with ISBN only");
    EXPECT_EQ(listedWhileOpen, 11u);  // the main window's list took them as they came

    // Read back through the storage engine: ten books, filed under the tab's category, keyed
    // (the check finds every key sound), stamped; the books the service did not know hold
    // their ISBN and nothing more but the title that names it.
    ASSERT_EQ(added.size(), 12u);
    std::vector<std::string> addedIsbns;
    for (std::size_t i = 2; i < added.size(); ++i) {
        const QuilleryRecord& r = added[i].record;
        addedIsbns.push_back(r.ISBN.str());
        EXPECT_EQ(r.CATEGORY.str(), "Travel");
        EXPECT_NE(r.CREATED().date, 0);
        EXPECT_FALSE(r.TITLEKEY.isBlank());
        const bool unknown = r.TITLE.str() == "ISBN " + r.ISBN.str();
        EXPECT_EQ(unknown, r.LASTNAME.isBlank()) << r.TITLE.str();
        if (unknown) {
            EXPECT_TRUE(r.OTHER.isBlank() && r.PUBDATE.isBlank());
        }
    }
    std::vector<std::string> sortedScans = isbns;
    std::sort(sortedScans.begin(), sortedScans.end());
    std::sort(addedIsbns.begin(), addedIsbns.end());
    EXPECT_EQ(addedIsbns, sortedScans);  // each scan once, the misread none
    EXPECT_TRUE(std::filesystem::exists("Shelf.covers/9780140449136.jpg"));

    // The ten undos left every record as it was; the added ones stay in the file, deleted.
    const std::vector<StoredRecord> after = fileRecords("Shelf.QLY");
    ASSERT_EQ(after.size(), before.size() + 10);
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i].current(), i < before.size() && before[i].current()) << i;
    EXPECT_EQ(currentTitles("Shelf.QLY"), (std::vector<std::string>{"Emma", "The Salt Road"}));
    EXPECT_TRUE(catalogueFaults("Shelf.QLY").empty());
}

TEST_F(QuickAddTest, ScansTheServiceCannotAnswerAreKeptUntilThePersonSaysWhatBecomesOfThem) {
    writeCatalogue("Away.QLY", {book("Austen", "Jane", "Emma")});
    QTcpServer closed;  // a port nothing listens on any more
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QString nowhere = QString("http://127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    qputenv("QUILLERY_LOOKUP_URL", nowhere.toUtf8());
    const std::string first = ourIsbn(11), second = ourIsbn(12);

    std::vector<std::string> rows;
    bool stayedOpen = false, answered = false;
    QuickAddPerson person({
        [&](QWidget* w) {
            if (w->objectName() != "LookupWindow") return false;
            turnKeepAddingOn(w);
            scanInto(w, first);
            scanInto(w, second);
            return true;
        },
        [&](QWidget* w) {
            if (!settled(w)) return false;
            rows = scanRows(w);
            clickButtonThatAsks(w, "Cancel", answered);  // "Close" asks first
            return true;
        },
        [&](QWidget* w) {
            if (!answered) return false;
            stayedOpen = w->objectName() == "LookupWindow" && w->isVisible();
            clickButton(w, "Retry");
            return true;
        },
        [&](QWidget* w) {
            if (!settled(w)) return false;
            clickButtonThatAsks(w, "Cancel", answered);
            return true;
        },
    });

    ScriptedSession s;
    s.then(dismissSplash())
        .then(choose(W::BOOKLIST, 1))
        .then(type(W::QLY_TITLE, "Emma, revised"))
        .then(clickTool(W::LOOKUP))              // the edit is saved before quick add starts
        .then(answerMessageBox(BUTTON::Cancel))  // "Go back"
        .then(answerMessageBox(BUTTON::Yes))     // "Add with ISBN only"
        .then(inspect("kept with their ISBN only", [&](Window& w) {
            EXPECT_EQ(listedRows(w).size(), 3u);
            EXPECT_EQ(
                currentTitles("Away.QLY"),
                (std::vector<std::string>{"Emma, revised", "ISBN " + first, "ISBN " + second}));
        }));
    for (int i = 0; i < 3; ++i)
        s.then(clickTool(W::UNDO));  // two additions, then the edit
    s.then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Away.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_TRUE(person.done());

    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].starts_with(first + " |  | failed: Could not reach the book service at " +
                                    nowhere.toStdString() + ": "))
        << rows[0];
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(s.messageBoxes().size(), 2u);
    EXPECT_EQ(s.messageBoxes()[0].caption, "Look Up by ISBN");
    EXPECT_EQ(s.messageBoxes()[0].text,
              "2 scanned ISBNs are not in the catalogue yet: still being looked up, or their "
              "look-up failed.\nAdd them with just their ISBN, to look up later?");
    EXPECT_EQ(currentTitles("Away.QLY"), (std::vector<std::string>{"Emma"}));
    EXPECT_TRUE(catalogueFaults("Away.QLY").empty());
}

}  // namespace
}  // namespace quillery::testing
