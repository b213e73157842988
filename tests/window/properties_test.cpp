// Properties of windows and controls, pictures by name, run-time images and boxes, window-level
// alerts, resizing, check items and option groups on display.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QWidget>
#include <string>
#include <vector>

#include "runtime/window/help.h"
#include "runtime/window/picture_files.h"
#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"
#include "runtime/window/window_font.h"
#include "runtime/window/window_impl.h"
#include "runtime/window/window_options.h"
#include "tests/common/test_pictures.h"

namespace quillery {
namespace {

using namespace script;

enum Field {
    LABEL = 1,
    ENTRY,
    CHECK,
    OPTION,
    FIRST,
    SECOND,
    NOTE,
    IMAGE,
    VIEWMENU,
    ZOOMITEM,
    HELPMENU,
    HELPITEM,
};

constexpr ControlLayout kControls[] = {
    {.kind = ControlKind::Menu, .field = VIEWMENU, .text = "&View"},
    {.kind = ControlKind::Item,
     .field = ZOOMITEM,
     .text = "No &Zoom",
     .use = 4,
     .parent = VIEWMENU,
     .flags = ControlFlag::kCheckable},
    {.kind = ControlKind::Menu, .field = HELPMENU, .text = "&Help"},
    {.kind = ControlKind::Item,
     .field = HELPITEM,
     .text = "&Search Help...",
     .parent = HELPMENU,
     .flags = ControlFlag::kHelpSearch},
    {.kind = ControlKind::String, .field = LABEL, .text = "Label", .at = {5, 5, 60, 10}},
    {.kind = ControlKind::Entry,
     .field = ENTRY,
     .at = {5, 20, 60, 12},
     .picture = "s10",
     .use = 1,
     .tip = "Type here"},
    {.kind = ControlKind::Check, .field = CHECK, .text = "Check", .at = {5, 36, 60, 12}, .use = 2},
    {.kind = ControlKind::Option,
     .field = OPTION,
     .text = "Choose",
     .at = {70, 5, 60, 40},
     .use = 3},
    {.kind = ControlKind::Radio,
     .field = FIRST,
     .text = "First",
     .at = {75, 16, 50, 12},
     .parent = OPTION},
    {.kind = ControlKind::Radio,
     .field = SECOND,
     .text = "Second",
     .at = {75, 29, 50, 12},
     .parent = OPTION},
    {.kind = ControlKind::Text, .field = NOTE, .at = {5, 52, 125, 30}, .use = 5},
    {.kind = ControlKind::Image,
     .field = IMAGE,
     .text = "no-such-picture.bmp",
     .at = {135, 5, 40, 40}},
};
constexpr int kZones[] = {60, -1};
constexpr WindowLayout kPropsLayout{.module = "PROPERTIES",
                                    .structure = "WINDOW",
                                    .text = "Properties",
                                    .at = {0, 0, 180, 90},
                                    .flags = WindowFlag::kResizable | WindowFlag::kStatusBar,
                                    .statusZones = kZones,
                                    .controls = kControls};

struct Vars {
    FixedString<10> entry;
    std::uint8_t check = 0;
    std::int32_t option = 0;
    bool zoom = false;
    FixedString<12> note;
};

std::vector<UseVariable> usesOf(Vars& v) {
    return {use(v.entry), use(v.check), use(v.option), use(v.zoom), use(v.note)};
}

TEST(Properties, WindowCaptionStatusZonesAndSize) {
    Vars v;
    Window window(kPropsLayout, usesOf(v));
    OPEN(window);
    EXPECT_EQ(PROP(0, Prop::Text).text(), "Properties");
    PROP(0, Prop::Text) = "'Quillery ZE- The Personal Librarian' (Caf\xE9.QLY)";
    EXPECT_EQ(window.widget()->windowTitle().toStdString(),
              "'Quillery ZE- The Personal Librarian' (Caf\xC3\xA9.QLY)");
    EXPECT_EQ(PROP(0, Prop::Text).text(), "'Quillery ZE- The Personal Librarian' (Caf\xE9.QLY)");
    PROP(0, Prop::StatusText, 2) = "Page 1 of 7";
    EXPECT_EQ(PROP(0, Prop::StatusText, 2).text(), "Page 1 of 7");
    EXPECT_EQ(PROP(0, Prop::StatusText, 9).text(), "");  // no such zone
    EXPECT_NEAR(static_cast<long>(PROP(0, Prop::Width)), 180, 1);
    EXPECT_NEAR(static_cast<long>(PROP(0, Prop::Height)), 90, 1);
    PROP(0, Prop::Width) = 240;
    EXPECT_NEAR(static_cast<long>(PROP(0, Prop::Width)), 240, 1);
    CLOSE(window);
}

TEST(Properties, ControlPositionSizeTextAndTip) {
    Vars v;
    Window window(kPropsLayout, usesOf(v));
    OPEN(window);
    EXPECT_EQ(static_cast<long>(PROP(ENTRY, Prop::X)), 5);
    EXPECT_EQ(static_cast<long>(PROP(ENTRY, Prop::Width)), 60);
    // Doubling a position doubles the pixels the widget stands at.
    const int x5 = window.controlWidget(ENTRY)->x();
    PROP(ENTRY, Prop::X) = 10;
    PROP(ENTRY, Prop::Width) = 120;
    EXPECT_EQ(static_cast<long>(PROP(ENTRY, Prop::X)), 10);
    EXPECT_NEAR(window.controlWidget(ENTRY)->x(), 2 * x5, 1);
    EXPECT_EQ(PROP(ENTRY, Prop::Tip).text(), "Type here");
    PROP(ENTRY, Prop::Tip) = "Enter a page number from 1 to 7";
    EXPECT_EQ(window.controlWidget(ENTRY)->toolTip().toStdString(),
              "Enter a page number from 1 to 7");
    PROP(LABEL, Prop::Text) = "45% Completed";
    EXPECT_EQ(PROP(LABEL, Prop::Text).text(), "45% Completed");
    CLOSE(window);
}

TEST(Properties, DisplayShowsCheckOptionCheckItemAndTextBox) {
    Vars v;
    Window window(kPropsLayout, usesOf(v));
    OPEN(window);
    v.check = 1;
    v.option = 2;
    v.zoom = true;
    v.note = "one\r\ntwo";
    DISPLAY();
    EXPECT_TRUE(qobject_cast<QCheckBox*>(window.controlWidget(CHECK))->isChecked());
    EXPECT_EQ(CHOICE(OPTION), 2);
    EXPECT_EQ(static_cast<long>(PROP(ZOOMITEM, Prop::Checked)), 1);
    EXPECT_EQ(
        qobject_cast<QPlainTextEdit*>(window.controlWidget(NOTE))->toPlainText().toStdString(),
        "one\ntwo");
    v.option = 7;  // no such radio: none chosen
    DISPLAY(OPTION);
    EXPECT_EQ(CHOICE(OPTION), 0);
    CLOSE(window);
}

TEST(Properties, TextBoxKeepsNoMoreThanItsVariable) {
    Vars v;
    ScriptedSession s;
    s.then(type(NOTE, "abcdefghijklmnop")).then(closeWindow());
    Window window(kPropsLayout, usesOf(v));
    OPEN(window);
    while (ACCEPT(window)) {
    }
    EXPECT_EQ(std::string(v.note.view()), "abcdefghijkl");
    EXPECT_EQ(
        qobject_cast<QPlainTextEdit*>(window.controlWidget(NOTE))->toPlainText().toStdString(),
        "abcdefghijkl");
    CLOSE(window);
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(Properties, CheckItemTogglesItsVariableBeforeAccepted) {
    Vars v;
    ScriptedSession s;
    s.then(menu(ZOOMITEM)).then(menu(ZOOMITEM)).then(closeWindow());
    Window window(kPropsLayout, usesOf(v));
    OPEN(window);
    std::vector<bool> seen;
    while (ACCEPT(window)) {
        if (ACCEPTED() == ZOOMITEM) seen.push_back(v.zoom);
    }
    CLOSE(window);
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}

TEST(Properties, HelpItemsGoToTheHelpViewerNotTheLoop) {
    Vars v;
    std::vector<std::string> opened;
    HELP("Book.hlp");
    WindowOptions options = windowOptions();
    options.helpViewer = [&](const std::string& file, HelpRequest request) {
        opened.push_back(file + (request == HelpRequest::Search ? " search" : " contents"));
    };
    const ScopedWindowOptions viewer(options);  // ends after the session, which it encloses
    ScriptedSession s;
    s.then(menu(HELPITEM)).then(closeWindow());
    Window window(kPropsLayout, usesOf(v));
    OPEN(window);
    int accepted = 0;
    while (ACCEPT(window))
        accepted += ACCEPTED() != 0;
    CLOSE(window);
    EXPECT_EQ(accepted, 0);
    EXPECT_EQ(opened, (std::vector<std::string>{"Book.hlp search"}));
}

TEST(Properties, MissingPictureShowsNothingAndRunTimeImagesMeasurePictures) {
    testing::testPictureDirectory();
    Vars v;
    Window window(kPropsLayout, usesOf(v));
    OPEN(window);
    EXPECT_EQ(static_cast<long>(PROP(IMAGE, Prop::ImageWidth)), 0);
    EXPECT_EQ(loadPicture("no-such-picture.bmp"), nullptr);
    // Found whatever the case of the name.
    ASSERT_NE(loadPicture("BOOK.BMP"), nullptr);
    EXPECT_EQ(loadPicture("Book.Bmp")->naturalSize(), QSize(96, 72));

    CREATE(100, ControlKind::Image);
    PROP(100, Prop::Text) = "book.bmp";
    const DialogUnits& du = window.impl().units();
    EXPECT_EQ(static_cast<long>(PROP(100, Prop::ImageWidth)), du.toUnitsX(96));
    EXPECT_EQ(static_cast<long>(PROP(100, Prop::ImageHeight)), du.toUnitsY(72));
    EXPECT_TRUE(window.controlWidget(100)->isHidden());
    UNHIDE(100);
    EXPECT_TRUE(window.controlWidget(100)->isVisible());
    CREATE(104, ControlKind::Box);
    PROP(104, Prop::Fill) = 0xFFFFFF;
    PROP(104, Prop::Color) = 0x000000;
    EXPECT_EQ(static_cast<long>(PROP(104, Prop::Fill)), 0xFFFFFF);
    DESTROY(100, 404);
    EXPECT_FALSE(window.hasControl(100));
    EXPECT_FALSE(window.hasControl(104));
    EXPECT_TRUE(window.hasControl(IMAGE));
    CLOSE(window);
}

TEST(Properties, WindowAlertsTakeClicksAndKeysFromAnywhere) {
    Vars v;
    ScriptedSession s;
    s.then(mouse(0, KEY::MouseRight))
        .then(press(KEY::PgDn, ENTRY))
        .then(press(KEY::PgUp, ENTRY))
        .then(mouse(LABEL, KEY::MouseLeft2))
        .then(closeWindow());
    Window window(kPropsLayout, usesOf(v));
    OPEN(window);
    ALERT(0, KEY::MouseRight);
    ALERT(0, KEY::MouseLeft2);
    ALERT(0, KEY::PgDn);
    std::vector<std::string> alerts;
    while (ACCEPT(window)) {
        if (EVENT() == EVENT::AlertKey) {
            alerts.push_back(std::to_string(KEYCODE()) + "@" + std::to_string(FIELD()));
        }
    }
    CLOSE(window);
    // PgUp is not alerted, so the entry kept it.
    EXPECT_EQ(alerts, (std::vector<std::string>{
                          std::to_string(KEY::MouseRight) + "@0",
                          std::to_string(KEY::PgDn) + "@" + std::to_string(ENTRY),
                          std::to_string(KEY::MouseLeft2) + "@" + std::to_string(LABEL)}));
    SETKEYCODE(0);
    EXPECT_EQ(KEYCODE(), 0);
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(Properties, ResizingRaisesSizedAndChangesTheWidth) {
    Vars v;
    ScriptedSession s;
    s.then(resizeWindow(300, 120)).then(closeWindow());
    Window window(kPropsLayout, usesOf(v));
    OPEN(window);
    int sized = 0;
    long width = 0;
    while (ACCEPT(window)) {
        if (EVENT() == EVENT::Sized) {
            ++sized;
            width = PROP(0, Prop::Width);
        }
    }
    CLOSE(window);
    EXPECT_EQ(sized, 1);
    EXPECT_NEAR(width, 300, 1);
}

TEST(Properties, MinimumWidthHoldsAgainstResizing) {
    Vars v;
    ScriptedSession s;
    s.then(resizeWindow(100, 90)).then(closeWindow());
    Window window(kPropsLayout, usesOf(v));
    OPEN(window);
    PROP(0, Prop::MinWidth) = 170;
    while (ACCEPT(window)) {
    }
    EXPECT_GE(static_cast<long>(PROP(0, Prop::Width)), 169);
    CLOSE(window);
}

TEST(Fonts, LayoutFamiliesMapToInstalledOnes) {
    EXPECT_EQ(nearestFamily("MS Sans Serif").toStdString(), "Liberation Sans");
    EXPECT_EQ(nearestFamily("arial").toStdString(), "Liberation Sans");
    EXPECT_FALSE(nearestFamily("Impact").isEmpty());
    const QFont font =
        fontOf(FontChoice{"Arial", 20, FontStyle::kBold | FontStyle::kItalic}, QFont());
    EXPECT_EQ(font.pointSize(), 20);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    // Dialog units: four across make one average character, eight down one line.
    const DialogUnits du(fontOf(FontChoice{"MS Sans Serif", 8}, QFont()));
    EXPECT_EQ(du.toPixelsX(4), du.baseWidth());
    EXPECT_EQ(du.toPixelsY(8), du.baseHeight());
    EXPECT_EQ(du.toUnitsX(du.toPixelsX(429)), 429);
}

}  // namespace
}  // namespace quillery

namespace quillery {
namespace {

TEST(Properties, DisabledMenuItemCannotBeChosenAndComesBack) {
    Vars v;
    Window window(kPropsLayout, usesOf(v));
    OPEN(window);
    DISABLE(ZOOMITEM);
    QAction* item = nullptr;
    for (QAction* a : window.widget()->findChildren<QAction*>()) {
        if (a->text() == "No &Zoom") item = a;
    }
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->isEnabled());
    {
        ScriptedSession s;
        s.then(menu(ZOOMITEM));
        EXPECT_THROW(
            {
                while (ACCEPT(window)) {
                }
            },
            ScriptError);
        EXPECT_NE(s.report().find("is disabled"), std::string::npos);
    }
    ENABLE(ZOOMITEM);
    EXPECT_TRUE(item->isEnabled());
    HIDE(VIEWMENU);
    EXPECT_FALSE(window.widget()->findChild<QMenuBar*>()->actions().at(0)->isVisible());
    CLOSE(window);
}

}  // namespace
}  // namespace quillery
