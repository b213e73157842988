// What is typed into the control with the focus reaches its variable, with its EVENT:Accepted,
// before the event of whatever the user does next: a tool button, a shortcut, a tab, the close
// box. Driven by real mouse clicks and key presses on the widgets.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <string>
#include <vector>

#include "runtime/window/testing/input_synthesis.h"
#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"

namespace quillery {
namespace {

using namespace script;

enum Field { BOOKMENU = 1, BOOKNEW, TOOLBAR, SAVE, SHEET, TITLE, NOTE, ALL = 31, POETRY };

constexpr ControlLayout kControls[] = {
    {.kind = ControlKind::Menu, .field = BOOKMENU, .text = "&Book"},
    {.kind = ControlKind::Item,
     .field = BOOKNEW,
     .text = "&New\tCtrl N",
     .parent = BOOKMENU,
     .shortcut = "Ctrl+N"},
    {.kind = ControlKind::Toolbar, .field = TOOLBAR, .at = {0, 0, 0, 30}},
    {.kind = ControlKind::Button,
     .field = SAVE,
     .text = "Save",
     .at = {0, 2, 33, 26},
     .parent = TOOLBAR},
    {.kind = ControlKind::Sheet, .field = SHEET, .at = {3, 3, 200, 40}},
    {.kind = ControlKind::Tab, .field = ALL, .text = "ALL", .parent = SHEET},
    {.kind = ControlKind::Tab, .field = POETRY, .text = "Poetry", .parent = SHEET},
    {.kind = ControlKind::Entry,
     .field = TITLE,
     .at = {5, 50, 120, 12},
     .picture = "s20",
     .use = 1},
    {.kind = ControlKind::Text, .field = NOTE, .at = {5, 66, 120, 30}, .use = 2},
};
constexpr WindowLayout kLayout{.module = "TYPINGFIRST",
                               .structure = "WINDOW",
                               .text = "Typing first",
                               .at = {0, 0, 210, 130},
                               .controls = kControls};

// Clicks into a line edit, selects what it holds and types `text` over it, key by key.
void typeOver(QLineEdit* edit, const QString& text) {
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

TEST(TypingFirst, TypedTextIsAcceptedBeforeTheNextGesture) {
    FixedString<20> title;
    FixedString<40> note;
    Window window(kLayout, {use(title), use(note)});
    auto* titleEdit = qobject_cast<QLineEdit*>(window.controlWidget(TITLE));
    auto* noteBox = qobject_cast<QPlainTextEdit*>(window.controlWidget(NOTE));
    auto* saveButton = qobject_cast<QAbstractButton*>(window.controlWidget(SAVE));
    auto* tabs = window.controlWidget(SHEET)->findChild<QTabBar*>();
    ASSERT_TRUE(titleEdit && noteBox && saveButton && tabs);

    auto gesture = [&](std::string name, std::function<void()> act) {
        return inspect(std::move(name), [act, &window](Window&) {
            script_input::activate(window);
            act();
        });
    };
    ScriptedSession s;
    s.then(gesture("Save tool button",
                   [&] {
                       typeOver(titleEdit, "Emma");
                       QTest::mouseClick(saveButton, Qt::LeftButton);
                   }))
        .then(gesture("Ctrl+N",
                      [&] {
                          typeOver(titleEdit, "Persuasion");
                          QTest::keyClick(titleEdit, Qt::Key_N, Qt::ControlModifier);
                      }))
        .then(gesture("a tab",
                      [&] {
                          typeOver(titleEdit, "Sanditon");
                          QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
                      }))
        .then(gesture("unchanged text, then a tool button",
                      [&] { QTest::mouseClick(saveButton, Qt::LeftButton); }))
        .then(gesture("the close box after a note", [&] {
            QTest::mouseClick(noteBox->viewport(), Qt::LeftButton);
            QTest::keyClicks(noteBox, "Read twice");
            window.widget()->close();
        }));

    OPEN(window);
    std::vector<std::string> seen;
    while (ACCEPT(window)) {
        const EventCode event = EVENT();
        std::string what;
        if (event == EVENT::Accepted) what = "accepted " + std::to_string(FIELD());
        if (event == EVENT::NewSelection) what = "new selection " + std::to_string(FIELD());
        if (event == EVENT::CloseWindow) what = "close";
        if (what.empty()) continue;
        seen.push_back(what + " [" + title.str() + "|" + note.str() + "]");
        if (event == EVENT::CloseWindow) break;
    }
    CLOSE(window);
    EXPECT_TRUE(s.done()) << s.report();
    const std::string tab = std::to_string(SHEET);
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "accepted 6 [Emma|]",
                        "accepted 4 [Emma|]",
                        "accepted 6 [Persuasion|]",
                        "accepted 2 [Persuasion|]",
                        "accepted 6 [Sanditon|]",
                        "new selection " + tab + " [Sanditon|]",
                        "accepted 4 [Sanditon|]",
                        "accepted 7 [Sanditon|Read twice]",
                        "close [Sanditon|Read twice]",
                    }));
}

enum DialogField { COPIES = 1, CHECKED, OK };

constexpr ControlLayout kDialogControls[] = {
    {.kind = ControlKind::Spin,
     .field = COPIES,
     .at = {5, 5, 50, 12},
     .picture = "n3",
     .use = 1,
     .low = 1,
     .high = 99,
     .step = 1},
    {.kind = ControlKind::Check, .field = CHECKED, .text = "&Checked", .at = {5, 22, 60, 10}},
    {.kind = ControlKind::Button,
     .field = OK,
     .text = "OK",
     .at = {70, 5, 40, 14},
     .flags = ControlFlag::kDefault},
};
constexpr WindowLayout kDialogLayout{.module = "RETURNKEY",
                                     .structure = "WINDOW",
                                     .text = "Return",
                                     .at = {0, 0, 120, 40},
                                     .controls = kDialogControls};

TEST(TypingFirst, ReturnInASpinBoxOrOnATickBoxPressesTheDefaultButtonAfterTheValue) {
    std::int32_t copies = 1;
    Window window(kDialogLayout, {use(copies)});
    auto* spin = window.controlWidget(COPIES);
    auto* check = window.controlWidget(CHECKED);
    ScriptedSession s;
    s.then(inspect("a number and Return", [&](Window& w) {
         script_input::activate(w);
         QTest::mouseClick(spin, Qt::LeftButton);
         QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
         QTest::keyClicks(spin, "12");
         QTest::keyClick(spin, Qt::Key_Return);
     })).then(inspect("Return on the tick box", [&](Window& w) {
        script_input::activate(w);
        QTest::mouseClick(check, Qt::LeftButton);
        QTest::keyClick(check, Qt::Key_Return);
    }));
    OPEN(window);
    std::vector<std::string> seen;
    int presses = 0;
    while (ACCEPT(window)) {
        if (EVENT() != EVENT::Accepted) continue;
        seen.push_back(std::to_string(FIELD()) + " copies " + std::to_string(copies));
        if (FIELD() == OK && ++presses == 2) break;
    }
    CLOSE(window);
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(seen, (std::vector<std::string>{"1 copies 12", "3 copies 12", "2 copies 12",
                                              "3 copies 12"}));
}

}  // namespace
}  // namespace quillery
