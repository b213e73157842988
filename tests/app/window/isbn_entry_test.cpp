// An ISBN typed into the main window's entry: hyphens dropped so all 13 digits are kept, a
// wrong check digit questioned, a new book with an ISBN another book has named; each question
// answered "Go back" first, then "Save anyway". Real clicks and key presses throughout.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include "app/window/display_quillery.h"
#include "app/window/isbn_questions.h"
#include "runtime/window/testing/input_synthesis.h"
#include "tests/app/window/main_window_support.h"
#include "tests/common/message_box_answer.h"

namespace quillery::testing {
namespace {

using namespace script;
namespace W = displayquillery;

QLineEdit* isbnEdit(Window& window) {
    return qobject_cast<QLineEdit*>(window.controlWidget(W::QLY_ISBN));
}

void typeInto(Window& window, int field, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(window.controlWidget(field));
    ASSERT_NE(edit, nullptr) << field;
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

Action act(std::string name, std::function<void(Window&)> gesture) {
    return inspect(std::move(name), [gesture = std::move(gesture)](Window& window) {
        script_input::activate(window);
        gesture(window);
    });
}

void clickButton(Window& window, int field) {
    QTest::mouseClick(qobject_cast<QAbstractButton*>(window.controlWidget(field)), Qt::LeftButton);
}

QuilleryRecord withIsbn(QuilleryRecord record, std::string_view isbn) {
    record.ISBN = isbn;
    return record;
}

std::vector<std::string> currentIsbns(const std::string& path) {
    std::vector<std::string> isbns;
    const std::vector<StoredRecord> records = fileRecords(path);
    for (std::size_t i = 1; i < records.size(); ++i) {
        if (records[i].current()) isbns.push_back(records[i].record.ISBN.str());
    }
    return isbns;
}

TEST_F(MainWindowTest, AHyphenatedIsbnKeepsAllItsDigitsAndAWrongOneIsQuestioned) {
    writeCatalogue("Books.QLY", {book("Austen", "Jane", "Emma")});
    ScriptedSession s;
    s.then(dismissSplash())
        .then(act("a hyphenated ISBN-13",
                  [](Window& w) { typeInto(w, W::QLY_ISBN, "978-0-14-044913-6"); }))
        .then(act("Save", [](Window& w) { clickButton(w, W::SAVE); }))
        .then(inspect("stored whole, shown tidied, nothing asked",
                      [](Window& w) {
                          EXPECT_EQ(currentIsbns("Books.QLY"),
                                    (std::vector<std::string>{"9780140449136"}));
                          EXPECT_EQ(isbnEdit(w)->text(), "9780140449136");
                      }))
        .then(act("a wrong check digit",
                  [](Window& w) { typeInto(w, W::QLY_ISBN, "0 14 044913 3"); }))
        .then(act("Save", [](Window& w) { clickButton(w, W::SAVE); }))
        .then(answerMessageBox(BUTTON::No))  // Go back
        .then(inspect("nothing saved, back at the ISBN",
                      [](Window& w) {
                          EXPECT_EQ(currentIsbns("Books.QLY"),
                                    (std::vector<std::string>{"9780140449136"}));
                          EXPECT_EQ(w.widget()->focusWidget(), isbnEdit(w));
                      }))
        .then(act("Save", [](Window& w) { clickButton(w, W::SAVE); }))
        .then(answerMessageBox(BUTTON::Yes))  // Save anyway
        .then(inspect("kept as typed, without its spaces",
                      [](Window&) {
                          EXPECT_EQ(currentIsbns("Books.QLY"),
                                    (std::vector<std::string>{"0140449133"}));
                      }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Books.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    ASSERT_EQ(s.messageBoxes().size(), 2u);
    EXPECT_EQ(s.messageBoxes()[0].caption, "Save Book");
    EXPECT_EQ(s.messageBoxes()[0].text,
              "This ISBN looks wrong: the check digit of 0140449133 is wrong; it should be 2.\n"
              "Save the book anyway?");
}

TEST_F(MainWindowTest, ANewBookWithAnIsbnAnotherHasIsAskedAboutAndAnIsbn10MayBecome13) {
    writeCatalogue("Copies.QLY",
                   {withIsbn(book("Varga", "Ilona", "The Salt Road"), "9780140449136"),
                    book("Austen", "Jane", "Emma")});
    ScriptedSession s;
    s.then(dismissSplash())
        .then(act("New, with ISBN-10s stored as ISBN-13s",
                  [](Window& w) {
                      setIsbn13Preferred(true);  // as the settings file's [Isbn] ToIsbn13=yes
                      clickButton(w, W::NEW);
                  }))
        .then(act("a second copy",
                  [](Window& w) {
                      typeInto(w, W::QLY_LASTNAME, "Varga");
                      typeInto(w, W::QLY_TITLE, "The Salt Road");
                      typeInto(w, W::QLY_ISBN, "0-14-044913-2");
                  }))
        .then(act("Save", [](Window& w) { clickButton(w, W::SAVE); }))
        .then(answerMessageBox(BUTTON::No))  // Go back
        .then(inspect("not saved yet",
                      [](Window& w) {
                          EXPECT_EQ(currentIsbns("Copies.QLY").size(), 2u);
                          EXPECT_EQ(w.widget()->focusWidget(), isbnEdit(w));
                      }))
        .then(act("Save", [](Window& w) { clickButton(w, W::SAVE); }))
        .then(answerMessageBox(BUTTON::Yes))  // Save anyway: a collector's second copy
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Copies.QLY");
    setIsbn13Preferred(false);
    EXPECT_TRUE(s.done()) << s.report();
    ASSERT_EQ(s.messageBoxes().size(), 2u);
    EXPECT_EQ(s.messageBoxes()[0].text,
              "This catalogue already has The Salt Road by Ilona Varga with this ISBN "
              "(9780140449136).\nSave the book anyway?");
    std::vector<std::string> isbns = currentIsbns("Copies.QLY");
    std::sort(isbns.begin(), isbns.end());
    EXPECT_EQ(isbns, (std::vector<std::string>{"", "9780140449136", "9780140449136"}));
    EXPECT_TRUE(catalogueFaults("Copies.QLY").empty());
}

TEST(IsbnQuestion, OffersSaveAnywayAndGoBackWithGoBackTheDefault) {
    BoxAnswerer answers({BUTTON::No, BUTTON::Yes, kPressEscape});
    EXPECT_FALSE(saveAnywayAsked("A question|on two lines"));
    EXPECT_TRUE(saveAnywayAsked("Again"));
    EXPECT_FALSE(saveAnywayAsked("Escape goes back"));
    ASSERT_EQ(answers.shown().size(), 3u);
    const ShownBox& box = answers.shown()[0];
    EXPECT_EQ(box.caption, "Save Book");
    EXPECT_EQ(box.text, "A question\non two lines");
    EXPECT_EQ(box.captions, (std::vector<std::string>{"&Save anyway", "&Go back"}));
    EXPECT_EQ(box.defaultButton, BUTTON::No);
    EXPECT_EQ(box.icon, "question");
    for (const QRect& rect : box.buttonRects)
        EXPECT_TRUE(QRect(QPoint(0, 0), box.size).contains(rect)) << "a button is cut off";
}

}  // namespace
}  // namespace quillery::testing
