// The book list with room to work: columns in a wide window, ordered by a click on a heading
// as the catalogue's key for that column orders the books, narrowed by the search box as Find
// would match, the columns chosen kept per catalogue, and a pending edit saved before the list
// changes. Every gesture is a real click or key press on the real widget.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <set>

#include "app/column_orders.h"
#include "app/testing/catalogue_generator.h"
#include "app/window/display_quillery.h"
#include "app/window/window_state.h"
#include "runtime/char_tables.h"
#include "runtime/window/screen_text.h"
#include "runtime/window/testing/input_synthesis.h"
#include "tests/app/window/main_window_support.h"

namespace quillery::testing {
namespace {

using namespace script;
namespace W = displayquillery;

// Wide enough for columns: about a full-HD screen in the test font's units.
constexpr int kWideWidth = 1000;
constexpr int kWideHeight = 500;

QTreeView* listView(Window& window) {
    return qobject_cast<QTreeView*>(window.controlWidget(W::BOOKLIST));
}

QLineEdit* searchBox(Window& window) {
    return qobject_cast<QLineEdit*>(window.controlWidget(W::FILTERBOX));
}

std::vector<std::string> headings(Window& window) {
    QTreeView* view = listView(window);
    std::vector<std::string> texts;
    if (view->isHeaderHidden()) return texts;
    for (int c = 0; c < view->model()->columnCount(); ++c)
        texts.push_back(view->model()->headerData(c, Qt::Horizontal).toString().toStdString());
    return texts;
}

int headingColumn(Window& window, const std::string& heading) {
    const std::vector<std::string> texts = headings(window);
    const auto it = std::find(texts.begin(), texts.end(), heading);
    return it == texts.end() ? -1 : static_cast<int>(it - texts.begin());
}

// The texts of one column as the list shows them, top to bottom.
std::vector<std::string> columnTexts(Window& window, int column) {
    DISPLAY(W::BOOKLIST);
    QAbstractItemModel* model = listView(window)->model();
    std::vector<std::string> texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts.push_back(fromScreen(model->index(row, column).data().toString()));
    return texts;
}

// One gesture played at a loop wait, in the active window.
Action gesture(std::string name, std::function<void(Window&)> act) {
    return inspect(std::move(name), [act = std::move(act)](Window& window) {
        script_input::activate(window);
        act(window);
    });
}

Action clickHeading(const std::string& heading, Qt::MouseButton button = Qt::LeftButton) {
    return gesture("heading " + heading, [heading, button](Window& w) {
        const int column = headingColumn(w, heading);
        ASSERT_GE(column, 0) << heading;
        QHeaderView* header = listView(w)->header();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        if (button == Qt::RightButton) {
            // A right click asks for the heading's context menu, as the platform does.
            QContextMenuEvent menu(QContextMenuEvent::Mouse, at, header->mapToGlobal(at));
            QApplication::sendEvent(header->viewport(), &menu);
        } else {
            QTest::mouseClick(header->viewport(), button, {}, at);
        }
    });
}

void typeKeys(QWidget* widget, const std::string& text) {
    for (char c : text)
        QTest::keyClick(widget, c);
}

std::string upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(toUpperChar(static_cast<unsigned char>(c)));
    return text;
}

// The current books of the file in the order of `column`'s key, as quillery-data list --key
// reads them, with the books the key leaves out (blank values) after them.
struct KeyOrder {
    std::vector<std::string> values;  // upper-cased key field, key order
    std::size_t blanks = 0;
};

std::string keyValue(const QuilleryRecord& r, BookColumn column) {
    // The Author column shows "Last, First"; its key holds the last name.
    if (column == BookColumn::Author) return upper(r.LASTNAME.str());
    return upper(columnText(r, column));
}

KeyOrder keyOrder(const std::string& path, BookColumn column) {
    // Read through a declaration of its own, sharing the file with the window, as
    // `quillery-data list --key` walks the key.
    KeyOrder order;
    std::set<std::int32_t> held;
    COPYFILE = path;
    OPEN(QUILLERYCOPY, 0x40);
    EXPECT_EQ(errorCode(), 0) << errorText();
    SET(keyOf(QUILLERYCOPY, keyOfColumn(column)));
    for (NEXT(QUILLERYCOPY); errorCode() == 0; NEXT(QUILLERYCOPY)) {
        if (COPYRECORD.DELETED != 0) continue;
        order.values.push_back(keyValue(COPYRECORD, column));
        held.insert(static_cast<std::int32_t>(POSITION(QUILLERYCOPY)));
    }
    CLOSE(QUILLERYCOPY);
    const std::vector<StoredRecord> records = fileRecords(path);
    for (std::size_t i = 1; i < records.size(); ++i) {
        if (records[i].current() && !held.contains(records[i].position)) ++order.blanks;
    }
    return order;
}

std::vector<std::string> shownKeyValues(Window& w, const std::string& heading, BookColumn column) {
    std::vector<std::string> values;
    for (std::string text : columnTexts(w, headingColumn(w, heading))) {
        if (column == BookColumn::Author) text = text.substr(0, text.find(", "));
        values.push_back(upper(text));
    }
    return values;
}

void expectKeyOrder(Window& w, const std::string& path, const std::string& heading,
                    BookColumn column, bool descending) {
    KeyOrder order = keyOrder(path, column);
    if (descending) std::reverse(order.values.begin(), order.values.end());
    const std::vector<std::string> shown = shownKeyValues(w, heading, column);
    ASSERT_EQ(shown.size(), order.values.size() + order.blanks) << heading;
    const std::vector<std::string> ranked(shown.begin(),
                                          shown.begin() + static_cast<long>(order.values.size()));
    EXPECT_EQ(ranked, order.values) << heading << (descending ? " descending" : "");
    for (std::size_t i = order.values.size(); i < shown.size(); ++i)
        EXPECT_EQ(shown[i], "") << heading << ": blanks go last";
}

class ListRoom : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        previousConfig_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", path("config").c_str());
    }
    void TearDown() override {
        qputenv("XDG_CONFIG_HOME", previousConfig_);
        MainWindowTest::TearDown();
    }

  private:
    QByteArray previousConfig_;
};

