// What a person types into the main window reaches the catalogue whatever they do next: the
// Save and Copy tool buttons, a letter button, a tab, Ctrl+N, the close box. Every gesture is
// a real mouse click or key press on the real widget; the file is read back afterwards.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <map>

#include "app/window/display_quillery.h"
#include "runtime/window/testing/input_synthesis.h"
#include "tests/app/window/main_window_support.h"

namespace quillery::testing {
namespace {

using namespace script;
namespace W = displayquillery;

QLineEdit* lineEditOf(Window& window, int field) {
    QWidget* widget = window.controlWidget(field);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->lineEdit();
    return qobject_cast<QLineEdit*>(widget);
}

// Clicks into the entry, selects what it shows and types `text` over it, without Tab or
// Return.
void typeInto(Window& window, int field, const QString& text) {
    QLineEdit* edit = lineEditOf(window, field);
    ASSERT_NE(edit, nullptr) << field;
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    for (QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, edit,
                            c.isLetterOrNumber() && c.unicode() < 128
                                ? Qt::Key(c.toUpper().unicode())
                                : Qt::Key_unknown,
                            QString(c), Qt::NoModifier);
    }
}

void clickButton(Window& window, int field) {
    auto* button = qobject_cast<QAbstractButton*>(window.controlWidget(field));
    ASSERT_NE(button, nullptr) << field;
    QTest::mouseClick(button, Qt::LeftButton);
}

void clickTab(Window& window, const QString& text) {
    auto* bar = window.controlWidget(W::SHEET)->findChild<QTabBar*>();
    for (int i = 0; i < bar->count(); ++i) {
        if (bar->tabText(i) == text) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
            return;
        }
    }
    ADD_FAILURE() << "no tab " << text.toStdString();
}

// One gesture played at a loop wait, in the active window.
Action gesture(std::string name, std::function<void(Window&)> act) {
    return inspect(std::move(name), [act = std::move(act)](Window& window) {
        script_input::activate(window);
        act(window);
    });
}

// Current entries of the file: last name and title, with the category.
std::multimap<std::string, std::string> storedBooks(const std::string& path) {
    std::multimap<std::string, std::string> books;
    const std::vector<StoredRecord> records = fileRecords(path);
    for (std::size_t i = 1; i < records.size(); ++i) {
        const QuilleryRecord& r = records[i].record;
        if (records[i].current())
            books.emplace(r.LASTNAME.str(), r.TITLE.str() + " [" + r.CATEGORY.str() + "]");
    }
    return books;
}

using Books = std::multimap<std::string, std::string>;

