// A demonstration window with every kind of control, driven through a script from the first
// keystroke to the close button; a screenshot of it is left for people to look at.
#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/codepage.h"
#include "runtime/queue.h"
#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"
#include "tests/common/test_pictures.h"

namespace quillery {
namespace {

using namespace script;

namespace demo {
enum Field {
    SHEET = 1,
    BOOKLIST,
    LETTER,
    A,
    B,
    C,
    POEMS,
    PANEL,
    TITLEPROMPT,
    TITLE,
    YEARPROMPT,
    YEAR,
    CATPROMPT,
    CATEGORY,
    LISTBYTITLE,
    COPIESPROMPT,
    COPIES,
    NOTES,
    PROGRESS,
    STATUS,
    FRAME,
    PICTURE,
    COMMENT,
    CLOSEBUTTON,
    RULE,
    ALL = 31,
    POETRY = 32,
    TOOLBAR = 40,
    NEW,
    SAVE,
    FILEMENU = 50,
    FILEOPEN,
    FILESEPARATOR,
    FILEEXIT,
    BOOKMENU,
    BOOKNEW,
    SHOWGRID,
    HELPMENU,
    HELPCONTENTS,
};
}  // namespace demo

using namespace demo;

constexpr ControlLayout kDemoControls[] = {
    {.kind = ControlKind::Menu, .field = FILEMENU, .text = "&File"},
    {.kind = ControlKind::Item, .field = FILEOPEN, .text = "&Open...", .parent = FILEMENU},
    {.kind = ControlKind::Separator, .field = FILESEPARATOR, .parent = FILEMENU},
    {.kind = ControlKind::Item, .field = FILEEXIT, .text = "E&xit", .parent = FILEMENU},
    {.kind = ControlKind::Menu, .field = BOOKMENU, .text = "&Book"},
    {.kind = ControlKind::Item,
     .field = BOOKNEW,
     .text = "&New\tCtrl N",
     .parent = BOOKMENU,
     .shortcut = "Ctrl+N"},
    {.kind = ControlKind::Item,
     .field = SHOWGRID,
     .text = "Show &Grid",
     .use = 8,
     .parent = BOOKMENU,
     .flags = ControlFlag::kCheckable},
    {.kind = ControlKind::Menu, .field = HELPMENU, .text = "&Help"},
    {.kind = ControlKind::Item,
     .field = HELPCONTENTS,
     .text = "&How to Use ...",
     .parent = HELPMENU,
     .flags = ControlFlag::kHelpContents},

    {.kind = ControlKind::Toolbar, .field = TOOLBAR, .at = {0, 0, 0, 24}},
    {.kind = ControlKind::Button,
     .field = NEW,
     .text = "New",
     .at = {3, 2, 30, 20},
     .parent = TOOLBAR,
     .icon = "new.ico",
     .tip = "Add New Book"},
    {.kind = ControlKind::Button,
     .field = SAVE,
     .text = "Save",
     .at = {35, 2, 30, 20},
     .parent = TOOLBAR,
     .icon = "save.ico",
     .tip = "Save Book Contents"},

    {.kind = ControlKind::Sheet, .field = SHEET, .at = {3, 3, 180, 150}},
    {.kind = ControlKind::Tab, .field = ALL, .text = "ALL", .parent = SHEET},
    {.kind = ControlKind::List,
     .field = BOOKLIST,
     .at = {9, 20, 168, 104},
     .parent = ALL,
     .format = "[16607L(2)]"},
    {.kind = ControlKind::Option,
     .field = LETTER,
     .at = {9, 128, 60, 20},
     .use = 9,
     .parent = ALL,
     .flags = ControlFlag::kNoFrame},
    {.kind = ControlKind::Radio,
     .field = A,
     .text = "A",
     .at = {9, 129, 16, 18},
     .parent = LETTER,
     .icon = "LA.ICO",
     .flags = ControlFlag::kIconOnly},
    {.kind = ControlKind::Radio,
     .field = B,
     .text = "B",
     .at = {27, 129, 16, 18},
     .parent = LETTER,
     .icon = "B.ICO",
     .flags = ControlFlag::kIconOnly},
    {.kind = ControlKind::Radio,
     .field = C,
     .text = "C",
     .at = {45, 129, 16, 18},
     .parent = LETTER,
     .icon = "C.ICO",
     .flags = ControlFlag::kIconOnly},

    {.kind = ControlKind::Group, .field = PANEL, .text = "Entry", .at = {188, 3, 109, 122}},
    {.kind = ControlKind::Prompt, .field = TITLEPROMPT, .text = "&Title:", .at = {193, 17, 30, 10}},
    {.kind = ControlKind::Entry,
     .field = TITLE,
     .at = {228, 15, 64, 12},
     .picture = "s20",
     .use = 1},
    {.kind = ControlKind::Prompt, .field = YEARPROMPT, .text = "&Year:", .at = {193, 33, 30, 10}},
    {.kind = ControlKind::Entry, .field = YEAR, .at = {228, 31, 30, 12}, .picture = "n4", .use = 2},
    {.kind = ControlKind::Prompt,
     .field = CATPROMPT,
     .text = "Ca&tegory:",
     .at = {193, 49, 34, 10}},
    {.kind = ControlKind::Combo,
     .field = CATEGORY,
     .at = {228, 47, 64, 12},
     .picture = "s20",
     .use = 3},
    {.kind = ControlKind::Check,
     .field = LISTBYTITLE,
     .text = "&List by Title",
     .at = {193, 64, 90, 12},
     .use = 4},
    {.kind = ControlKind::Prompt,
     .field = COPIESPROMPT,
     .text = "&Copies:",
     .at = {193, 81, 30, 10}},
    {.kind = ControlKind::Spin,
     .field = COPIES,
     .at = {228, 79, 30, 12},
     .picture = "n2",
     .use = 5,
     .low = 1,
     .high = 10},
    {.kind = ControlKind::Text,
     .field = NOTES,
     .at = {193, 96, 99, 24},
     .use = 6,
     .flags = ControlFlag::kVScroll},

    {.kind = ControlKind::Line, .field = RULE, .at = {3, 155, 180, 1}},
    {.kind = ControlKind::Progress, .field = PROGRESS, .at = {3, 158, 180, 9}, .use = 7},
    {.kind = ControlKind::String,
     .field = STATUS,
     .text = "Ready",
     .at = {3, 170, 180, 10},
     .font = {"Arial", 9, FontStyle::kItalic, 0x000080}},
    {.kind = ControlKind::Box,
     .field = FRAME,
     .at = {188, 129, 50, 49},
     .color = 0x000000,
     .fill = 0xFFFFFF},
    {.kind = ControlKind::Image, .field = PICTURE, .text = "BOOK.BMP", .at = {190, 131, 46, 45}},
    {.kind = ControlKind::Button,
     .field = COMMENT,
     .text = "Comments",
     .at = {243, 129, 54, 24},
     .icon = "note.ico"},
    {.kind = ControlKind::Button,
     .field = CLOSEBUTTON,
     .text = "&Close",
     .at = {243, 158, 54, 20},
     .flags = ControlFlag::kDefault},
    // The second tab's contents, created with the tab at run time.
    {.kind = ControlKind::String,
     .field = POEMS,
     .text = "Poems are listed here.",
     .at = {12, 24, 120, 10},
     .parent = POETRY},
};

constexpr int kDemoZones[] = {90, 90, -1};

constexpr WindowLayout kDemoLayout{.module = "DEMONSTRATION",
                                   .structure = "WINDOW",
                                   .text = "Quillery window engine",
                                   .at = {0, 0, 300, 206},
                                   .icon = "book.bmp",
                                   .flags = WindowFlag::kResizable | WindowFlag::kStatusBar,
                                   .timer = 25,
                                   .statusZones = kDemoZones,
                                   .controls = kDemoControls};

struct Row {
    std::int16_t POINTER;
    FixedString<30> NAME;
};

struct DemoState {
    FixedString<20> title;
    std::int16_t year = 0;
    FixedString<20> category;
    std::uint8_t listByTitle = 0;
    std::int32_t copies = 3;
    FixedString<200> notes;
    std::uint8_t progress = 0;
    bool showGrid = false;
    std::int32_t letter = 1;
};

std::vector<UseVariable> usesOf(DemoState& d) {
    return {use(d.title), use(d.year),     use(d.category), use(d.listByTitle), use(d.copies),
            use(d.notes), use(d.progress), use(d.showGrid), use(d.letter)};
}

TEST(DemoWindow, EveryControlKindThroughTheScript) {
    testing::testPictureDirectory();
    DemoState d;
    Row R{};
    Queue BOOKS(R, {&Row::POINTER, &Row::NAME});
    Row C{};
    Queue CATEGORIES(C, {&Row::POINTER, &Row::NAME});
    const char* titles[] = {"Austen, Jane (Emma)", "Brontë, Charlotte (Jane Eyre)",
                            "Conrad, Joseph (Nostromo)", "Defoe, Daniel (Robinson Crusoe)",
                            "Eliot, George (Middlemarch)"};
    std::int16_t n = 0;
    for (const char* t : titles) {
        R.POINTER = ++n;
        R.NAME = utf8ToCp1252(t);
        ADD(BOOKS);
    }
    for (const char* c : {"Fiction", "Poetry", "Travel"}) {
        C.NAME = c;
        ADD(CATEGORIES);
    }

    ScriptedSession s;
    s.then(type(TITLE, "Tales of the Sea"))
        .then(type(YEAR, "1999"))
        .then(choose(CATEGORY, 2))
        .then(click(LISTBYTITLE))
        .then(spin(COPIES, 2))
        .then(type(NOTES, "Signed by the author.\r\nFirst edition."))
        .then(choose(BOOKLIST, 3))
        .then(choose(LETTER, 2))
        .then(chooseTab(POETRY))
        .then(inspect("poetry tab shows its own contents",
                      [](Window& w) {
                          EXPECT_TRUE(w.controlWidget(POEMS)->isVisible());
                          EXPECT_FALSE(w.controlWidget(BOOKLIST)->isVisible());
                      }))
        .then(chooseTab(ALL))
        .then(menu(SHOWGRID))
        .then(press(KEY::Ctrl | 'N'))
        .then(click(NEW))
        .then(mouse(PICTURE))
        .then(timer(2))
        .then(inspect("screenshot",
                      [](Window& w) {
                          const QString path = testing::testOutputDirectory() + "/demo_window.png";
                          EXPECT_TRUE(w.widget()->grab().save(path));
                      }))
        .then(click(CLOSEBUTTON));

    Window window(kDemoLayout, usesOf(d));
    OPEN(window);
    // The window's size counts its tool bar.
    EXPECT_NEAR(static_cast<long>(PROP(0, Prop::Height)), 206, 1);
    EXPECT_NEAR(static_cast<long>(PROP(0, Prop::Width)), 300, 1);
    bindList(BOOKLIST, BOOKS, 2);
    bindList(CATEGORY, CATEGORIES, 2);
    ALERT(PICTURE, KEY::MouseLeft);
    CREATE(POETRY, ControlKind::Tab, SHEET);
    PROP(POETRY, Prop::Text) = "Poetry";
    UNHIDE(POETRY);
    SELECT(BOOKLIST, 1);
    PROP(0, Prop::StatusText, 1) = "5 books";
    PROP(0, Prop::StatusText, 2) = "No Zoom";

    std::vector<std::string> trace;
    while (ACCEPT(window)) {
        const EventCode event = EVENT();
        if (event == EVENT::GainFocus || event == EVENT::LoseFocus || event == EVENT::Selected ||
            event == EVENT::OpenWindow)
            continue;
        trace.push_back(std::string(eventName(event)) + " " + std::to_string(FIELD()));
        if (event == EVENT::Timer) {
            d.progress = static_cast<std::uint8_t>(d.progress + 25);
            DISPLAY(PROGRESS);
        }
        if (event == EVENT::AlertKey && FIELD() == PICTURE) {
            PROP(0, Prop::StatusText, 3) = "Picture clicked";
        }
        if (event == EVENT::NewSelection && FIELD() == BOOKLIST) {
            PROP(STATUS, Prop::Text) = "Selected row " + std::to_string(CHOICE());
        }
        if (ACCEPTED() == CLOSEBUTTON) break;
    }

    EXPECT_EQ(d.title, "Tales of the Sea");
    EXPECT_EQ(d.year, 1999);
    EXPECT_EQ(d.category, "Poetry");
    EXPECT_EQ(d.listByTitle, 1);
    EXPECT_EQ(d.copies, 5);
    EXPECT_EQ(d.notes, "Signed by the author.\r\nFirst edition.");
    EXPECT_TRUE(d.showGrid);
    EXPECT_EQ(d.letter, 2);
    EXPECT_EQ(d.progress, 50);
    EXPECT_EQ(qobject_cast<QProgressBar*>(window.controlWidget(PROGRESS))->value(), 50);
    EXPECT_EQ(CHOICE(BOOKLIST), 3);
    EXPECT_EQ(CHOICE(SHEET), 1);
    EXPECT_EQ(PROP(STATUS, Prop::Text).text(), "Selected row 3");
    EXPECT_EQ(PROP(0, Prop::StatusText, 3).text(), "Picture clicked");
    EXPECT_GT(static_cast<long>(PROP(PICTURE, Prop::ImageWidth)), 0);

    auto at = [](EventCode event, int field) {
        return std::string(eventName(event)) + " " + std::to_string(field);
    };
    const std::vector<std::string> expected = {
        at(EVENT::Accepted, TITLE),
        at(EVENT::Accepted, YEAR),
        at(EVENT::Accepted, CATEGORY),  // chosen from the drop list
        at(EVENT::Accepted, LISTBYTITLE),
        at(EVENT::NewSelection, COPIES),  // two arrow steps
        at(EVENT::NewSelection, COPIES),
        at(EVENT::Accepted, NOTES),  // the text box left after typing
        at(EVENT::NewSelection, BOOKLIST),
        at(EVENT::Accepted, LETTER),
        at(EVENT::NewSelection, SHEET),  // Poetry, then ALL
        at(EVENT::NewSelection, SHEET),
        at(EVENT::Accepted, SHOWGRID),
        at(EVENT::Accepted, BOOKNEW),  // Ctrl+N
        at(EVENT::Accepted, NEW),
        at(EVENT::AlertKey, PICTURE),
        at(EVENT::Timer, 0),
        at(EVENT::Timer, 0),
        at(EVENT::Accepted, CLOSEBUTTON),
    };
    EXPECT_EQ(trace, expected);
    CLOSE(window);
    EXPECT_TRUE(s.done()) << s.report();
}

}  // namespace
}  // namespace quillery
