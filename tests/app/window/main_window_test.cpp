// The main window driven through scripts: its caption, menus and tool buttons, the twin
// enabling, the dispatch of twins and list keys, the focus timer, the layout scaling and the
// ways the program ends.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <QTabBar>
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "app/catalogue_globals.h"
#include "app/window/display_quillery.h"
#include "app/window/find_books.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "app/window/main_window_options.h"
#include "app/window/twin_controls.h"
#include "runtime/window/help.h"
#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"
#include "support/about_quillery.h"
#include "tests/app/window/main_window_support.h"

namespace quillery {
namespace {

using namespace script;
namespace W = displayquillery;

using testing::dismissSplash;
using testing::kMainWindow;
using testing::kSplash;
using testing::outputDirectory;

// Records the commands the main window dispatches, for as long as it lives.
class CommandLog {
  public:
    CommandLog() : scope_(logging()) {}
    std::vector<std::pair<MainCommand, int>> seen;

  private:
    MainWindowOptions logging() {
        MainWindowOptions options = mainWindowOptions();
        options.commandTap = [this](MainCommand command, int field) {
            seen.emplace_back(command, field);
        };
        return options;
    }

    ScopedMainWindowOptions scope_;
};

struct TextCase {
    int field;
    const char* text;
};

TEST(MainWindow, CaptionKeepsTheTitleQuotesAndNamesTheCatalogue) {
    for (const char* catalogue : {"Quillery.QLY", "Awards.QLY"}) {
        ScriptedSession s;
        std::string caption;
        s.then(dismissSplash())
            .then(inspect("caption", [&](Window&) { caption = PROP(0, Prop::Text).text(); }))
            .then(menu(W::FILEEXIT).in(kMainWindow));
        DISPLAYQUILLERY(catalogue);
        EXPECT_TRUE(s.done()) << s.report();
        EXPECT_EQ(caption,
                  std::string("'Quillery ZE- The Personal Librarian' (") + catalogue + ")");
        EXPECT_EQ(QUILLERYFILE, catalogue);
        EXPECT_EQ(CURRENTTEXT, "ALL");
    }
}

TEST(MainWindow, OpeningNamesTheHelpFileAndTheIconAndShowsTheSplashFirst) {
    HELP("C:\\BOOK\\BOOK.HLP");
    ScriptedSession s;
    std::string icon;
    s.then(dismissSplash())
        .then(inspect("icon", [&](Window&) { icon = PROP(0, Prop::Icon).text(); }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY();
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(helpFile(), "Book.hlp");
    EXPECT_EQ(icon, "book.bmp");
    ASSERT_GE(s.windowsSeen().size(), 2u);
    EXPECT_EQ(s.windowsSeen()[0], kSplash);
    EXPECT_EQ(s.windowsSeen()[1], kMainWindow);
}

TEST(MainWindow, EveryMenuItemHasItsText) {
    const TextCase items[] = {
        {W::FILEMENU, "&File"},
        {W::AWARDS, "Open Awards File (Example)"},
        {W::FILENEW, "&New Quillery File..."},
        {W::FILEOPEN, "&Open Quillery File ..."},
        {W::FILESAVEAS, "&Save Quillery File As ..."},
        {W::FILEEXIT, "E&xit"},
        {W::BOOKMENU, "&Book"},
        {W::BOOKNEW, "&New\tCtrl N"},
        {W::BOOKDUPLICATE, "Du&plicate"},
        {W::BOOKDELETE, "&Delete\tCtrl D"},
        {W::BOOKSAVE, "&Save"},
        {W::BOOKUNDO, "&Undo"},
        {W::BOOKFIND, "&Find"},
        {W::REPORTSMENU, "&Reports"},
        {W::AUTHORREPORT, "Print by Author"},
        {W::TITLEREPORT, "Print by Title"},
        {W::LOCATIONREPORT, "Print by Location"},
        {W::CATEGORYREPORT, "Print by Category"},
        {W::RANKINGREPORT, "Print by Rating"},
        {W::CONDITIONREPORT, "Print by Condition"},
        {W::VALUEREPORT, "Print by Value"},
        {W::ISBNREPORT, "Print by ISBN"},
        {W::EDITIONREPORT, "Print by Edition"},
        {W::PUBDATEREPORT, "Print by Publisher's Date"},
        {W::BUYDATEREPORT, "Print by Buy Date"},
        {W::PRINTDATEREPORT, "Print by PrintDate"},
        {W::OTHERREPORT, "Print by Other"},
        {W::HELPMENU, "&Help"},
        {W::HELPCONTENTS, "&How to Use Quillery ..."},
        {W::HELPSEARCH, "&Search Quillery Help..."},
        {W::HELPABOUT, "&About Quillery ..."},
    };
    ScriptedSession s;
    s.then(dismissSplash())
        .then(inspect("menu texts",
                      [&](Window& w) {
                          for (const TextCase& c : items) {
                              EXPECT_TRUE(w.hasControl(c.field)) << c.text;
                              EXPECT_EQ(PROP(c.field, Prop::Text).text(), c.text);
                          }
                      }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY();
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(MainWindow, OnlyNewDeleteAndLookUpHaveAccelerators) {
    for (const ControlLayout& c : kMainWindowLayout.controls) {
        if (c.field == W::BOOKNEW) {
            EXPECT_EQ(c.shortcut, "Ctrl+N");
        } else if (c.field == W::BOOKLOOKUP) {
            EXPECT_EQ(c.shortcut, "Ctrl+L");
        } else if (c.field == W::BOOKDELETE) {
            EXPECT_EQ(c.shortcut, "Ctrl+D");
        } else {
            EXPECT_TRUE(c.shortcut.empty()) << c.field;
        }
    }
}

TEST(MainWindow, ToolButtonsHaveTheirTextsIconsAndTips) {
    struct ButtonCase {
        int field;
        const char* text;
        const char* icon;
        const char* tip;
    };
    const ButtonCase buttons[] = {
        {W::NEW, "New", "book2.ICO", "Add New Book"},
        {W::DUPLICATE, "Copy", "bookcopy.ICO", "Create Duplicate Book"},
        {W::DELETE, "Delete", "cancel.ICO", "Delete Book"},
        {W::SAVE, "Save", "save.ICO", "Save Book Contents"},
        {W::UNDO, "Undo", "undo.ICO", "Undo Last Operation"},
        {W::FIND, "Find", "bookfind.ICO", "Find Matching Books"},
        {W::LOOKUP, "Look Up", "booklookup.ICO", "Look Up a Book by ISBN"},
    };
    ScriptedSession s;
    s.then(dismissSplash())
        .then(inspect("buttons",
                      [&](Window&) {
                          for (const ButtonCase& b : buttons) {
                              EXPECT_EQ(PROP(b.field, Prop::Text).text(), b.text);
                              EXPECT_EQ(PROP(b.field, Prop::Icon).text(), b.icon);
                              EXPECT_EQ(PROP(b.field, Prop::Tip).text(), b.tip);
                          }
                      }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY();
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(MainWindow, EntryPanelPromptsAndPictures) {
    struct EntryCase {
        int prompt;
        const char* text;
        int entry;
        const char* picture;
    };
    const EntryCase entries[] = {
        {W::BEGIN, "&Last Name:", W::QLY_LASTNAME, "s20"},
        {W::FIRST, "F&irst:", W::QLY_FIRSTNAME, "s20"},
        {W::LAST, "&Title:", W::QLY_TITLE, "s45"},
        {W::CAT, "Ca&tegory:", W::QLY_CATEGORY, "s20"},
        {W::RATE, "R&ating:", W::QLY_RATING, "s1"},
        {W::ISBN, "ISBN:", W::QLY_ISBN, "s13"},
        {W::COND, "Condition:", W::QLY_CONDITION, "s15"},
        {W::PUD, "&Publish Date:", W::QLY_PUBDATE, "s20"},
        {W::OTHER, "&Other:", W::QLY_OTHER, "s20"},
        {W::LOC, "Location:", W::QLY_LOCATION, "s15"},
        {W::BD, "Buy Date:", W::QLY_BUYDATE, "s15"},
        {W::ED, "Edition:", W::QLY_EDITION, "s15"},
        {W::VAL, "Value:", W::QLY_VALUE, "s15"},
        {W::PRD, "Print Date:", W::QLY_PRINTDATE, "s15"},
    };
    for (const EntryCase& e : entries) {
        const ControlLayout* prompt = mainWindowControl(e.prompt);
        const ControlLayout* entry = mainWindowControl(e.entry);
        ASSERT_NE(prompt, nullptr) << e.text;
        ASSERT_NE(entry, nullptr) << e.text;
        EXPECT_EQ(prompt->text, e.text);
        EXPECT_EQ(entry->picture, e.picture) << e.text;
        EXPECT_EQ(entry->kind,
                  e.entry == W::QLY_CATEGORY ? ControlKind::Combo : ControlKind::Entry);
        // Each prompt sits left of its entry on the same row, inside the panel.
        EXPECT_LT(prompt->at.x + prompt->at.width, entry->at.x + 1) << e.text;
        EXPECT_GE(entry->at.y, 67);
        EXPECT_LE(entry->at.y, 187);
        EXPECT_LE(entry->at.x + entry->at.width, 199 + 213) << e.text;
    }
    const ControlLayout* list = mainWindowControl(W::BOOKLIST);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->format, "[16607L(2)]");
    EXPECT_EQ(mainWindowControl(W::KA)->icon, "K.ICO");
    EXPECT_EQ(mainWindowControl(W::A)->icon, "LA.ICO");
    EXPECT_EQ(mainWindowControl(W::Z)->icon, "Z.ICO");
    EXPECT_EQ(mainWindowControl(W::LISTBYTITLE)->text, "&List by Title");
    EXPECT_EQ(mainWindowControl(W::COMMENT)->text, "Comments");
    EXPECT_EQ(mainWindowControl(W::COMMENT)->icon, "note.ico");
    EXPECT_EQ(mainWindowControl(W::ALL)->text, "ALL");
}

TEST(MainWindow, TwinsAreEnabledAndDisabledTogether) {
    struct Twin {
        int item;
        int button;
        void (*set)(bool);
    };
    const Twin twins[] = {
        {W::BOOKNEW, W::NEW, enableNewAndDuplicate},
        {W::BOOKDUPLICATE, W::DUPLICATE, enableNewAndDuplicate},
        {W::BOOKSAVE, W::SAVE, enableSave},
        {W::BOOKUNDO, W::UNDO, enableUndo},
    };
    auto disabled = [](int field) { return PROP(field, Prop::Disable).number() != 0; };
    ScriptedSession s;
    s.then(dismissSplash())
        .then(inspect("undo off at open, new on",
                      [&](Window&) {
                          EXPECT_TRUE(disabled(W::BOOKUNDO));
                          EXPECT_TRUE(disabled(W::UNDO));
                          EXPECT_FALSE(disabled(W::BOOKNEW));
                          EXPECT_FALSE(disabled(W::NEW));
                          EXPECT_FALSE(disabled(W::BOOKDUPLICATE));
                          EXPECT_FALSE(disabled(W::DUPLICATE));
                      }))
        .then(inspect("each pair follows its switch",
                      [&](Window&) {
                          for (const Twin& t : twins) {
                              for (bool on : {false, true, false, true}) {
                                  t.set(on);
                                  EXPECT_EQ(disabled(t.item), !on) << t.item;
                                  EXPECT_EQ(disabled(t.button), !on) << t.button;
                              }
                          }
                          // Save's switch leaves the other pairs alone.
                          enableUndo(true);
                          enableSave(false);
                          EXPECT_FALSE(disabled(W::UNDO));
                          EXPECT_FALSE(disabled(W::NEW));
                      }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY();
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(MainWindow, TwinsRunOneHandlerAndListKeysPostToTheMenuItems) {
    CommandLog log;
    ScriptedSession s;
    auto cancelFind = [] { return click(getfindstring::CANCEL).in("GETFINDSTRING$FIND"); };
    // Each new entry stays blank, so Delete and Save discard it again.
    s.then(dismissSplash())
        .then(click(W::NEW))
        .then(click(W::DELETE))
        .then(menu(W::BOOKNEW))
        .then(menu(W::BOOKDELETE))
        .then(press(KEY::Insert, W::BOOKLIST))
        .then(press(KEY::Delete, W::BOOKLIST))
        .then(press(KEY::Ctrl | 'N'))
        .then(press(KEY::Ctrl | 'D'))
        .then(click(W::NEW))
        .then(press(KEY::Insert, W::BOOKLIST))  // New is unavailable while an entry is new
        .then(click(W::DELETE))
        .then(click(W::DUPLICATE))
        .then(click(W::SAVE))
        .then(menu(W::BOOKDUPLICATE))
        .then(menu(W::BOOKSAVE))
        .then(click(W::FIND))
        .then(cancelFind())
        .then(menu(W::BOOKFIND).in(kMainWindow))
        .then(cancelFind())
        .then(menu(W::FILEEXIT).in(kMainWindow));
    DISPLAYQUILLERY();
    EXPECT_TRUE(s.done()) << s.report();
    using P = std::pair<MainCommand, int>;
    const std::vector<P> expected = {
        {MainCommand::NewEntry, W::NEW},
        {MainCommand::DeleteEntry, W::DELETE},
        {MainCommand::NewEntry, W::BOOKNEW},
        {MainCommand::DeleteEntry, W::BOOKDELETE},
        {MainCommand::ListKey, W::BOOKLIST},
        {MainCommand::NewEntry, W::BOOKNEW},  // posted by the Insert key
        {MainCommand::ListKey, W::BOOKLIST},
        {MainCommand::DeleteEntry, W::BOOKDELETE},  // posted by the Delete key
        {MainCommand::NewEntry, W::BOOKNEW},        // Ctrl+N
        {MainCommand::DeleteEntry, W::BOOKDELETE},  // Ctrl+D
        {MainCommand::NewEntry, W::NEW},
        {MainCommand::ListKey, W::BOOKLIST},
        {MainCommand::DeleteEntry, W::DELETE},
        {MainCommand::DuplicateEntry, W::DUPLICATE},
        {MainCommand::SaveEntry, W::SAVE},
        {MainCommand::DuplicateEntry, W::BOOKDUPLICATE},
        {MainCommand::SaveEntry, W::BOOKSAVE},
        {MainCommand::Find, W::FIND},
        {MainCommand::Find, W::BOOKFIND},
        {MainCommand::Exit, W::FILEEXIT},
    };
    std::vector<P> commands;
    for (const P& p : log.seen)
        if (p.first != MainCommand::EditField && p.first != MainCommand::ChooseEntry)
            commands.push_back(p);
    EXPECT_EQ(commands, expected);
    // Nothing was kept: the catalogue holds its header record alone.
    EXPECT_EQ(testing::fileRecords("Quillery.QLY").size(), 1u);
}

TEST(MainWindow, DispatchTableNamesEachControlsCommand) {
    struct Case {
        EventCode event;
        int field;
        MainCommand command;
    };
    const Case cases[] = {
        {EVENT::Accepted, W::AWARDS, MainCommand::OpenExample},
        {EVENT::Accepted, W::FILENEW, MainCommand::NewFile},
        {EVENT::Accepted, W::FILEOPEN, MainCommand::OpenFile},
        {EVENT::Accepted, W::FILESAVEAS, MainCommand::SaveFileAs},
        {EVENT::Accepted, W::FILEEXIT, MainCommand::Exit},
        {EVENT::Accepted, W::BOOKUNDO, MainCommand::Undo},
        {EVENT::Accepted, W::UNDO, MainCommand::Undo},
        {EVENT::Accepted, W::AUTHORREPORT, MainCommand::Report},
        {EVENT::Accepted, W::OTHERREPORT, MainCommand::Report},
        {EVENT::Accepted, W::HELPABOUT, MainCommand::About},
        {EVENT::Accepted, W::LISTBYTITLE, MainCommand::ListByTitle},
        {EVENT::Accepted, W::LETTER, MainCommand::JumpToLetter},
        {EVENT::Accepted, W::KA, MainCommand::None},  // the group reports, not the button
        {EVENT::NewSelection, W::SHEET, MainCommand::ChooseTab},
        {EVENT::Accepted, W::SHEET, MainCommand::None},
        {EVENT::NewSelection, W::BOOKLIST, MainCommand::ChooseEntry},
        {EVENT::AlertKey, W::BOOKLIST, MainCommand::ListKey},
        {EVENT::AlertKey, W::QLY_TITLE, MainCommand::ListToolKey},  // Ctrl+F from a field
        {EVENT::AlertKey, W::FILTERBOX, MainCommand::ListToolKey},
        {EVENT::NewSelection, W::FILTERBOX, MainCommand::FilterList},
        {EVENT::Accepted, W::FILTERBOX, MainCommand::FilterList},
        {EVENT::HeaderPressed, W::BOOKLIST, MainCommand::ListHeading},
        {EVENT::HeaderPressed, W::SHEET, MainCommand::None},
        {EVENT::Selected, W::QLY_LASTNAME, MainCommand::EditField},
        {EVENT::Selected, W::QLY_CATEGORY, MainCommand::EditField},
        {EVENT::Selected, W::QLY_PRINTDATE, MainCommand::EditField},
        {EVENT::Accepted, W::QLY_TITLE, MainCommand::EditField},
        {EVENT::Selected, W::BOOKLIST, MainCommand::None},
        {EVENT::Selected, W::BEGIN, MainCommand::None},
        {EVENT::Timer, 0, MainCommand::None},
        {EVENT::CloseWindow, 0, MainCommand::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(commandOf(c.event, c.field), c.command)
            << eventName(c.event) << " " << c.field << " gives "
            << commandName(commandOf(c.event, c.field));
    }
}

TEST(MainWindow, FocusSetsTheWindowTimer) {
    std::vector<long> timers;
    ScriptedSession s;
    s.then(dismissSplash())
        // The window takes the focus back from the splash as it closes.
        .then(inspect("focus back", [](Window&) { QCoreApplication::processEvents(); }))
        .then(inspect("lose focus", [](Window& w) { POST(w, EVENT::LoseFocus); }))
        .then(inspect("after losing", [&](Window&) { timers.push_back(PROP(0, Prop::Timer)); }))
        .then(inspect("gain focus", [](Window& w) { POST(w, EVENT::GainFocus); }))
        .then(inspect("after gaining", [&](Window&) { timers.push_back(PROP(0, Prop::Timer)); }))
        .then(timer(2))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY();
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(timers, (std::vector<long>{0, 20}));
}

TEST(MainWindow, ExitEndsTheWindowAndSoDoesItsCloseBox) {
    for (bool useCloseBox : {false, true}) {
        CommandLog log;
        ScriptedSession s;
        s.then(dismissSplash()).then(useCloseBox ? closeWindow() : menu(W::FILEEXIT));
        DISPLAYQUILLERY();  // returning at all is what ends the program
        EXPECT_TRUE(s.done()) << s.report();
        EXPECT_EQ(currentWindow(), nullptr);
        EXPECT_EQ(log.seen.empty(), useCloseBox);
    }
}

TEST(MainWindow, AboutOpensFromTheHelpMenu) {
    ScriptedSession s;
    s.then(dismissSplash())
        .then(menu(W::HELPABOUT))
        .then(click(aboutquillery::OK).in("ABOUTQUILLERY$ABOUT"))
        .then(menu(W::FILEEXIT).in(kMainWindow));
    DISPLAYQUILLERY();
    EXPECT_TRUE(s.done()) << s.report();
}

// The coordinates RESOLUTION places, as designed at 429 x 281 units.
struct Designed {
    int field;
    int x, y, width, height;  // -1: not placed
};

std::vector<Designed> designedPositions() {
    std::vector<Designed> d = {
        {W::SHEET, 3, 3, 423, 245},          {W::BOOKLIST, 9, 21, 185, 201},
        {W::PANELUSE, 199, 62, 213, 140},    {W::DUPLICATE, 35, 2, 33, 26},
        {W::DELETE, 70, 2, 33, 26},          {W::SAVE, 105, 2, 33, 26},
        {W::UNDO, 140, 2, 33, 26},           {W::FIND, 175, 2, 33, 26},
        {W::COMMENT, 365, 206, 47, 36},      {W::BEGIN, 203, 67, -1, 12},
        {W::QLY_LASTNAME, 249, 67, 130, 12}, {W::QLY_PRINTDATE, 249, 169, 64, 12},
        {W::RATE, 317, 84, -1, 12},          {W::QLY_VALUE, 351, 186, 55, 12},
        {W::LISTBYTITLE, 203, 210, 80, 14},  {W::FILTERBOX, 313, 9, 110, 13},
    };
    for (int k = 1; k <= 26; ++k)
        d.push_back({W::A + k - 1, 19 + 13 * (k - 1), 230, 12, 14});
    return d;
}

// Every control where designed, moved by `right` and `down` units as its kind is: the sheet
// and the list grow, the panel and the buttons by it go with the bottom right corner, the
// letters spread, the tool buttons stay.
void expectPlaced(int right, int down) {
    for (const Designed& d : designedPositions()) {
        int dx = 0, dy = 0, grow = 0, growDown = 0;
        if (d.field == W::SHEET || d.field == W::BOOKLIST) {
            grow = right;
            growDown = down;
        } else if (d.field >= W::A && d.field <= W::Z) {
            dx = right * (d.field - W::A) / 25;
            dy = down;
        } else if (d.field == W::FILTERBOX) {
            dx = right;
        } else if (d.field >= W::PANELUSE) {
            dx = right;
            dy = down;
        }
        auto check = [&](Prop prop, int design, int moved, const char* what) {
            if (design < 0) return;
            EXPECT_EQ(static_cast<long>(PROP(d.field, prop)), design + moved)
                << "field " << d.field << " " << what << " with " << right << " x " << down
                << " units more";
        };
        check(Prop::X, d.x, dx, "x");
        check(Prop::Y, d.y, dy, "y");
        check(Prop::Width, d.width, grow, "width");
        check(Prop::Height, d.height, growDown, "height");
    }
}

TEST(MainWindow, TheListTakesTheRoomOfALargerWindowAndThePanelKeepsItsSize) {
    Window window(kMainWindowLayout);
    OPEN(window);
    EXPECT_EQ(static_cast<long>(PROP(0, Prop::Width)), W::kDesignWidth);
    expectPlaced(0, 0);
    RESOLUTION();
    expectPlaced(0, 0);

    PROP(0, Prop::Width) = 2 * W::kDesignWidth;
    PROP(0, Prop::Height) = 2 * W::kDesignHeight;
    ASSERT_EQ(static_cast<long>(PROP(0, Prop::Width)), 2 * W::kDesignWidth);
    RESOLUTION();
    expectPlaced(W::kDesignWidth, W::kDesignHeight);
    // The last letter ends as far from the Comments button as at the design size.
    EXPECT_EQ(static_cast<long>(PROP(W::COMMENT, Prop::X)) - static_cast<long>(PROP(W::Z, Prop::X)),
              365 - (19 + 13 * 25));

    // Placing starts again from the design, not from the last places: back to the design size.
    PROP(0, Prop::Width) = W::kDesignWidth;
    PROP(0, Prop::Height) = W::kDesignHeight;
    RESOLUTION();
    expectPlaced(0, 0);
    CLOSE(window);
}

TEST(MainWindow, ScreenshotWithSomeBooks) {
    QuilleryRecord emma = testing::book("Austen", "Jane", "Emma", "Fiction");
    emma.RATING = "A";
    emma.ISBN = "0141439580";
    emma.CONDITION = "Fine";
    emma.LOCATION = "Study, shelf 2";
    emma.PUBDATE = "1815";
    emma.EDITION = "Penguin";
    testing::writeCatalogue(
        "Screenshot.QLY",
        {emma, testing::book("Conrad", "Joseph", "Nostromo", "Fiction"),
         testing::book("Darwin", "Charles", "The Voyage of the Beagle", "Travel"),
         testing::book("Eliot", "George", "Middlemarch", "Fiction"),
         testing::book("Hardy", "Thomas", "Far from the Madding Crowd", "Fiction")});
    ScriptedSession s;
    s.then(dismissSplash())
        .then(choose(W::BOOKLIST, 1))
        .then(inspect("screenshot",
                      [](Window& w) {
                          const auto* tabs = w.controlWidget(W::SHEET)->findChild<QTabBar*>();
                          ASSERT_NE(tabs, nullptr);
                          EXPECT_GT(tabs->height(), 0);
                          EXPECT_EQ(testing::tabTexts(w),
                                    (std::vector<std::string>{"ALL", "Fiction", "Travel"}));
                          EXPECT_EQ(PROP(W::QLY_LASTNAME, Prop::Text).text(), "Austen");
                          const QString path = outputDirectory() + "/main_window.png";
                          EXPECT_TRUE(w.widget()->grab().save(path));
                      }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Screenshot.QLY");
    EXPECT_TRUE(s.done()) << s.report();
}

}  // namespace
}  // namespace quillery
