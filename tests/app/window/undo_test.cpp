// Undo through the window: each kind of operation reverted, the stack across a reopen and
// across catalogues.
#include <gtest/gtest.h>

#include <optional>

#include "app/window/display_quillery.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_options.h"
#include "tests/app/window/main_window_support.h"

namespace quillery::testing {
namespace {

using namespace script;
namespace W = displayquillery;
using Rows = std::vector<std::string>;

TEST_F(MainWindowTest, UndoRevertsSavesDeletesAndNewEntriesInTurn) {
    writeCatalogue("Books.QLY", {book("Austen", "Jane", "Emma", "Fiction"),
                                 book("Darwin", "Charles", "Voyage", "Travel")});
    ScriptedSession s;
    s.then(dismissSplash())
        // Two saves of one entry, then two undos: the first version is current again.
        .then(type(W::QLY_TITLE, "Persuasion"))
        .then(click(W::SAVE))
        .then(type(W::QLY_TITLE, "Sanditon"))
        .then(click(W::SAVE))
        .then(click(W::UNDO))
        .then(inspect("one undone",
                      [&](Window& w) {
                          EXPECT_EQ(listedRows(w), (Rows{"Austen, Jane (Persuasion)",
                                                         "Darwin, Charles (Voyage)"}));
                          EXPECT_EQ(selectedRow(), "Austen, Jane (Persuasion)");
                      }))
        .then(menu(W::BOOKUNDO))
        .then(inspect(
            "both undone",
            [&](Window& w) {
                EXPECT_EQ(listedRows(w), (Rows{"Austen, Jane (Emma)", "Darwin, Charles (Voyage)"}));
                EXPECT_EQ(selectedRow(), "Austen, Jane (Emma)");
                EXPECT_EQ(currentTitles("Books.QLY"), (Rows{"Emma", "Voyage"}));
                EXPECT_EQ(RECORDS(UNDOQUEUE), 0u);
                EXPECT_TRUE(disabled(W::UNDO));
                EXPECT_TRUE(disabled(W::BOOKUNDO));
            }))
        // The only entry of a category deleted: its tab goes, and comes back with the undo.
        .then(chooseTab(W::ALL + 2))
        .then(click(W::DELETE))
        .then(inspect("deleted",
                      [&](Window& w) {
                          EXPECT_EQ(tabTexts(w), (Rows{"ALL", "Fiction"}));
                          EXPECT_EQ(selectedTab(w), "ALL");
                          EXPECT_EQ(listedRows(w), (Rows{"Austen, Jane (Emma)"}));
                      }))
        .then(click(W::UNDO))
        .then(inspect(
            "restored",
            [&](Window& w) {
                EXPECT_EQ(tabTexts(w), (Rows{"ALL", "Fiction", "Travel"}));
                EXPECT_EQ(listedRows(w), (Rows{"Austen, Jane (Emma)", "Darwin, Charles (Voyage)"}));
                EXPECT_EQ(currentTitles("Books.QLY"), (Rows{"Emma", "Voyage"}));
            }))
        // New, then Undo before typing: the placeholder goes and the selection returns.
        .then(choose(W::BOOKLIST, 1))
        .then(click(W::NEW))
        .then(click(W::UNDO))
        .then(inspect("new undone",
                      [&](Window& w) {
                          EXPECT_EQ(listedRows(w).size(), 2u);
                          EXPECT_EQ(selectedRow(), "Austen, Jane (Emma)");
                          EXPECT_FALSE(disabled(W::NEW));
                      }))
        // New, typed and saved, then undone twice: the entry is gone again.
        .then(click(W::NEW))
        .then(type(W::QLY_LASTNAME, "Eliot"))
        .then(click(W::SAVE))
        .then(click(W::UNDO))
        .then(click(W::UNDO))
        .then(inspect(
            "new entry undone",
            [&](Window& w) {
                EXPECT_EQ(listedRows(w), (Rows{"Austen, Jane (Emma)", "Darwin, Charles (Voyage)"}));
                EXPECT_TRUE(disabled(W::UNDO));
            }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Books.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(currentTitles("Books.QLY"), (Rows{"Emma", "Voyage"}));
    EXPECT_TRUE(catalogueFaults("Books.QLY").empty());
}

TEST_F(MainWindowTest, UndoRowsOfPurgedVersionsAreDroppedAndAnotherCatalogueStartsAfresh) {
    writeCatalogue("Books.QLY",
                   {book("Austen", "Jane", "Emma"), book("Bront\xEB", "Anne", "Agnes Grey")});
    writeCatalogue("Other.QLY", {book("Zola", "Emile", "Germinal")});
    ScriptedSession s;
    s.then(dismissSplash())
        .then(click(W::DELETE))              // undo row 1: a delete
        .then(type(W::QLY_TITLE, "Tenant"))  // undo row 2: a save, after the switch
        .then(click(W::LISTBYTITLE))         // the save is settled, then the purge
        .then(click(W::UNDO))
        .then(inspect("both rows gone",
                      [&](Window& w) {
                          // The purge took both old versions: neither undo can be done, and Undo
                          // says so by offering nothing more instead of staying stuck.
                          EXPECT_EQ(listedRows(w), (Rows{"Tenant (Anne Brontë)"}));
                          EXPECT_TRUE(disabled(W::UNDO));
                      }))
        .then(click(W::DELETE))
        .then(inspect("undo offered", [&](Window&) { EXPECT_FALSE(disabled(W::UNDO)); }))
        .then(menu(W::FILEOPEN))
        .then(answerFileDialog(path("Other.QLY")))
        .then(inspect("another catalogue",
                      [&](Window& w) {
                          EXPECT_EQ(listedRows(w), (Rows{"Zola, Emile (Germinal)"}));
                          EXPECT_TRUE(disabled(W::UNDO));
                          EXPECT_EQ(RECORDS(UNDOQUEUE), 0u);
                      }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Books.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_TRUE(currentTitles("Books.QLY").empty());
    EXPECT_EQ(currentTitles("Other.QLY"), (Rows{"Germinal"}));
}

TEST_F(MainWindowTest, AListingClosesTheCatalogueAndTheWindowReadsItAgain) {
    writeCatalogue("Books.QLY",
                   {book("Austen", "Jane", "Emma"), book("Conrad", "Joseph", "Nostromo")});
    std::vector<int> listed;
    // A listing closes the catalogue when it is done, as the real ones do.
    MainWindowOptions options = mainWindowOptions();
    options.listings = [&](int field) {
        listed.push_back(field);
        CLOSE(QUILLERY);
    };
    std::optional<ScopedMainWindowOptions> listings(std::in_place, options);
    ScriptedSession s;
    s.then(dismissSplash())
        .then(type(W::QLY_TITLE, "Persuasion"))
        .then(click(W::DELETE))
        .then(menu(W::TITLEREPORT))
        .then(inspect("read again",
                      [&](Window& w) {
                          EXPECT_EQ(listedRows(w), (Rows{"Conrad, Joseph (Nostromo)"}));
                          EXPECT_EQ(fileRecords("Books.QLY").size(),
                                    2u);  // the deleted entry is gone for good
                          // and with it all Undo could do: it is not offered
                          EXPECT_TRUE(disabled(W::UNDO));
                          EXPECT_EQ(RECORDS(UNDOQUEUE), 0u);
                      }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Books.QLY");
    listings.reset();
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(listed, std::vector<int>{W::TITLEREPORT});
}

}  // namespace
}  // namespace quillery::testing
