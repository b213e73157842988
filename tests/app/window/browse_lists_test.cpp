// Opening a catalogue and moving about it: what the list shows, the purge at open, category
// tabs, the letter buttons and the list-by-title mode.
#include <gtest/gtest.h>

#include "app/window/display_quillery.h"
#include "app/window/main_window_globals.h"
#include "tests/app/window/main_window_support.h"

namespace quillery::testing {
namespace {

using namespace script;
namespace W = displayquillery;
using Rows = std::vector<std::string>;

QuilleryRecord superseded(QuilleryRecord r) {
    r.DELETED = 1;
    return r;
}

// A catalogue with a superseded version, a blank record, a nameless entry with a title, and
// two categories whose names agree in their first fifteen characters.
void writeShelf() {
    writeCatalogue("Shelf.QLY",
                   {book("Woolf", "Virginia", "Orlando", "Modernist fiction: women"),
                    superseded(book("Woolf", "Virginia", "Orlando (first draft)")),
                    book("", "", ""), book("", "", "Beowulf", "Poetry"),
                    book("Austen", "Jane", "Emma", "Modernist fiction: men"),
                    book("Zola", "Emile", "Germinal"), book("Smith", "", "Tales", "Poetry"),
                    book("Eliot", "George", "")});
}

TEST_F(MainWindowTest, OpeningListsCurrentEntriesAndPurgesTheRest) {
    writeShelf();
    ScriptedSession s;
    s.then(dismissSplash())
        .then(inspect("name order",
                      [&](Window& w) {
                          EXPECT_EQ(listedRows(w),
                                    (Rows{"Austen, Jane (Emma)", "Beowulf", "Eliot, George ()",
                                          "Smith (Tales)", "Woolf, Virginia (Orlando)",
                                          "Zola, Emile (Germinal)"}));
                          EXPECT_EQ(tabTexts(w), (Rows{"ALL", "Modernist fiction: men",
                                                       "Modernist fiction: women", "Poetry"}));
                          EXPECT_EQ(selectedRow(), "Austen, Jane (Emma)");
                          EXPECT_EQ(PROP(W::QLY_TITLE, Prop::Text).text(), "Emma");
                          EXPECT_TRUE(disabled(W::SAVE));
                          EXPECT_TRUE(disabled(W::UNDO));
                          EXPECT_FALSE(disabled(W::NEW));
                      }))
        // Each of the two look-alike categories lists its own book.
        .then(chooseTab(W::ALL + 2))
        .then(inspect(
            "women",
            [&](Window& w) { EXPECT_EQ(listedRows(w), (Rows{"Woolf, Virginia (Orlando)"})); }))
        .then(chooseTab(W::ALL + 1))
        .then(inspect("men",
                      [&](Window& w) {
                          EXPECT_EQ(listedRows(w), (Rows{"Austen, Jane (Emma)"}));
                          EXPECT_EQ(CURRENTTEXT, "Modernist fiction: men");
                      }))
        // A new entry there is filed under the category in full.
        .then(click(W::NEW))
        .then(type(W::QLY_LASTNAME, "Joyce"))
        .then(click(W::SAVE))
        .then(inspect("men, two",
                      [&](Window& w) {
                          EXPECT_EQ(listedRows(w), (Rows{"Austen, Jane (Emma)", "Joyce ()"}));
                          EXPECT_EQ(QLY.CATEGORY, "Modernist fiction: men");
                      }))
        .then(chooseTab(W::ALL + 3))
        .then(inspect("poetry keeps the list's order",
                      [&](Window& w) {
                          EXPECT_EQ(listedRows(w), (Rows{"Beowulf", "Smith (Tales)"}));
                      }))
        .then(chooseTab(W::ALL))
        .then(click(W::Z))
        .then(inspect("Z", [&](Window&) { EXPECT_EQ(selectedRow(), "Zola, Emile (Germinal)"); }))
        .then(click(W::C))
        .then(inspect("C goes on to E",
                      [&](Window&) {
                          EXPECT_EQ(selectedRow(), "Eliot, George ()");
                          EXPECT_EQ(LETTER, 5);
                      }))
        .then(click(W::LISTBYTITLE))
        .then(inspect("title order",
                      [&](Window& w) {
                          EXPECT_EQ(listedRows(w),
                                    (Rows{" (George Eliot)", " (Joyce)", "Beowulf",
                                          "Emma (Jane Austen)", "Germinal (Emile Zola)",
                                          "Orlando (Virginia Woolf)", "Tales (Smith)"}));
                      }))
        .then(click(W::Z))
        .then(inspect("nothing at Z or later: the last row",
                      [&](Window&) { EXPECT_EQ(selectedRow(), "Tales (Smith)"); }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Shelf.QLY");
    EXPECT_TRUE(s.done()) << s.report();

    // The header stays first; the superseded version and the blank record are gone.
    const std::vector<StoredRecord> records = fileRecords("Shelf.QLY");
    ASSERT_EQ(records.size(), 8u);  // Joyce's placeholder went with the list-by-title purge
    EXPECT_EQ(records[0].record.CREATEDTIME, 1);
    EXPECT_EQ(currentTitles("Shelf.QLY"),
              (Rows{"Orlando", "Beowulf", "Emma", "Germinal", "Tales", "", ""}));
    EXPECT_TRUE(catalogueFaults("Shelf.QLY").empty());
}

TEST_F(MainWindowTest, AFirstRecordThatIsAnEntryIsNeverShown) {
    auto store = tools::makeCatalogueStore();
    ASSERT_TRUE(store->create("First.QLY").ok());
    ASSERT_TRUE(store->begin().ok());
    ASSERT_TRUE(store->add(book("Hidden", "Header", "Never listed")).ok());
    ASSERT_TRUE(store->add(book("Shown", "Entry", "Listed")).ok());
    ASSERT_TRUE(store->commit().ok());
    store->close();
    ScriptedSession s;
    s.then(dismissSplash())
        .then(inspect(
            "rows", [&](Window& w) { EXPECT_EQ(listedRows(w), (Rows{"Shown, Entry (Listed)"})); }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("First.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(fileRecords("First.QLY").size(), 2u);
}

TEST_F(MainWindowTest, StartingWithoutACatalogueCreatesOneWithItsHeaderAlone) {
    ScriptedSession s;
    s.then(dismissSplash())
        .then(inspect("empty",
                      [&](Window& w) {
                          EXPECT_TRUE(listedRows(w).empty());
                          EXPECT_EQ(PROP(0, Prop::Text).text(),
                                    "'Quillery ZE- The Personal Librarian' (Quillery.QLY)");
                          EXPECT_TRUE(disabled(W::SAVE));
                          EXPECT_TRUE(disabled(W::QLY_LASTNAME));  // no entry to edit
                          EXPECT_TRUE(disabled(W::COMMENT));
                          EXPECT_FALSE(disabled(W::NEW));
                      }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY();
    EXPECT_TRUE(s.done()) << s.report();
    const std::vector<StoredRecord> records = fileRecords("Quillery.QLY");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_NE(records[0].record.CREATEDDATE, 0);
    EXPECT_EQ(records[0].record.CREATED(), records[0].record.CHANGED());
    EXPECT_TRUE(records[0].record.LASTNAME.isBlank());
}

}  // namespace
}  // namespace quillery::testing
