// The editing cycle through the real window: new, duplicate, save and delete, checked in the
// list and in the catalogue file after each step.
#include <gtest/gtest.h>

#include "app/window/display_quillery.h"
#include "app/window/main_window_globals.h"
#include "tests/app/main_window_support.h"

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