TEST_F(MainWindowTest, TypedTextReachesTheFileWhateverIsDoneNext) {
    writeCatalogue("Books.QLY", {book("Austen", "Jane", "Emma", "Novels"),
                                 book("Conrad", "Joseph", "Lord Jim", "Sea"),
                                 book("Woolf", "Virginia", "Orlando", "Novels")});
    Books afterSave, afterLetter, afterTab, afterCtrlN, afterNew;
    ScriptedSession s;
    s.then(dismissSplash())
        .then(gesture("title", [&](Window& w) { typeInto(w, W::QLY_TITLE, "Persuasion"); }))
        .then(gesture("the Save tool button", [&](Window& w) { clickButton(w, W::SAVE); }))
        .then(inspect("saved", [&](Window&) { afterSave = storedBooks("Books.QLY"); }))
        .then(gesture("title", [&](Window& w) { typeInto(w, W::QLY_TITLE, "Sanditon"); }))
        .then(gesture("the letter W", [&](Window& w) { clickButton(w, W::W); }))
        .then(inspect("letter",
                      [&](Window&) {
                          afterLetter = storedBooks("Books.QLY");
                          EXPECT_EQ(selectedRow(), "Woolf, Virginia (Orlando)");
                      }))
        .then(gesture("a new category", [&](Window& w) { typeInto(w, W::QLY_CATEGORY, "Essays"); }))
        .then(gesture("a tab", [&](Window& w) { clickTab(w, "Sea"); }))
        .then(inspect("tab",
                      [&](Window& w) {
                          afterTab = storedBooks("Books.QLY");
                          EXPECT_EQ(selectedTab(w), "Sea");
                      }))
        .then(gesture("title", [&](Window& w) { typeInto(w, W::QLY_TITLE, "Victory"); }))
        .then(gesture("Ctrl+N",
                      [&](Window& w) {
                          QTest::keyClick(lineEditOf(w, W::QLY_TITLE), Qt::Key_N,
                                          Qt::ControlModifier);
                      }))
        .then(inspect("ctrl+n", [&](Window&) { afterCtrlN = storedBooks("Books.QLY"); }))
        .then(gesture("last name", [&](Window& w) { typeInto(w, W::QLY_LASTNAME, "Eliot"); }))
        .then(gesture("title", [&](Window& w) { typeInto(w, W::QLY_TITLE, "Middlemarch"); }))
        .then(gesture("the Save tool button", [&](Window& w) { clickButton(w, W::SAVE); }))
        .then(inspect("new saved", [&](Window&) { afterNew = storedBooks("Books.QLY"); }))
        .then(choose(W::BOOKLIST, 1))  // Conrad
        .then(gesture("title", [&](Window& w) { typeInto(w, W::QLY_TITLE, "Typhoon"); }))
        .then(gesture("the Copy tool button", [&](Window& w) { clickButton(w, W::DUPLICATE); }))
        .then(gesture("title of the copy", [&](Window& w) { typeInto(w, W::QLY_TITLE, "Youth"); }))
        .then(gesture("the close box", [&](Window& w) { w.widget()->close(); }));
    DISPLAYQUILLERY("Books.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(afterSave, (Books{{"Austen", "Persuasion [Novels]"},
                                {"Conrad", "Lord Jim [Sea]"},
                                {"Woolf", "Orlando [Novels]"}}));
    EXPECT_EQ(afterLetter, (Books{{"Austen", "Sanditon [Novels]"},
                                  {"Conrad", "Lord Jim [Sea]"},
                                  {"Woolf", "Orlando [Novels]"}}));
    EXPECT_EQ(afterTab, (Books{{"Austen", "Sanditon [Novels]"},
                               {"Conrad", "Lord Jim [Sea]"},
                               {"Woolf", "Orlando [Essays]"}}));
    EXPECT_EQ(afterCtrlN, (Books{{"Austen", "Sanditon [Novels]"},
                                 {"Conrad", "Victory [Sea]"},
                                 {"Woolf", "Orlando [Essays]"}}));
    EXPECT_EQ(afterNew, (Books{{"Austen", "Sanditon [Novels]"},
                               {"Conrad", "Victory [Sea]"},
                               {"Eliot", "Middlemarch [Sea]"},
                               {"Woolf", "Orlando [Essays]"}}));
    // The copy took the title typed into the original, then its own on closing; the original
    // keeps its own, as a copy leaves it.
    EXPECT_EQ(storedBooks("Books.QLY"), (Books{{"Austen", "Sanditon [Novels]"},
                                               {"Conrad", "Victory [Sea]"},
                                               {"Conrad", "Youth [Sea]"},
                                               {"Eliot", "Middlemarch [Sea]"},
                                               {"Woolf", "Orlando [Essays]"}}));
    EXPECT_TRUE(catalogueFaults("Books.QLY").empty());
}

TEST_F(MainWindowTest, CharactersAndLengthTheCatalogueCannotKeepAreAskedAboutBeforeSaving) {
    writeCatalogue("Books.QLY", {book("Austen", "Jane", "Emma")});
    ScriptedSession s;
    s.then(dismissSplash())
        .then(gesture("a title with letters the catalogue has no place for",
                      [&](Window& w) {
                          typeInto(w, W::QLY_TITLE, QString::fromUtf8("Łódź"));
                          typeInto(w, W::QLY_OTHER, QString(30, 'x'));
                      }))
        .then(gesture("the Save tool button", [&](Window& w) { clickButton(w, W::SAVE); }))
        .then(answerMessageBox(BUTTON::No))  // back to change it
        .then(inspect("nothing saved",
                      [&](Window& w) {
                          EXPECT_EQ(currentTitles("Books.QLY"), (std::vector<std::string>{"Emma"}));
                          EXPECT_EQ(w.widget()->focusWidget(), lineEditOf(w, W::QLY_TITLE));
                          EXPECT_FALSE(disabled(W::SAVE));
                      }))
        .then(click(W::SAVE))
        .then(answerMessageBox(BUTTON::Yes))  // save anyway
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Books.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    ASSERT_EQ(s.messageBoxes().size(), 2u);
    EXPECT_EQ(s.messageBoxes()[0].caption, "Save Book");
    EXPECT_EQ(s.messageBoxes()[0].text,
              "Not all that was typed can be kept as it is:\n"
              "Title: 2 characters it cannot hold become \"?\" (U+0141, U+017A)\n"
              "Other: cut from 30 to 20 characters\n"
              "Save the book anyway?  Choose No to go back and change it.");
    const std::vector<StoredRecord> records = fileRecords("Books.QLY");
    ASSERT_EQ(currentTitles("Books.QLY"), (std::vector<std::string>{"?\xF3"
                                                                    "d?"}));
    EXPECT_EQ(records.back().record.OTHER, std::string(20, 'x'));
}

}  // namespace
}  // namespace quillery::testing