TEST_F(ListRoom, AHeadingClickOrdersByTheColumnsKeyAndASecondClickReverses) {
    writeCatalogue("Many.QLY", generateCatalogue(160, 24));
    const std::string file = path("Many.QLY");
    struct Heading {
        const char* text;
        BookColumn column;
    };
    const Heading shown[] = {{"Author", BookColumn::Author},     {"Title", BookColumn::Title},
                             {"Category", BookColumn::Category}, {"Rating", BookColumn::Rating},
                             {"Location", BookColumn::Location}, {"Value", BookColumn::Value}};
    ScriptedSession s;
    s.then(dismissSplash()).then(resizeWindow(kWideWidth, kWideHeight));
    s.then(inspect("columns", [](Window& w) {
        EXPECT_EQ(headings(w), (std::vector<std::string>{"Author", "Title", "Category", "Rating",
                                                         "Location", "Value"}));
    }));
    for (const Heading& h : shown) {
        s.then(clickHeading(h.text)).then(inspect(h.text, [&, h](Window& w) {
            expectKeyOrder(w, file, h.text, h.column, false);
        }));
    }
    for (const Heading& h : {shown[0], shown[5]}) {
        s.then(clickHeading(h.text))
            .then(clickHeading(h.text))
            .then(inspect(h.text,
                          [&, h](Window& w) { expectKeyOrder(w, file, h.text, h.column, true); }));
    }
    // A letter in a column's order picks the first book shown whose author starts with it.
    s.then(click(W::M)).then(inspect("letter M", [](Window& w) {
        const std::string author = PROP(W::QLY_LASTNAME, Prop::Text).text();
        EXPECT_EQ(author.substr(0, 1), "M");
        EXPECT_EQ(upper(selectedRow()).substr(0, 1), "M");
        (void)w;
    }));
    s.then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Many.QLY");
    EXPECT_TRUE(s.done()) << s.report();
}

TEST_F(ListRoom, ColumnsChosenOnTheHeadingMenuAreKeptPerCatalogueAcrossARestart) {
    writeCatalogue("One.QLY", {book("Austen", "Jane", "Emma", "Fiction")});
    writeCatalogue("Two.QLY", {book("Conrad", "Joseph", "Nostromo", "Sea")});
    const std::vector<std::string> usual = {"Author", "Title",    "Category",
                                            "Rating", "Location", "Value"};
    auto session = [&](const char* catalogue, std::vector<std::string>& seen,
                       std::function<void(ScriptedSession&)> more) {
        ScriptedSession s;
        s.then(dismissSplash()).then(resizeWindow(kWideWidth, kWideHeight));
        s.then(inspect("headings", [&](Window& w) { seen = headings(w); }));
        if (more) more(s);
        s.then(menu(W::FILEEXIT));
        DISPLAYQUILLERY(catalogue);
        EXPECT_TRUE(s.done()) << s.report();
    };
    std::vector<std::string> seen;
    // The menu lists every column in table order: the 7th is ISBN, the 2nd Title.
    session("One.QLY", seen, [](ScriptedSession& s) {
        s.then(clickHeading("Title", Qt::RightButton)).then(choosePopup(7));
        s.then(clickHeading("Title", Qt::RightButton)).then(choosePopup(2));
    });
    EXPECT_EQ(seen, usual);
    session("One.QLY", seen, {});
    EXPECT_EQ(seen, (std::vector<std::string>{"Author", "Category", "Rating", "Location", "Value",
                                              "ISBN"}));
    session("Two.QLY", seen, {});
    EXPECT_EQ(seen, usual) << "another catalogue keeps its own columns";

    // A window-state file with nonsense in it is passed over: the usual columns show.
    QFile state(windowStatePath());
    ASSERT_TRUE(state.open(QIODevice::WriteOnly | QIODevice::Truncate));
    state.write(
        ("columns=Author,Nonsense|" + path("One.QLY") + "\ncolumns=|\n\x01\x02=\n").c_str());
    state.close();
    session("One.QLY", seen, {});
    EXPECT_EQ(seen, usual);

    // At the design size the list is the one-line list, without headings.
    ScriptedSession narrow;
    narrow.then(dismissSplash()).then(inspect("design size", [](Window& w) {
        EXPECT_TRUE(headings(w).empty());
        EXPECT_EQ(listedRows(w), (std::vector<std::string>{"Austen, Jane (Emma)"}));
    }));
    narrow.then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("One.QLY");
    EXPECT_TRUE(narrow.done()) << narrow.report();
}

