// The keyboard in the main window and its small windows, through real key presses: Alt with a
// menu's letter opens the menu, a field's letter moves to it, a letter nobody marks does
// nothing; Return presses OK from a tick box; Escape cancels; Tab leaves the note.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

#include "app/window/comment_window.h"
#include "app/window/display_quillery.h"
#include "app/window/find_books.h"
#include "app/window/main_window_globals.h"
#include "runtime/window/testing/input_synthesis.h"
#include "tests/app/window/main_window_support.h"

namespace quillery::testing {
namespace {

using namespace script;
namespace W = displayquillery;
namespace F = getfindstring;
namespace C = commentwindow;

constexpr char kFindWindow[] = "GETFINDSTRING$FIND";
constexpr char kCommentWindow[] = "COMMENTWINDOW$WINDOW";

Action keys(std::string name, std::function<void(Window&)> act) {
    return inspect(std::move(name), [act = std::move(act)](Window& window) {
        script_input::activate(window);
        act(window);
    });
}

QLineEdit* edit(Window& w, int field) {
    return qobject_cast<QLineEdit*>(w.controlWidget(field));
}

TEST_F(MainWindowTest, MenuLettersOpenMenusAndFieldLettersMoveToFields) {
    writeCatalogue("Books.QLY", {book("Austen", "Jane", "Emma")});
    std::string openedMenu;
    ScriptedSession s;
    s.then(dismissSplash())
        .then(keys("Alt+F in the first name",
                   [&](Window& w) {
                       QTest::mouseClick(edit(w, W::QLY_FIRSTNAME), Qt::LeftButton);
                       QTest::keyClick(edit(w, W::QLY_FIRSTNAME), Qt::Key_F, Qt::AltModifier);
                       auto* bar = qobject_cast<QMainWindow*>(w.widget())->menuBar();
                       QAction* active = bar->activeAction();
                       if (active != nullptr && active->menu()->isVisible())
                           openedMenu = active->text().toStdString();
                       if (active != nullptr) active->menu()->hide();
                       EXPECT_EQ(edit(w, W::QLY_FIRSTNAME)->text(), "Jane");
                   }))
        .then(keys("Alt+I from the title, then Alt+Q",
                   [&](Window& w) {
                       QTest::mouseClick(edit(w, W::QLY_TITLE), Qt::LeftButton);
                       QTest::keyClick(edit(w, W::QLY_TITLE), Qt::Key_I, Qt::AltModifier);
                       EXPECT_EQ(w.widget()->focusWidget(), edit(w, W::QLY_FIRSTNAME));
                       QTest::keyClick(edit(w, W::QLY_FIRSTNAME), Qt::Key_Q, Qt::AltModifier);
                       EXPECT_EQ(edit(w, W::QLY_FIRSTNAME)->text(), "Jane");
                   }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Books.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(openedMenu, "&File");
    EXPECT_EQ(fileRecords("Books.QLY").back().record.FIRSTNAME, "Jane");
}

TEST_F(MainWindowTest, TheFindAndCommentWindowsAnswerReturnEscapeAndTab) {
    writeCatalogue("Books.QLY", {book("Austen", "Jane", "Emma"), book("Verne", "Jules", "Sea")});
    ScriptedSession s;
    s.then(dismissSplash())
        // Return on the tick box presses OK.
        .then(click(W::FIND))
        .then(keys("search text, the tick box and Return",
                   [&](Window& w) {
                       QLineEdit* text = edit(w, F::FINDSTRING);
                       QTest::mouseClick(text, Qt::LeftButton);
                       QTest::keyClicks(text, "sea");
                       auto* box = qobject_cast<QAbstractButton*>(w.controlWidget(F::IGNORECASE));
                       QTest::mouseClick(box, Qt::LeftButton);
                       QTest::keyClick(box, Qt::Key_Return);
                   })
                  .in(kFindWindow))
        .then(inspect("found", [&](Window& w) { EXPECT_EQ(selectedTab(w), "Has \"sea\""); }))
        // Escape is Cancel: no search, and the text is forgotten.
        .then(click(W::FIND))
        .then(keys("Escape",
                   [&](Window& w) { QTest::keyClick(edit(w, F::FINDSTRING), Qt::Key_Escape); })
                  .in(kFindWindow))
        .then(inspect("cancelled", [&](Window&) { EXPECT_TRUE(FINDSTRING.isBlank()); }))
        .then(chooseTab(W::ALL))
        // The note: Ctrl+Tab types a tab, an unmarked Alt+letter nothing, Tab leaves it.
        .then(click(W::COMMENT))
        .then(keys("the note",
                   [&](Window& w) {
                       auto* note = qobject_cast<QPlainTextEdit*>(w.controlWidget(C::QLY_CONTENTS));
                       QTest::mouseClick(note->viewport(), Qt::LeftButton);
                       QTest::keyClicks(note, "Read");
                       QTest::keyClick(note, Qt::Key_Tab, Qt::ControlModifier);
                       QTest::keyClick(note, Qt::Key_Q, Qt::AltModifier);
                       QTest::keyClicks(note, "twice");
                       QTest::keyClick(note, Qt::Key_Tab);
                       EXPECT_EQ(w.widget()->focusWidget(), w.controlWidget(C::OK));
                       QTest::keyClick(w.controlWidget(C::OK), Qt::Key_Escape);
                   })
                  .in(kCommentWindow))
        .then(click(W::SAVE))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Books.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    const std::vector<StoredRecord> records = fileRecords("Books.QLY");
    std::string note;
    for (const StoredRecord& r : records)
        if (r.current() && r.record.LASTNAME == "Austen") note = r.record.CONTENTS.str();
    EXPECT_EQ(note, "Read\ttwice");
}

}  // namespace
}  // namespace quillery::testing
