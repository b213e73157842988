// Find and the comment window through the real windows.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "app/window/comment_window.h"
#include "app/window/display_quillery.h"
#include "app/window/find_books.h"
#include "app/window/main_window_globals.h"
#include "tests/app/window/main_window_support.h"

namespace quillery::testing {
namespace {

using namespace script;
namespace W = displayquillery;
namespace F = getfindstring;
using Rows = std::vector<std::string>;

constexpr char kFindWindow[] = "GETFINDSTRING$FIND";
constexpr char kCommentWindow[] = "COMMENTWINDOW$WINDOW";

QuilleryRecord withNote(QuilleryRecord r, std::string_view note) {
    r.CONTENTS = note;
    return r;
}

// Runs a find for `text` from the main window: Enter in the search text finds at once.
void find(ScriptedSession& s, std::string_view text, bool ignoreCase = false) {
    s.then(click(W::FIND).in(kMainWindow));
    if (ignoreCase) s.then(click(F::IGNORECASE).in(kFindWindow));
    s.then(type(F::FINDSTRING, text).in(kFindWindow));
}

std::string selectedText(Window& w, int field) {
    auto* edit = qobject_cast<QLineEdit*>(w.controlWidget(field));
    return edit == nullptr ? std::string() : edit->selectedText().toStdString();
}

TEST_F(MainWindowTest, FindListsMatchesOnItsOwnTabAndMarksThem) {
    writeCatalogue("Books.QLY",
                   {withNote(book("Melville", "Herman", "Moby-Dick", "Sea"), "A whale of a tale"),
                    book("Verne", "Jules", "Twenty Thousand Leagues Under the Sea", "Sea"),
                    book("", "", "The Seafarer", "Poetry"), book("Austen", "Jane", "Emma")});
    ScriptedSession s;
    s.then(dismissSplash()).then(chooseTab(W::ALL + 2));
    // A word only in a contents note is found.
    find(s, "whale");
    s.then(inspect("whale", [&](Window& w) {
        EXPECT_EQ(listedRows(w), (Rows{"Melville, Herman (Moby-Dick)"}));
        EXPECT_EQ(selectedTab(w), "Has \"whale\"");
        EXPECT_TRUE(disabled(W::SAVE));
        EXPECT_TRUE(disabled(W::UNDO));
    }));
    // Case counts unless ignored; ignored, the search text is kept in capitals.
    find(s, "sea");
    s.then(answerMessageBox(BUTTON::OK))
        .then(inspect("no match, back to the tab before", [&](Window& w) {
            EXPECT_EQ(tabTexts(w), (Rows{"ALL", "Poetry", "Sea"}));
            EXPECT_EQ(listedRows(w), (Rows{"Melville, Herman (Moby-Dick)",
                                           "Verne, Jules (Twenty Thousand Leagues Under the Se"}));
        }));
    find(s, "sea", true);
    // The whole record is searched: the category Sea matches as well.
    s.then(inspect("any case",
                   [&](Window& w) {
                       EXPECT_EQ(listedRows(w),
                                 (Rows{"Melville, Herman (Moby-Dick)", "The Seafarer",
                                       "Verne, Jules (Twenty Thousand Leagues Under the Se"}));
                       EXPECT_EQ(tabTexts(w).back(), "Has \"sea\"");
                       EXPECT_EQ(FINDSTRING, "SEA");
                   }))
        .then(choose(W::BOOKLIST, 3))
        .then(
            inspect("marked", [&](Window& w) { EXPECT_EQ(selectedText(w, W::QLY_TITLE), "Sea"); }))
        // Typing on the find tab cannot be saved.
        .then(type(W::QLY_TITLE, "Changed"))
        .then(inspect("no save", [&](Window&) { EXPECT_TRUE(disabled(W::SAVE)); }))
        .then(choose(W::BOOKLIST, 2))
        // Cancel runs nothing and empties the search text for the next find.
        .then(click(W::FIND))
        .then(click(F::CANCEL).in(kFindWindow))
        .then(click(W::FIND).in(kMainWindow))
        .then(inspect("empty",
                      [&](Window& w) {
                          EXPECT_EQ(PROP(F::FINDSTRING, Prop::Text).text(), "");
                          EXPECT_EQ(w.name(), kFindWindow);
                      }))
        .then(closeWindow())
        // Leaving the find tab removes it.
        .then(chooseTab(W::ALL).in(kMainWindow))
        .then(inspect("gone", [&](Window& w) {
            EXPECT_EQ(tabTexts(w), (Rows{"ALL", "Poetry", "Sea"}));
            EXPECT_EQ(listedRows(w).size(), 4u);
        }));
    // A long search text makes a label of 24 characters.
    find(s, "Twenty Thousand Leagu");
    s.then(inspect("cut", [&](Window& w) {
         EXPECT_EQ(selectedTab(w), "Has \"Twenty Thousand Lea");
     })).then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Books.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    ASSERT_EQ(s.messageBoxes().size(), 1u);
    EXPECT_EQ(s.messageBoxes()[0].text, "No Matching Books Were Found");
    EXPECT_EQ(s.messageBoxes()[0].caption, "Find Matching Book Entries");
    EXPECT_EQ(currentTitles("Books.QLY").size(), 4u);
    EXPECT_EQ(fileRecords("Books.QLY").size(), 5u);  // nothing written by the find
}

TEST_F(MainWindowTest, ACommentEditedInItsWindowIsSavedWithTheEntry) {
    writeCatalogue("Books.QLY",
                   {book("Austen", "Jane", "Emma"), book("Conrad", "Joseph", "Nostromo")});
    const std::string longNote = std::string(999, 'n') + "!";
    ScriptedSession s;
    s.then(dismissSplash())
        .then(click(W::COMMENT))
        .then(type(commentwindow::QLY_CONTENTS, longNote).in(kCommentWindow))
        .then(click(commentwindow::OK))
        .then(inspect("changed", [&](Window&) { EXPECT_FALSE(disabled(W::SAVE)); }))
        .then(choose(W::BOOKLIST, 2).in(kMainWindow))
        // A note written during a pending add belongs to the new entry.
        .then(click(W::NEW))
        .then(type(W::QLY_LASTNAME, "Eliot"))
        .then(click(W::COMMENT))
        .then(type(commentwindow::QLY_CONTENTS, "New note").in(kCommentWindow))
        .then(closeWindow())
        .then(click(W::SAVE).in(kMainWindow))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Books.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    std::vector<std::string> notes;
    for (const StoredRecord& r : fileRecords("Books.QLY"))
        if (r.current() && r.position > 2) notes.push_back(r.record.CONTENTS.str());
    EXPECT_EQ(notes, (Rows{"", longNote, "New note"}));
}

}  // namespace
}  // namespace quillery::testing
