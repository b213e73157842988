// The editing cycle through the real window: new, duplicate, save and delete, checked in the
// list and in the catalogue file after each step.
#include <gtest/gtest.h>

#include "app/window/display_quillery.h"
#include "app/window/main_window_globals.h"
#include "tests/app/window/main_window_support.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <memory>

namespace quillery::testing {
namespace {

using namespace script;
namespace W = displayquillery;

TEST_F(MainWindowTest, NewEntryTypedAndSavedIsListedAndStored) {
    ScriptedSession s;
    std::vector<std::string> rows;
    s.then(dismissSplash())
        .then(inspect("empty start",
                      [&](Window&) {
                          EXPECT_TRUE(disabled(W::SAVE));
                          EXPECT_TRUE(disabled(W::BOOKSAVE));
                          EXPECT_TRUE(disabled(W::UNDO));
                      }))
        .then(click(W::NEW))
        .then(type(W::QLY_LASTNAME, "Austen"))
        .then(type(W::QLY_FIRSTNAME, "Jane"))
        .then(type(W::QLY_TITLE, "Emma"))
        .then(click(W::SAVE))
        .then(inspect("list", [&](Window& w) { rows = listedRows(w); }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY();
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(rows, (std::vector<std::string>{"Austen, Jane (Emma)"}));
    EXPECT_EQ(currentTitles("Quillery.QLY"), (std::vector<std::string>{"Emma"}));
    EXPECT_TRUE(catalogueFaults("Quillery.QLY").empty());
}

}  // namespace
}  // namespace quillery::testing

namespace quillery::testing {
namespace {

using namespace script;
namespace W = displayquillery;
using Rows = std::vector<std::string>;

// Lets no file of the process grow past its size of now, as a full disk would.
class FullDisk {
  public:
    explicit FullDisk(const std::string& path) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, SIG_IGN);
        struct stat st {};
        ::stat(path.c_str(), &st);
        rlimit limit = saved_;
        limit.rlim_cur = static_cast<rlim_t>(st.st_size);
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