// The titles of the current books whose text fields hold `text`, case ignored: Find's plain
// substring test field by field.
std::multiset<std::string> booksHolding(const std::string& path, const std::string& text) {
    std::multiset<std::string> titles;
    const std::string wanted = upper(text);
    const std::vector<StoredRecord> records = fileRecords(path);
    for (std::size_t i = 1; i < records.size(); ++i) {
        const QuilleryRecord& r = records[i].record;
        if (!records[i].current()) continue;
        const std::string fields[] = {r.LASTNAME.str(),  r.FIRSTNAME.str(), r.TITLE.str(),
                                      r.CATEGORY.str(),  r.RATING.str(),    r.ISBN.str(),
                                      r.CONDITION.str(), r.LOCATION.str(),  r.EDITION.str(),
                                      r.PUBDATE.str(),   r.PRINTDATE.str(), r.BUYDATE.str(),
                                      r.VALUE.str(),     r.OTHER.str(),     r.NAMEKEY.str(),
                                      r.TITLEKEY.str(),  r.CONTENTS.str()};
        for (const std::string& field : fields) {
            if (upper(field).find(wanted) != std::string::npos) {
                titles.insert(r.TITLE.str());
                break;
            }
        }
    }
    return titles;
}

TEST_F(ListRoom, TheSearchBoxNarrowsTheListKeyByKeyAndEscapeBringsBackTheSameBook) {
    writeCatalogue("Many.QLY", generateCatalogue(300, 7));
    const std::string file = path("Many.QLY");
    std::string chosen;
    ScriptedSession s;
    s.then(dismissSplash())
        .then(resizeWindow(kWideWidth, kWideHeight))
        .then(choose(W::BOOKLIST, 40));
    s.then(inspect("chosen", [&](Window&) { chosen = selectedRow(); }));
    // Ctrl+F from the list goes to the search box.
    s.then(gesture(
        "Ctrl+F", [](Window& w) { QTest::keyClick(listView(w), Qt::Key_F, Qt::ControlModifier); }));
    s.then(inspect("focus", [](Window& w) { EXPECT_TRUE(searchBox(w)->hasFocus()); }));
    const std::string typed = "ther";
    for (std::size_t n = 1; n <= typed.size(); ++n) {
        const std::string text = typed.substr(0, n);
        s.then(gesture("type " + text,
                       [&, n](Window& w) { typeKeys(searchBox(w), typed.substr(n - 1, 1)); }));
        s.then(inspect("after " + text, [&, text](Window& w) {
            const std::vector<std::string> titles = columnTexts(w, headingColumn(w, "Title"));
            EXPECT_EQ(std::multiset<std::string>(titles.begin(), titles.end()),
                      booksHolding(file, text))
                << text;
        }));
    }
    // Letters that no book holds leave the list empty; the book shown stays in the panel.
    s.then(gesture("type zqx", [](Window& w) { typeKeys(searchBox(w), "zqx"); }));
    s.then(inspect("nothing", [&](Window& w) {
        EXPECT_TRUE(columnTexts(w, 0).empty());
        EXPECT_FALSE(PROP(W::QLY_TITLE, Prop::Text).text().empty());
    }));
    s.then(gesture("Escape", [](Window& w) { QTest::keyClick(searchBox(w), Qt::Key_Escape); }));
    s.then(inspect("cleared", [&](Window& w) {
        EXPECT_EQ(searchBox(w)->text(), "");
        EXPECT_EQ(columnTexts(w, 0).size(), booksHolding(file, "").size());
        EXPECT_EQ(selectedRow(), chosen);
    }));
    s.then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Many.QLY");
    EXPECT_TRUE(s.done()) << s.report();
}

