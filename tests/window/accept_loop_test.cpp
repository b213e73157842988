// The accept loop: one event at a time, leaving with break, posted events, nested windows,
// window open/close errors and the end of the loop on EVENT:CloseWindow.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <string>
#include <vector>

#include "runtime/errors.h"
#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"
#include "runtime/window/window_options.h"
#include "tests/common/fatal_capture.h"

namespace quillery {
namespace {

using namespace script;

enum Field { PROMPT = 1, NAME = 2, OK = 3, CANCEL = 4 };

constexpr ControlLayout kSmallControls[] = {
    {.kind = ControlKind::Prompt, .field = PROMPT, .text = "&Name:", .at = {5, 7, 30, 10}},
    {.kind = ControlKind::Entry, .field = NAME, .at = {40, 6, 80, 12}, .picture = "s20", .use = 1},
    {.kind = ControlKind::Button,
     .field = OK,
     .text = "&OK",
     .at = {40, 24, 40, 14},
     .flags = ControlFlag::kDefault},
    {.kind = ControlKind::Button, .field = CANCEL, .text = "&Cancel", .at = {84, 24, 40, 14}},
};
constexpr WindowLayout kSmallLayout{.module = "SMALLTEST",
                                    .structure = "WINDOW",
                                    .text = "Small",
                                    .at = {0, 0, 130, 44},
                                    .controls = kSmallControls};

struct Seen {
    EventCode event;
    int field;
    bool operator==(const Seen&) const = default;
};

// Window activation and focus come and go with the desktop; these tests look past them.
bool focusNoise() {
    return EVENT() == EVENT::GainFocus || EVENT() == EVENT::LoseFocus || EVENT() == EVENT::Selected;
}

std::string describe(const std::vector<Seen>& seen) {
    std::string text;
    for (const auto& s : seen)
        text += std::string(eventName(s.event)) + "/" + std::to_string(s.field) + " ";
    return text;
}

TEST(AcceptLoop, BreakRunsTheStatementAfterTheLoopOnceAndLeavesTheWindowOpen) {
    FixedString<20> name;
    ScriptedSession s;
    s.then(click(OK));
    Window window(kSmallLayout, {use(name)});
    OPEN(window);
    int passes = 0;
    int after = 0;
    while (ACCEPT(window)) {
        if (focusNoise()) continue;
        ++passes;
        if (ACCEPTED() == OK) break;
    }
    ++after;
    EXPECT_EQ(after, 1);
    EXPECT_EQ(passes, 2);  // OpenWindow, then Accepted
    EXPECT_TRUE(window.isOpen());
    EXPECT_EQ(EVENT(), EVENT::Accepted);  // the event that left the loop stays current
    CLOSE(window);
    EXPECT_FALSE(window.isOpen());
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(AcceptLoop, AcceptedPostedFromOpenWindowArrivesWithItsField) {
    FixedString<20> name;
    ScriptedSession s;
    Window window(kSmallLayout, {use(name)});
    OPEN(window);
    std::vector<Seen> seen;
    while (ACCEPT(window)) {
        if (focusNoise()) continue;
        seen.push_back({EVENT(), FIELD()});
        if (EVENT() == EVENT::OpenWindow) {
            EXPECT_EQ(FIELD(), 0);
            POST(EVENT::Accepted, OK);
        }
        if (EVENT() == EVENT::Accepted) {
            EXPECT_EQ(ACCEPTED(), OK);
            break;
        }
    }
    CLOSE(window);
    EXPECT_EQ(seen, (std::vector<Seen>{{EVENT::OpenWindow, 0}, {EVENT::Accepted, OK}}))
        << describe(seen);
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(AcceptLoop, WindowEventsCarryNoFieldAndFieldEventsCarryTheirs) {
    FixedString<20> name;
    ScriptedSession s;
    Window window(kSmallLayout, {use(name)});
    OPEN(window);
    std::vector<Seen> seen;
    while (ACCEPT(window)) {
        if (EVENT() == EVENT::OpenWindow) {
            POST(EVENT::Timer, CANCEL);       // a window event: the field is dropped
            POST(EVENT::NewSelection, NAME);  // a field event
            POST(EVENT::Selected, NAME);
            POST(EVENT::CloseWindow);
        }
        if (EVENT() == EVENT::GainFocus || EVENT() == EVENT::LoseFocus) continue;
        seen.push_back({EVENT(), FIELD()});
    }
    CLOSE(window);
    EXPECT_EQ(seen, (std::vector<Seen>{{EVENT::OpenWindow, 0},
                                       {EVENT::Timer, 0},
                                       {EVENT::NewSelection, NAME},
                                       {EVENT::Selected, NAME},
                                       {EVENT::CloseWindow, 0}}))
        << describe(seen);
    EXPECT_EQ(ACCEPTED(), 0);
}

TEST(AcceptLoop, ClosingTheWindowByItsCloseBoxDeliversCloseWindowThenEndsTheLoop) {
    FixedString<20> name;
    ScriptedSession s;
    s.then(closeWindow());
    Window window(kSmallLayout, {use(name)});
    OPEN(window);
    std::vector<Seen> seen;
    while (ACCEPT(window)) {
        if (!focusNoise()) seen.push_back({EVENT(), FIELD()});
    }
    EXPECT_EQ(seen, (std::vector<Seen>{{EVENT::OpenWindow, 0}, {EVENT::CloseWindow, 0}}))
        << describe(seen);
    EXPECT_TRUE(window.isOpen());  // the procedure still closes it
    CLOSE(window);
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(AcceptLoop, CloseInsideTheBodyEndsTheLoop) {
    FixedString<20> name;
    ScriptedSession s;
    s.then(click(CANCEL));
    Window window(kSmallLayout, {use(name)});
    OPEN(window);
    int passes = 0;
    while (ACCEPT(window)) {
        if (focusNoise()) continue;
        ++passes;
        if (ACCEPTED() == CANCEL) CLOSE(window);
    }
    EXPECT_EQ(passes, 2);
    EXPECT_FALSE(window.isOpen());
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(AcceptLoop, EventNamesAndMessageNumbers) {
    EXPECT_EQ(eventName(EVENT::Accepted), "EVENT:Accepted");
    EXPECT_EQ(eventName(EVENT::CloseWindow), "EVENT:CloseWindow");
    EXPECT_EQ(eventName(EVENT::Selected), "EVENT:Selected");
    EXPECT_EQ(eventName(EVENT::Iconized), "EVENT:Iconized");
    EXPECT_EQ(eventName(static_cast<EventCode>(0x207)), "");
    EXPECT_EQ(eventMessage(EVENT::Accepted), 5121);
    EXPECT_EQ(eventMessage(EVENT::Timer), 0x20B + 5120);
    EXPECT_EQ(eventOfMessage(5120 + 0x101), EVENT::Selected);
    EXPECT_EQ(eventOfMessage(5120 + 0x1D), EVENT::None);
    EXPECT_TRUE(isFieldEvent(EVENT::Rejected));
    EXPECT_TRUE(isFieldEvent(EVENT::Selected));
    EXPECT_FALSE(isFieldEvent(EVENT::GainFocus));
}

TEST(AcceptLoop, AcceptWithoutAWindowEndsTheProgramWith537) {
    testing::FatalCapture capture;
    try {
        ACCEPT();
        FAIL() << "ACCEPT without a window returned";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.exitCode, kFatalExitCode);
    }
    ASSERT_EQ(capture.reports().size(), 1u);
    EXPECT_EQ(capture.reports()[0], "ACCEPT loop requires a window");
    EXPECT_EQ(errorCode(), 537);
}

TEST(AcceptLoop, AcceptOnAWindowNeverOpenedEndsTheProgramWith537) {
    testing::FatalCapture capture;
    FixedString<20> name;
    Window window(kSmallLayout, {use(name)});
    EXPECT_THROW(ACCEPT(window), ProgramEnded);
    ASSERT_EQ(capture.reports().size(), 1u);
    EXPECT_EQ(capture.reports()[0], "ACCEPT loop requires a window");
}

TEST(AcceptLoop, OpeningAnOpenWindowIs535) {
    testing::FatalCapture capture;
    FixedString<20> name;
    Window window(kSmallLayout, {use(name)});
    OPEN(window);
    EXPECT_THROW(OPEN(window), ProgramEnded);
    ASSERT_EQ(capture.reports().size(), 1u);
    EXPECT_EQ(capture.reports()[0], "Window is already open");
    EXPECT_EQ(errorCode(), 535);
}

TEST(AcceptLoop, PropertiesOfAWindowNotOpenAre536) {
    testing::FatalCapture capture;
    FixedString<20> name;
    Window window(kSmallLayout, {use(name)});
    EXPECT_THROW(PROP(window, 0, Prop::Text) = "x", ProgramEnded);
    ASSERT_EQ(capture.reports().size(), 1u);
    EXPECT_EQ(capture.reports()[0], "Window is not open");
}

TEST(AcceptLoop, PostWithoutAWindowDoesNothing) {
    ASSERT_EQ(currentWindow(), nullptr);
    POST(EVENT::Accepted, 3);  // nothing to post to, and no fault
    EXPECT_EQ(EVENT(), EVENT::None);
}

// A window opened from another's loop runs its own loop; afterwards the outer loop's event is
// current again and its loop goes on.
TEST(AcceptLoop, NestedWindowRunsItsOwnLoopAndHandsBack) {
    FixedString<20> outerName;
    FixedString<20> innerName;
    ScriptedSession s;
    s.then(click(OK).in("SMALLTEST$WINDOW"))
        .then(type(NAME, "inner text").in("SMALLTEST$WINDOW"))
        .then(click(OK))
        .then(click(CANCEL));
    Window outer(kSmallLayout, {use(outerName)});
    OPEN(outer);
    std::vector<std::string> trace;
    while (ACCEPT(outer)) {
        if (ACCEPTED() == OK) {
            Window inner(kSmallLayout, {use(innerName)});
            OPEN(inner);
            EXPECT_EQ(currentWindow(), &inner);
            while (ACCEPT(inner)) {
                if (EVENT() == EVENT::GainFocus || EVENT() == EVENT::LoseFocus) continue;
                trace.push_back("inner " + std::string(eventName(EVENT())));
                if (ACCEPTED() == OK) break;
            }
            CLOSE(inner);
            EXPECT_EQ(currentWindow(), &outer);
            EXPECT_EQ(EVENT(), EVENT::Accepted);
            EXPECT_EQ(FIELD(), OK);
        }
        if (ACCEPTED() == CANCEL) break;
    }
    CLOSE(outer);
    EXPECT_EQ(innerName, "inner text");
    EXPECT_TRUE(outerName.isBlank());
    EXPECT_EQ(trace, (std::vector<std::string>{"inner EVENT:OpenWindow", "inner EVENT:Selected",
                                               "inner EVENT:Accepted", "inner EVENT:Accepted"}));
    EXPECT_TRUE(s.done()) << s.report();
}

}  // namespace
}  // namespace quillery

namespace quillery {
namespace {

constexpr WindowLayout kTimedLayout{.module = "TIMED",
                                    .structure = "WINDOW",
                                    .text = "Timed",
                                    .at = {0, 0, 130, 44},
                                    .timer = 1,
                                    .controls = kSmallControls};

// Without a script the loop waits on the real event loop and the clock drives the timer.
TEST(AcceptLoop, WithoutAScriptTheClockDrivesTheTimer) {
    ASSERT_FALSE(windowOptions().manualTimers);
    FixedString<20> name;
    Window window(kTimedLayout, {use(name)});
    OPEN(window);
    int timers = 0;
    while (ACCEPT(window)) {
        if (EVENT() == EVENT::Timer && ++timers == 3) {
            PROP(0, Prop::Timer) = 0;
            POST(EVENT::Accepted, OK);
        }
        if (ACCEPTED() == OK) break;
    }
    CLOSE(window);
    EXPECT_EQ(timers, 3);
}

TEST(AcceptLoop, SelectMarksCharactersOfAnEntry) {
    FixedString<20> name;
    name = "Tales of the Sea";
    Window window(kSmallLayout, {use(name)});
    OPEN(window);
    SELECT(NAME, 7, 9);
    auto* edit = qobject_cast<QLineEdit*>(window.controlWidget(NAME));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->selectedText().toStdString(), "of ");
    SELECT(NAME, 1, 1);
    EXPECT_EQ(edit->selectedText().toStdString(), "T");
    CLOSE(window);
}

}  // namespace
}  // namespace quillery