  private:
    rlimit saved_{};
};

const StoredRecord* findTitle(const std::vector<StoredRecord>& records, std::string_view title,
                              bool current = true) {
    for (const StoredRecord& r : records)
        if (r.record.TITLE == title && r.current() == current) return &r;
    return nullptr;
}

TEST_F(MainWindowTest, EditingCycleKeepsEveryVersionUntilReopened) {
    SteppedClock clock;
    writeCatalogue("Books.QLY",
                   {book("Austen", "Jane", "Emma"), book("Conrad", "Joseph", "Nostromo")});
    const QuilleryStamp opened = clock.stamp();
    ScriptedSession s;
    std::vector<StoredRecord> file;
    s.then(dismissSplash())
        // Selecting a field counts as a change: the next row's selection writes a new version.
        .then(focus(W::QLY_TITLE))
        .then(choose(W::BOOKLIST, 2))
        .then(inspect("resaved",
                      [&](Window&) {
                          file = fileRecords("Books.QLY");
                          ASSERT_EQ(file.size(), 4u);
                          EXPECT_FALSE(file[1].current());
                          EXPECT_EQ(file[3].title(), "Emma");
                          EXPECT_TRUE(file[3].current());
                          EXPECT_FALSE(disabled(W::UNDO));
                          EXPECT_EQ(selectedRow(), "Conrad, Joseph (Nostromo)");
                      }))
        // A new entry left blank disappears from the list and the file.
        .then(click(W::NEW))
        .then(inspect("pending",
                      [&](Window& w) {
                          EXPECT_EQ(listedRows(w).back(), "");
                          EXPECT_TRUE(disabled(W::NEW));
                          EXPECT_TRUE(disabled(W::BOOKDUPLICATE));
                      }))
        .then(choose(W::BOOKLIST, 1))
        .then(inspect("discarded",
                      [&](Window& w) {
                          EXPECT_EQ(listedRows(w),
                                    (Rows{"Austen, Jane (Emma)", "Conrad, Joseph (Nostromo)"}));
                          EXPECT_EQ(fileRecords("Books.QLY").size(), 4u);
                          EXPECT_FALSE(disabled(W::NEW));
                      }))
        // A new entry with a title and no names is kept, and listed by its title.
        .then(menu(W::BOOKNEW))
        .then(type(W::QLY_TITLE, "Beowulf"))
        .then(click(W::SAVE))
        .then(inspect("kept",
                      [&](Window& w) {
                          EXPECT_EQ(listedRows(w), (Rows{"Austen, Jane (Emma)", "Beowulf",
                                                         "Conrad, Joseph (Nostromo)"}));
                          EXPECT_EQ(selectedRow(), "Beowulf");
                      }))
        // Delete while a new entry is pending removes that entry only.
        .then(click(W::NEW))
        .then(click(W::DELETE))
        .then(inspect("pending deleted", [&](Window& w) { EXPECT_EQ(listedRows(w).size(), 3u); }))
        // A duplicate is a second entry with the same fields and its own creation stamp.
        .then(choose(W::BOOKLIST, 3))
        .then(inspect("later", [&](Window&) { clock.at.hours = 11; }))
        .then(click(W::DUPLICATE))
        .then(click(W::SAVE))
        // A save re-selects the entry by its new key; its creation stamp stays.
        .then(type(W::QLY_TITLE, "Lord Jim"))
        .then(inspect("later still", [&](Window&) { clock.at.hours = 12; }))
        .then(menu(W::BOOKSAVE))
        .then(inspect("saved",
                      [&](Window& w) {
                          EXPECT_EQ(listedRows(w), (Rows{"Austen, Jane (Emma)", "Beowulf",
                                                         "Conrad, Joseph (Lord Jim)",
                                                         "Conrad, Joseph (Nostromo)"}));
                          EXPECT_EQ(selectedRow(), "Conrad, Joseph (Lord Jim)");
                          EXPECT_TRUE(disabled(W::SAVE));
                      }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Books.QLY");
    EXPECT_TRUE(s.done()) << s.report();

    file = fileRecords("Books.QLY");
    const StoredRecord* lordJim = findTitle(file, "Lord Jim");
    const StoredRecord* nostromo = findTitle(file, "Nostromo");
    ASSERT_NE(lordJim, nullptr);
    ASSERT_NE(nostromo, nullptr);
    EXPECT_EQ(lordJim->record.CREATED(), (QuilleryStamp{opened.date, CLOCK() - 100 * 3600}));
    EXPECT_EQ(lordJim->record.CHANGED(), clock.stamp());
    EXPECT_EQ(nostromo->record.CREATED(), (QuilleryStamp{80000, 100}));
    EXPECT_EQ(lordJim->record.NAMEKEY, "Conrad, Joseph (Lord Jim)");
    EXPECT_EQ(currentTitles("Books.QLY"), (Rows{"Nostromo", "Emma", "Beowulf", "Lord Jim"}));
    EXPECT_TRUE(catalogueFaults("Books.QLY").empty());
}

TEST_F(MainWindowTest, ASaveTheDiskRefusesLeavesThePreviousVersionCurrent) {
    writeCatalogue("Books.QLY", {book("Austen", "Jane", "Emma")});
    ScriptedSession s;
    std::unique_ptr<FullDisk> full;
    s.then(dismissSplash())
        .then(
            inspect("disk full", [&](Window&) { full = std::make_unique<FullDisk>("Books.QLY"); }))
        .then(type(W::QLY_TITLE, "Persuasion"))
        .then(click(W::SAVE))
        .then(answerMessageBox(BUTTON::OK))
        .then(inspect("nothing lost",
                      [&](Window& w) {
                          EXPECT_EQ(listedRows(w), (Rows{"Austen, Jane (Emma)"}));
                          EXPECT_EQ(selectedRow(), "Austen, Jane (Emma)");
                          EXPECT_EQ(QLY.TITLE, "Persuasion");  // the edit waits to be saved again
                          EXPECT_FALSE(disabled(W::SAVE));
                          EXPECT_TRUE(disabled(W::UNDO));
                          EXPECT_EQ(currentTitles("Books.QLY"), (Rows{"Emma"}));
                          full.reset();
                      }))
        .then(click(W::SAVE))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Books.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    ASSERT_EQ(s.messageBoxes().size(), 1u);
    EXPECT_EQ(s.messageBoxes()[0].caption, "Can't Save Book");
    EXPECT_EQ(currentTitles("Books.QLY"), (Rows{"Persuasion"}));
    EXPECT_TRUE(catalogueFaults("Books.QLY").empty());
}

TEST_F(MainWindowTest, ARefusedNewLeavesTheShownBookToBeEditedAndSavedWhole) {
    QuilleryRecord emma = book("Austen", "Jane", "Emma", "Novels");
    emma.ISBN = "9780141439587";
    emma.LOCATION = "Study";
    writeCatalogue("Books.QLY", {emma});
    ScriptedSession s;
    std::unique_ptr<FullDisk> full;
    s.then(dismissSplash())
        .then(
            inspect("disk full", [&](Window&) { full = std::make_unique<FullDisk>("Books.QLY"); }))
        .then(click(W::NEW))
        .then(answerMessageBox(BUTTON::OK))
        .then(inspect("as it was",
                      [&](Window& w) {
                          full.reset();
                          EXPECT_EQ(listedRows(w), (Rows{"Austen, Jane (Emma)"}));
                          EXPECT_EQ(QLY.LASTNAME, "Austen");
                          EXPECT_EQ(QLY.ISBN, "9780141439587");
                          EXPECT_TRUE(disabled(W::SAVE));
                          EXPECT_FALSE(disabled(W::NEW));
                      }))
        .then(type(W::QLY_TITLE, "Persuasion"))
        .then(click(W::SAVE))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Books.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    ASSERT_EQ(s.messageBoxes().size(), 1u);
    EXPECT_EQ(s.messageBoxes()[0].caption, "Can't Add New Book");
    const std::vector<StoredRecord> records = fileRecords("Books.QLY");
    const StoredRecord* saved = findTitle(records, "Persuasion");
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->record.LASTNAME, "Austen");
    EXPECT_EQ(saved->record.FIRSTNAME, "Jane");
    EXPECT_EQ(saved->record.CATEGORY, "Novels");
    EXPECT_EQ(saved->record.ISBN, "9780141439587");
    EXPECT_EQ(saved->record.LOCATION, "Study");
    EXPECT_EQ(saved->record.CREATED(), emma.CREATED());
    EXPECT_EQ(currentTitles("Books.QLY"), (Rows{"Persuasion"}));
}

TEST_F(MainWindowTest, EntriesPastPosition32767AreEditedInPlace) {
    // Every save takes a new record position; a catalogue in long use has passed 32,767.
    std::vector<QuilleryRecord> entries;
    for (int n = 0; n < 32800; ++n)
        entries.push_back(book("Reader", std::to_string(100000 + n), "Volume"));
    entries.push_back(book("Zola", "Emile", "Germinal"));
    writeCatalogue("Big.QLY", entries);
    const std::int32_t zola = fileRecords("Big.QLY").back().position;
    ASSERT_GT(zola, 32767);
    ScriptedSession s;
    s.then(dismissSplash())
        .then(click(W::Z))
        .then(type(W::QLY_TITLE, "Nana"))
        .then(click(W::SAVE))
        .then(inspect("saved", [&](Window&) { EXPECT_EQ(selectedRow(), "Zola, Emile (Nana)"); }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Big.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    const std::vector<StoredRecord> records = fileRecords("Big.QLY");
    const StoredRecord* germinal = findTitle(records, "Germinal", false);
    ASSERT_NE(germinal, nullptr);
    EXPECT_EQ(germinal->position, zola);
    EXPECT_EQ(records.back().title(), "Nana");
    EXPECT_TRUE(records.back().current());
}

}  // namespace
}  // namespace quillery::testing