std::vector<std::string> sortedTitles(std::vector<std::string> titles) {
    std::sort(titles.begin(), titles.end());
    return titles;
}

TEST_F(ListRoom, AnEditPendingWhenTheListIsOrderedOrFilteredIsSavedFirst) {
    writeCatalogue("Books.QLY", {book("Austen", "Jane", "Emma", "Fiction"),
                                 book("Conrad", "Joseph", "Nostromo", "Sea"),
                                 book("Melville", "Herman", "Moby Dick", "Sea")});
    auto typeTitle = [](const QString& title) {
        return gesture("title", [title](Window& w) {
            auto* edit = qobject_cast<QLineEdit*>(w.controlWidget(W::QLY_TITLE));
            QTest::mouseClick(edit, Qt::LeftButton);
            edit->selectAll();
            QTest::keyClicks(edit, title);
        });
    };
    std::vector<std::string> afterOrder, afterFilter;
    ScriptedSession s;
    s.then(dismissSplash())
        .then(resizeWindow(kWideWidth, kWideHeight))
        .then(choose(W::BOOKLIST, 1));
    s.then(typeTitle("Persuasion")).then(clickHeading("Title"));
    s.then(inspect("ordered", [&](Window& w) {
        afterOrder = currentTitles("Books.QLY");
        EXPECT_EQ(columnTexts(w, headingColumn(w, "Title")),
                  (std::vector<std::string>{"Moby Dick", "Nostromo", "Persuasion"}));
        EXPECT_EQ(PROP(W::QLY_TITLE, Prop::Text).text(), "Persuasion");
        EXPECT_TRUE(disabled(W::SAVE));  // nothing is pending once the edit is kept
    }));
    // A later save's undo comes back to the kept title, not to the one before it.
    std::vector<std::string> afterUndo;
    auto clickTool = [](int field) {
        return gesture("tool " + std::to_string(field), [field](Window& w) {
            QTest::mouseClick(qobject_cast<QAbstractButton*>(w.controlWidget(field)),
                              Qt::LeftButton);
        });
    };
    s.then(typeTitle("Lady Susan")).then(clickTool(W::SAVE)).then(clickTool(W::UNDO));
    s.then(inspect("undone", [&](Window&) { afterUndo = currentTitles("Books.QLY"); }));
    s.then(typeTitle("Sanditon")).then(gesture("search", [](Window& w) {
        QTest::mouseClick(searchBox(w), Qt::LeftButton);
        typeKeys(searchBox(w), "sea");
    }));
    s.then(inspect("filtered", [&](Window& w) {
        afterFilter = currentTitles("Books.QLY");
        EXPECT_EQ(columnTexts(w, headingColumn(w, "Title")),
                  (std::vector<std::string>{"Moby Dick", "Nostromo"}));
    }));
    // Ctrl+F from the field being typed in: the title is kept before the search box narrows.
    std::vector<std::string> afterCtrlF;
    s.then(choose(W::BOOKLIST, 1)).then(typeTitle("Typee"));
    s.then(gesture("Ctrl+F in the title", [](Window& w) {
        QTest::keyClick(w.controlWidget(W::QLY_TITLE), Qt::Key_F, Qt::ControlModifier);
    }));
    s.then(gesture("x", [](Window& w) {
        EXPECT_TRUE(searchBox(w)->hasFocus());
        EXPECT_EQ(searchBox(w)->selectedText(), "sea");  // reached with its text chosen
        QTest::keyClick(searchBox(w), Qt::Key_End);
        typeKeys(searchBox(w), "x");
    }));
    s.then(inspect("after Ctrl+F", [&](Window& w) {
        afterCtrlF = currentTitles("Books.QLY");
        EXPECT_EQ(searchBox(w)->text(), "seax");
        EXPECT_TRUE(columnTexts(w, 0).empty());
    }));
    s.then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Books.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(sortedTitles(afterCtrlF),
              (std::vector<std::string>{"Nostromo", "Sanditon", "Typee"}));
    auto sorted = [](std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    EXPECT_EQ(sorted(afterOrder),
              (std::vector<std::string>{"Moby Dick", "Nostromo", "Persuasion"}));
    EXPECT_EQ(sorted(afterUndo), (std::vector<std::string>{"Moby Dick", "Nostromo", "Persuasion"}));
    EXPECT_EQ(sorted(afterFilter), (std::vector<std::string>{"Moby Dick", "Nostromo", "Sanditon"}));
}

}  // namespace
}  // namespace quillery::testing
