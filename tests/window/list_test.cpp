// List and combination boxes over queues: rows follow adds and deletes through the change
// count, choosing rows, alert keys, long queues, column formats.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QComboBox>
#include <QTreeView>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/queue.h"
#include "runtime/window/list_format.h"
#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"

namespace quillery {
namespace {

using namespace script;

enum Field { LIST = 1, COMBO = 2 };

constexpr ControlLayout kListControls[] = {
    {.kind = ControlKind::List, .field = LIST, .at = {5, 5, 100, 80}, .format = "[16607L(2)]"},
    {.kind = ControlKind::Combo,
     .field = COMBO,
     .at = {110, 5, 80, 12},
     .picture = "s20",
     .use = 1},
};
constexpr WindowLayout kListLayout{.module = "LISTTEST",
                                   .structure = "WINDOW",
                                   .text = "Lists",
                                   .at = {0, 0, 200, 90},
                                   .controls = kListControls};

struct Row {
    std::int16_t POINTER;
    FixedString<20> NAME;
};

std::vector<std::string> shownRows(Window& window, int field) {
    const QAbstractItemModel* model = nullptr;
    if (auto* view = qobject_cast<QTreeView*>(window.controlWidget(field))) model = view->model();
    if (auto* combo = qobject_cast<QComboBox*>(window.controlWidget(field))) model = combo->model();
    std::vector<std::string> rows;
    for (int r = 0; model && r < model->rowCount(); ++r) {
        rows.push_back(model->index(r, 0).data().toString().toStdString());
    }
    return rows;
}

void addRow(Row& buffer, Queue& queue, std::int16_t pointer, std::string_view name) {
    buffer.POINTER = pointer;
    buffer.NAME = name;
    ADD(queue);
}

TEST(List, FollowsAddsAndDeletesOfItsQueue) {
    Row R{};
    Queue Q(R, {&Row::POINTER, &Row::NAME});
    FixedString<20> comboText;
    ScriptedSession s;
    s
        .then(inspect(
            "three rows",
            [](Window& w) {
                EXPECT_EQ(shownRows(w, LIST), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
            }))
        .then(choose(LIST, 2))
        .then(press(KEY::Delete, LIST))
        .then(
            inspect("Beta gone",
                    [](Window& w) {
                        EXPECT_EQ(shownRows(w, LIST), (std::vector<std::string>{"Alpha", "Gamma"}));
                    }))
        .then(press(KEY::Insert, LIST))
        .then(inspect("Delta added",
                      [](Window& w) {
                          EXPECT_EQ(shownRows(w, LIST),
                                    (std::vector<std::string>{"Alpha", "Gamma", "Delta"}));
                      }))
        .then(closeWindow());
    Window window(kListLayout, {use(comboText)});
    OPEN(window);
    bindList(LIST, Q, 2);
    ALERT(LIST, KEY::Insert);
    ALERT(LIST, KEY::Delete);
    addRow(R, Q, 1, "Alpha");
    addRow(R, Q, 2, "Beta");
    addRow(R, Q, 3, "Gamma");
    std::vector<std::string> trace;
    while (ACCEPT(window)) {
        if (FIELD() != LIST || EVENT() == EVENT::Selected) continue;
        trace.push_back(std::string(eventName(EVENT())) + " " + std::to_string(CHOICE()));
        if (EVENT() == EVENT::AlertKey && KEYCODE() == KEY::Delete) {
            GET(Q, CHOICE(LIST));
            DELETE(Q);
        }
        if (EVENT() == EVENT::AlertKey && KEYCODE() == KEY::Insert) addRow(R, Q, 4, "Delta");
    }
    CLOSE(window);
    EXPECT_EQ(trace, (std::vector<std::string>{"EVENT:NewSelection 2", "EVENT:AlertKey 2",
                                               "EVENT:AlertKey 2"}));
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(List, ReadingForTheDisplayLeavesTheRecordBufferAndPointerAlone) {
    Row R{};
    Queue Q(R, {&Row::POINTER, &Row::NAME});
    FixedString<20> comboText;
    addRow(R, Q, 1, "Alpha");
    addRow(R, Q, 2, "Beta");
    GET(Q, 1);
    R.NAME = "in the buffer";
    ScriptedSession s;
    s.then(inspect("shown", [](Window& w) {
         EXPECT_EQ(shownRows(w, LIST), (std::vector<std::string>{"Alpha", "Beta"}));
     })).then(closeWindow());
    Window window(kListLayout, {use(comboText)});
    OPEN(window);
    bindList(LIST, Q, 2);
    while (ACCEPT(window)) {
    }
    CLOSE(window);
    EXPECT_EQ(R.NAME, "in the buffer");
    EXPECT_EQ(R.POINTER, 1);
    EXPECT_EQ(POINTER(Q), 1u);
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(List, SelectChoosesARowWithoutAnEvent) {
    Row R{};
    Queue Q(R, {&Row::POINTER, &Row::NAME});
    FixedString<20> comboText;
    for (int i = 1; i <= 5; ++i)
        addRow(R, Q, static_cast<std::int16_t>(i), "Row " + std::to_string(i));
    ScriptedSession s;
    s.then(closeWindow());
    Window window(kListLayout, {use(comboText)});
    OPEN(window);
    bindList(LIST, Q, 2);
    SELECT(LIST, 4);
    EXPECT_EQ(CHOICE(LIST), 4);
    EXPECT_EQ(PROP(LIST, Prop::Text).text(), "Row 4");
    std::vector<EventCode> listEvents;
    while (ACCEPT(window)) {
        if (FIELD() == LIST && EVENT() != EVENT::Selected) listEvents.push_back(EVENT());
    }
    EXPECT_TRUE(listEvents.empty());
    // Deleting rows below the selection keeps it within the list.
    GET(Q, 5);
    DELETE(Q);
    GET(Q, 4);
    DELETE(Q);
    DISPLAY(LIST);
    EXPECT_EQ(CHOICE(LIST), 3);
    CLOSE(window);
}

TEST(List, ThirtyTwoThousandRowsScrollToTheLast) {
    Row R{};
    Queue Q(R, {&Row::POINTER, &Row::NAME});
    FixedString<20> comboText;
    for (int i = 1; i <= 32000; ++i) {
        addRow(R, Q, static_cast<std::int16_t>(i), "Entry " + std::to_string(i));
    }
    ScriptedSession s;
    s.then(choose(LIST, 32000)).then(closeWindow());
    Window window(kListLayout, {use(comboText)});
    OPEN(window);
    bindList(LIST, Q, 2);
    int chosen = 0;
    while (ACCEPT(window)) {
        if (EVENT() == EVENT::NewSelection && FIELD() == LIST) chosen = CHOICE();
    }
    EXPECT_EQ(chosen, 32000);
    EXPECT_EQ(static_cast<long>(PROP(LIST, Prop::Items)), 32000);
    EXPECT_EQ(PROP(LIST, Prop::Text).text(), "Entry 32000");
    CLOSE(window);
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(List, DoubleClickAccepts) {
    Row R{};
    Queue Q(R, {&Row::POINTER, &Row::NAME});
    FixedString<20> comboText;
    addRow(R, Q, 1, "Alpha");
    addRow(R, Q, 2, "Beta");
    ScriptedSession s;
    s.then(doubleClick(LIST, 2));
    Window window(kListLayout, {use(comboText)});
    OPEN(window);
    bindList(LIST, Q, 2);
    int accepted = 0;
    while (ACCEPT(window)) {
        if (ACCEPTED() == LIST) {
            accepted = CHOICE();
            break;
        }
    }
    CLOSE(window);
    EXPECT_EQ(accepted, 2);
}

TEST(Combo, ChoosingFromTheDropListSetsTheVariable) {
    Row R{};
    Queue Q(R, {&Row::POINTER, &Row::NAME});
    FixedString<20> category;
    category = "Poetry";
    addRow(R, Q, 1, "Art");
    addRow(R, Q, 2, "Biography");
    ScriptedSession s;
    s.then(choose(COMBO, 2)).then(type(COMBO, "Science")).then(closeWindow());
    Window window(kListLayout, {use(category)});
    OPEN(window);
    bindList(COMBO, Q, 2);
    EXPECT_EQ(qobject_cast<QComboBox*>(window.controlWidget(COMBO))->currentText().toStdString(),
              "Poetry");
    std::vector<std::string> accepted;
    while (ACCEPT(window)) {
        if (ACCEPTED() == COMBO) accepted.push_back(category.str());
    }
    CLOSE(window);
    EXPECT_EQ(accepted, (std::vector<std::string>{"Biography", "Science"}));
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(Combo, DropListFollowsTheQueue) {
    Row R{};
    Queue Q(R, {&Row::POINTER, &Row::NAME});
    FixedString<20> category;
    addRow(R, Q, 1, "Art");
    ScriptedSession s;
    s.then(inspect("one", [](Window& w) {
         EXPECT_EQ(shownRows(w, COMBO), (std::vector<std::string>{"Art"}));
     })).then(closeWindow());
    Window window(kListLayout, {use(category)});
    OPEN(window);
    bindList(COMBO, Q, 2);
    while (ACCEPT(window)) {
        if (EVENT() == EVENT::CloseWindow) {
            addRow(R, Q, 2, "Poetry");
            DISPLAY(COMBO);
            EXPECT_EQ(shownRows(window, COMBO), (std::vector<std::string>{"Art", "Poetry"}));
        }
    }
    CLOSE(window);
}

TEST(ListFormat, ParsesColumns) {
    auto one = parseListFormat("[16607L(2)]");
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].width, 16607);
    EXPECT_EQ(one[0].align, 'L');
    EXPECT_EQ(one[0].indent, 2);

    auto two = parseListFormat("80R(2)|M~Title~@n5@#3#40C~Name~");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].width, 80);
    EXPECT_EQ(two[0].align, 'R');
    EXPECT_EQ(two[0].header, "Title");
    EXPECT_EQ(two[0].picture, "n5");
    EXPECT_EQ(two[0].field, 3);
    EXPECT_EQ(two[1].width, 40);
    EXPECT_EQ(two[1].align, 'C');
    EXPECT_EQ(two[1].header, "Name");

    EXPECT_TRUE(parseListFormat("").empty());
    // Unclosed parts end at the end of the text instead of running past it.
    auto open = parseListFormat("20L~Unclosed");
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].header, "Unclosed");
}

}  // namespace
}  // namespace quillery

namespace quillery {
namespace {

// The main window appends a blank row and selects it at once, before any redisplay.
TEST(List, RowAddedJustNowCanBeSelected) {
    Row R{};
    Queue Q(R, {&Row::POINTER, &Row::NAME});
    FixedString<20> comboText;
    addRow(R, Q, 1, "Alpha");
    Window window(kListLayout, {use(comboText)});
    OPEN(window);
    bindList(LIST, Q, 2);
    addRow(R, Q, 2, "");
    SELECT(LIST, static_cast<int>(RECORDS(Q)));
    EXPECT_EQ(CHOICE(LIST), 2);
    EXPECT_EQ(static_cast<long>(PROP(LIST, Prop::Items)), 2);
    CLOSE(window);
}

}  // namespace
}  // namespace quillery
