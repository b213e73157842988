// Book > Look Up by ISBN in the main window against a book service on the loopback address:
// Ctrl+L, the ISBN typed, Return; the entry filled, Save keeps it, the cover lies beside the
// catalogue. A book the service does not know is said in the window, and nothing is added.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/window/display_quillery.h"
#include "runtime/window/testing/input_synthesis.h"
#include "tests/app/window/book_service_test.h"

namespace quillery::testing {
namespace {

using namespace script;
namespace W = displayquillery;

// Plays the person at the look-up window whenever it is open: types `isbn` and presses Return,
// then, once the window shows a message, notes it and presses Cancel.
class LookupPerson {
  public:
    explicit LookupPerson(QString isbn) : isbn_(std::move(isbn)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(10);
    }
    const QString& message() const { return message_; }

  private:
    void poll() {
        QWidget* window = QApplication::activeModalWidget();
        if (window == nullptr || window->objectName() != "LookupWindow") return;
        auto* edit = window->findChild<QLineEdit*>("Isbn");
        auto* status = window->findChild<QLabel*>("Status");
        if (!typed_) {
            typed_ = true;
            QTest::keyClicks(edit, isbn_);
            QTest::keyClick(edit, Qt::Key_Return);
        } else if (edit->isEnabled() && !status->text().isEmpty()) {
            message_ = status->text();
            QTest::mouseClick(window->findChild<QPushButton*>("Cancel"), Qt::LeftButton);
        }
    }

    QString isbn_;
    bool typed_ = false;
    QString message_;
    QTimer timer_;
};

Action act(std::string name, std::function<void(Window&)> gesture) {
    return inspect(std::move(name), [gesture = std::move(gesture)](Window& window) {
        script_input::activate(window);
        gesture(window);
    });
}

QString shown(Window& window, int field) {
    return qobject_cast<QLineEdit*>(window.controlWidget(field))->text();
}

using LookupWindowTest = BookServiceTest;

TEST_F(LookupWindowTest, CtrlLAndAnIsbnFillANewEntryThatSaveKeeps) {
    writeCatalogue("Look.QLY", {book("Austen", "Jane", "Emma")});
    LookupPerson person("978-0-14-044913-6");
    ScriptedSession s;
    s.then(dismissSplash())
        .then(act("Ctrl+L",
                  [](Window& w) { QTest::keyClick(w.widget(), Qt::Key_L, Qt::ControlModifier); }))
        .then(inspect(
            "the new entry, filled",
            [](Window& w) {
                EXPECT_EQ(shown(w, W::QLY_LASTNAME), "Lindqvist");
                EXPECT_EQ(shown(w, W::QLY_FIRSTNAME), "Aubrey");
                EXPECT_EQ(shown(w, W::QLY_TITLE), "The Salt Road Chronicles: Travels Along the O");
                EXPECT_EQ(shown(w, W::QLY_ISBN), "9780140449136");
                EXPECT_EQ(PROP(W::COVERVIEW, Prop::Text).text(),
                          std::filesystem::absolute("Look.covers/9780140449136.jpg").string());
                EXPECT_EQ(currentTitles("Look.QLY"), (std::vector<std::string>{"Emma"}));
            }))
        .then(click(W::SAVE))
        .then(inspect("the saved book shows its cover; a book without one shows none",
                      [](Window& w) {
                          EXPECT_FALSE(PROP(W::COVERVIEW, Prop::Text).text().empty());
                          QTest::keyClick(w.widget(), Qt::Key_N, Qt::ControlModifier);
                      }))
        .then(inspect("a new book",
                      [](Window&) { EXPECT_TRUE(PROP(W::COVERVIEW, Prop::Text).text().empty()); }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Look.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(currentTitles("Look.QLY"),
              (std::vector<std::string>{"Emma", "The Salt Road Chronicles: Travels Along the O"}));
    EXPECT_TRUE(std::filesystem::exists("Look.covers/9780140449136.jpg"));
    EXPECT_TRUE(catalogueFaults("Look.QLY").empty());
}

TEST_F(LookupWindowTest, ABookTheServiceDoesNotKnowIsSaidAndNothingIsAdded) {
    writeCatalogue("Unknown.QLY", {book("Austen", "Jane", "Emma")});
    LookupPerson person("9791090636071");
    ScriptedSession s;
    s.then(dismissSplash())
        .then(act("the Look Up tool button",
                  [](Window& w) {
                      QTest::mouseClick(qobject_cast<QAbstractButton*>(w.controlWidget(W::LOOKUP)),
                                        Qt::LeftButton);
                  }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Unknown.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(person.message(), "The book service knows no book with ISBN 9791090636071.");
    EXPECT_EQ(currentTitles("Unknown.QLY"), (std::vector<std::string>{"Emma"}));
}

TEST_F(MainWindowTest, CoverFromAPictureFileShowsAboveTheEntry) {
    QuilleryRecord salt = book("Varga", "Ilona", "The Salt Road");
    salt.ISBN = "9780140449136";
    writeCatalogue("Covers.QLY", {salt});
    QImage picture(20, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    ASSERT_TRUE(picture.save(QString::fromStdString(path("scan.png"))));
    ScriptedSession s;
    s.then(dismissSplash())
        .then(inspect("no cover yet",
                      [](Window&) { EXPECT_TRUE(PROP(W::COVERVIEW, Prop::Text).text().empty()); }))
        .then(menu(W::BOOKCOVER))
        .then(answerFileDialog(path("scan.png")))
        .then(inspect(
            "the cover shows",
            [](Window& w) {
                QWidget* view = w.controlWidget(W::COVERVIEW);
                ASSERT_NE(view, nullptr);
                EXPECT_TRUE(view->isVisible());
                EXPECT_GT(view->width(), 10);
                EXPECT_GT(view->height(), 20);
                // The picture is drawn: the view's pixels are the cover's dark blue.
                const QImage drawn = view->grab().toImage();
                EXPECT_EQ(QColor(drawn.pixel(drawn.width() / 2, drawn.height() / 2)).blue() > 100 &&
                              QColor(drawn.pixel(drawn.width() / 2, drawn.height() / 2)).red() < 60,
                          true);
                EXPECT_EQ(PROP(W::COVERVIEW, Prop::Text).text(),
                          std::filesystem::absolute("Covers.covers/9780140449136.jpg").string());
            }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Covers.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_FALSE(QImage("Covers.covers/9780140449136.jpg").isNull());
}

}  // namespace
}  // namespace quillery::testing
