// Tab sheets: tabs created, relabelled and destroyed at run time keep their field numbers;
// the sheet's choice is the selected tab's position; controls on a tab show only with it.
#include <gtest/gtest.h>

#include <QTabBar>
#include <QWidget>
#include <string>
#include <vector>

#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"

namespace quillery {
namespace {

using namespace script;

enum Field { SHEET = 1, ALL = 31, NOTE = 2, PANEL = 3 };

constexpr ControlLayout kSheetControls[] = {
    {.kind = ControlKind::Sheet, .field = SHEET, .at = {3, 3, 200, 100}},
    {.kind = ControlKind::Tab, .field = ALL, .text = "ALL", .parent = SHEET},
    {.kind = ControlKind::Group,
     .field = PANEL,
     .text = "Panel",
     .at = {100, 20, 90, 60},
     .parent = ALL},
    {.kind = ControlKind::String,
     .field = NOTE,
     .text = "On ALL",
     .at = {10, 30, 80, 10},
     .parent = ALL},
};
constexpr WindowLayout kSheetLayout{.module = "TABTEST",
                                    .structure = "WINDOW",
                                    .text = "Tabs",
                                    .at = {0, 0, 206, 106},
                                    .controls = kSheetControls};

std::vector<std::string> tabTexts(Window& window) {
    auto* bar = window.controlWidget(SHEET)->findChild<QTabBar*>();
    std::vector<std::string> texts;
    for (int i = 0; i < bar->count(); ++i) {
        if (bar->isTabVisible(i)) texts.push_back(bar->tabText(i).toStdString());
    }
    return texts;
}

void addTab(int field, const std::string& text) {
    CREATE(field, ControlKind::Tab, SHEET);
    PROP(field, Prop::Text) = text;
    UNHIDE(field);
}

TEST(Tabs, StaticTabsGiveTheTabRowItsHeightWhenTheWindowOpens) {
    Window window(kSheetLayout);
    OPEN(window);
    auto* bar = window.controlWidget(SHEET)->findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->count(), 1);
    // The row is as tall as the tabs it holds, and the tab is drawn inside it.
    EXPECT_GT(bar->height(), 0);
    EXPECT_EQ(bar->height(), bar->sizeHint().height());
    EXPECT_LE(bar->tabRect(0).bottom(), bar->rect().bottom());
    EXPECT_GT(bar->tabRect(0).height(), 0);
    CLOSE(window);
}

TEST(Tabs, CreatedTabsAppendAndKeepTheirNumbersWhenOthersGo) {
    Window window(kSheetLayout);
    OPEN(window);
    addTab(32, "Art");
    addTab(33, "Biography");
    addTab(34, "Poetry");
    EXPECT_EQ(tabTexts(window), (std::vector<std::string>{"ALL", "Art", "Biography", "Poetry"}));
    DESTROY(33);
    EXPECT_EQ(tabTexts(window), (std::vector<std::string>{"ALL", "Art", "Poetry"}));
    EXPECT_FALSE(window.hasControl(33));
    // The remaining tabs answer to their own numbers.
    EXPECT_EQ(PROP(34, Prop::Text).text(), "Poetry");
    PROP(34, Prop::Text) = "Science";
    EXPECT_EQ(tabTexts(window), (std::vector<std::string>{"ALL", "Art", "Science"}));
    SELECT(34);
    EXPECT_EQ(CHOICE(SHEET), 3);
    SELECT(32);
    EXPECT_EQ(CHOICE(SHEET), 2);
    // A tab created again under a destroyed number goes to the end.
    addTab(33, "Travel");
    EXPECT_EQ(tabTexts(window), (std::vector<std::string>{"ALL", "Art", "Science", "Travel"}));
    SELECT(33);
    EXPECT_EQ(CHOICE(SHEET), 4);
    DESTROY(32, 34);
    EXPECT_EQ(tabTexts(window), (std::vector<std::string>{"ALL"}));
    EXPECT_EQ(CHOICE(SHEET), 1);
    CLOSE(window);
}

TEST(Tabs, ACreatedTabStaysHiddenUntilUnhidden) {
    Window window(kSheetLayout);
    OPEN(window);
    CREATE(32, ControlKind::Tab, SHEET);
    PROP(32, Prop::Text) = "Art";
    EXPECT_EQ(tabTexts(window), (std::vector<std::string>{"ALL"}));
    UNHIDE(32);
    EXPECT_EQ(tabTexts(window), (std::vector<std::string>{"ALL", "Art"}));
    CLOSE(window);
}

TEST(Tabs, UserChoiceRaisesNewSelectionWithThePosition) {
    ScriptedSession s;
    s.then(chooseTab(33)).then(chooseTab(ALL)).then(closeWindow());
    Window window(kSheetLayout);
    OPEN(window);
    addTab(32, "Art");
    addTab(33, "Biography");
    std::vector<int> choices;
    while (ACCEPT(window)) {
        if (EVENT() == EVENT::NewSelection && FIELD() == SHEET) choices.push_back(CHOICE());
    }
    CLOSE(window);
    EXPECT_EQ(choices, (std::vector<int>{3, 1}));
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(Tabs, ProgramSelectionRaisesNoEvent) {
    ScriptedSession s;
    s.then(closeWindow());
    Window window(kSheetLayout);
    OPEN(window);
    addTab(32, "Art");
    SELECT(32);
    int sheetEvents = 0;
    while (ACCEPT(window))
        sheetEvents += FIELD() == SHEET;
    CLOSE(window);
    EXPECT_EQ(sheetEvents, 0);
}

// Later controls of the layout stand above earlier ones: the frame above the sheet's pane, the
// text above the frame.
TEST(Tabs, ControlsStackInLayoutOrder) {
    Window window(kSheetLayout);
    OPEN(window);
    const QObjectList order = window.controlWidget(SHEET)->parentWidget()->children();
    const auto sheet = order.indexOf(window.controlWidget(SHEET));
    const auto panel = order.indexOf(window.controlWidget(PANEL));
    const auto note = order.indexOf(window.controlWidget(NOTE));
    EXPECT_LT(sheet, panel);
    EXPECT_LT(panel, note);
    SELECT(ALL);
    EXPECT_TRUE(window.controlWidget(PANEL)->isVisible());
    CLOSE(window);
}

TEST(Tabs, ControlsOnATabShowOnlyWhileItIsSelected) {
    Window window(kSheetLayout);
    OPEN(window);
    addTab(32, "Art");
    QWidget* note = window.controlWidget(NOTE);
    EXPECT_TRUE(note->isVisible());
    SELECT(32);
    EXPECT_FALSE(note->isVisible());
    SELECT(ALL);
    EXPECT_TRUE(note->isVisible());
    HIDE(NOTE);
    EXPECT_FALSE(note->isVisible());
    SELECT(32);
    SELECT(ALL);
    EXPECT_FALSE(note->isVisible());  // hidden by the program stays hidden
    CLOSE(window);
}

}  // namespace
}  // namespace quillery
