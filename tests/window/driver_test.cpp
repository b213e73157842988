// The scripted session itself: message boxes answered, timers fired by the script, and the
// ways a script fails loudly instead of hanging.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/window/message_box.h"
#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"

namespace quillery {
namespace {

using namespace script;

enum Field { SAVE = 1, QUIT = 2 };

constexpr ControlLayout kTwo[] = {
    {.kind = ControlKind::Button, .field = SAVE, .text = "&Save", .at = {5, 5, 40, 14}},
    {.kind = ControlKind::Button, .field = QUIT, .text = "&Quit", .at = {50, 5, 40, 14}},
};
constexpr WindowLayout kDriverLayout{.module = "DRIVERTEST",
                                     .structure = "WINDOW",
                                     .text = "Driver",
                                     .at = {0, 0, 95, 24},
                                     .timer = 50,
                                     .controls = kTwo};

// Saves asking first; returns the answers in order.
std::vector<int> runAskingWindow() {
    Window window(kDriverLayout);
    OPEN(window);
    std::vector<int> answers;
    while (ACCEPT(window)) {
        if (ACCEPTED() == SAVE) {
            answers.push_back(MESSAGE("Save the book?|It has changed.", "Saving", ICON::Question,
                                      BUTTON::Yes + BUTTON::No, BUTTON::No));
        }
        if (ACCEPTED() == QUIT) break;
    }
    CLOSE(window);
    return answers;
}

TEST(Driver, AnswersMessageBoxesAndRecordsTheirText) {
    ScriptedSession s;
    s.then(click(SAVE))
        .then(answerMessageBox(BUTTON::Yes))
        .then(click(SAVE))
        .then(answerMessageBox(BUTTON::No))
        .then(click(QUIT));
    EXPECT_EQ(runAskingWindow(), (std::vector<int>{BUTTON::Yes, BUTTON::No}));
    EXPECT_TRUE(s.done()) << s.report();
    ASSERT_EQ(s.messageBoxes().size(), 2u);
    EXPECT_EQ(s.messageBoxes()[0].caption, "Saving");
    EXPECT_NE(s.messageBoxes()[0].text.find("Save the book?"), std::string::npos);
    EXPECT_NE(s.messageBoxes()[0].text.find("It has changed."), std::string::npos);
    EXPECT_EQ(s.messageBoxes()[0].answer, BUTTON::Yes);
    EXPECT_EQ(s.messageBoxes()[1].answer, BUTTON::No);
}

TEST(Driver, ScriptEndingWhileALoopWaitsStopsTheProgram) {
    ScriptedSession s;
    s.then(click(SAVE)).then(answerMessageBox(BUTTON::Yes));
    try {
        runAskingWindow();
        FAIL() << "the loop went on without a script";
    } catch (const ScriptError& error) {
        EXPECT_NE(std::string(error.what()).find("the script ended while DRIVERTEST$WINDOW waits"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(s.done());
}

TEST(Driver, UnexpectedMessageBoxIsDismissedAndReported) {
    ScriptedSession s;
    s.then(click(SAVE)).then(click(QUIT));
    EXPECT_THROW(runAskingWindow(), ScriptError);
    EXPECT_FALSE(s.done());
    ASSERT_EQ(s.messageBoxes().size(), 1u);
    EXPECT_NE(s.report().find("unexpected message box \"Saving\""), std::string::npos)
        << s.report();
}

TEST(Driver, AnswerForAMissingButtonIsReported) {
    ScriptedSession s;
    s.then(click(SAVE)).then(answerMessageBox(BUTTON::Retry)).then(click(QUIT));
    EXPECT_THROW(runAskingWindow(), ScriptError);
    EXPECT_NE(s.report().find("the message box has no button 16"), std::string::npos) << s.report();
}

TEST(Driver, ExpectingABoxWhenNoneShowsIsReported) {
    ScriptedSession s;
    s.then(answerMessageBox(BUTTON::OK));
    try {
        runAskingWindow();
        FAIL();
    } catch (const ScriptError& error) {
        EXPECT_NE(std::string(error.what()).find("expected a message box"), std::string::npos);
    }
}

TEST(Driver, ActionMeantForAnotherWindowIsReported) {
    ScriptedSession s;
    s.then(click(SAVE).in("OTHER$WINDOW"));
    EXPECT_THROW(runAskingWindow(), ScriptError);
    EXPECT_NE(s.report().find("was meant for OTHER$WINDOW"), std::string::npos) << s.report();
}

TEST(Driver, TimersRunOnlyWhenTheScriptFiresThem) {
    ScriptedSession s;
    s.then(timer(3)).then(click(QUIT));
    Window window(kDriverLayout);
    OPEN(window);
    EXPECT_EQ(static_cast<long>(PROP(0, Prop::Timer)), 50);
    int timers = 0;
    while (ACCEPT(window)) {
        timers += EVENT() == EVENT::Timer;
        if (ACCEPTED() == QUIT) break;
    }
    CLOSE(window);
    EXPECT_EQ(timers, 3);
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(Driver, FiringAStoppedTimerIsReported) {
    ScriptedSession s;
    s.then(timer());
    Window window(kDriverLayout);
    OPEN(window);
    PROP(0, Prop::Timer) = 0;
    EXPECT_THROW(
        {
            while (ACCEPT(window)) {
            }
        },
        ScriptError);
    EXPECT_NE(s.report().find("has no timer running"), std::string::npos);
}

TEST(Driver, RecordsTheWindowsThatWaited) {
    ScriptedSession s;
    s.then(click(QUIT));
    runAskingWindow();
    EXPECT_EQ(s.windowsSeen(), (std::vector<std::string>{"DRIVERTEST$WINDOW"}));
}

}  // namespace
}  // namespace quillery

namespace quillery {
namespace {

constexpr ControlLayout kProgressControls[] = {
    {.kind = ControlKind::Progress, .field = 1, .at = {15, 15, 111, 12}, .use = 1},
    {.kind = ControlKind::Button, .field = 2, .text = "Cancel", .at = {45, 42, 50, 15}},
};
constexpr WindowLayout kProgressLayout{.module = "LISTING",
                                       .structure = "PROGRESSWINDOW",
                                       .text = "Progress...",
                                       .at = {0, 0, 142, 59},
                                       .flags = WindowFlag::kCentered,
                                       .timer = 1,
                                       .controls = kProgressControls};

// Batches of work on timer events until done, then a result window.
int runBatches(int records) {
    std::uint8_t percent = 0;
    int done = 0;
    {
        Window progress(kProgressLayout, {use(percent)});
        OPEN(progress);
        while (ACCEPT(progress)) {
            if (EVENT() == EVENT::Timer) {
                done = std::min(records, done + 25);
                percent = static_cast<std::uint8_t>(done * 100 / records);
                DISPLAY(1);
                if (done == records) POST(EVENT::CloseWindow);
            }
            if (ACCEPTED() == 2) POST(EVENT::CloseWindow);
        }
        CLOSE(progress);
    }
    Window result(kDriverLayout);
    OPEN(result);
    while (ACCEPT(result)) {
        if (ACCEPTED() == QUIT) break;
    }
    CLOSE(result);
    return done;
}

TEST(Driver, RunTimersRunsAProgressWindowToItsEnd) {
    ScriptedSession s;
    s.then(runTimers()).then(click(QUIT).in("DRIVERTEST$WINDOW"));
    EXPECT_EQ(runBatches(110), 110);
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(Driver, RunTimersGivesWayToTheButtonsOfItsWindowOnlyByScriptOrder) {
    // Cancel first, then the timer run is never needed: the next window takes the script.
    ScriptedSession s;
    s.then(click(2)).then(click(QUIT));
    EXPECT_EQ(runBatches(110), 0);
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(Driver, RunTimersHasALimit) {
    ScriptedSession s;
    s.then(runTimers(3));
    EXPECT_THROW(runBatches(1000), ScriptError);
    EXPECT_NE(s.report().find("still waits after 3 timer events"), std::string::npos) << s.report();
}

}  // namespace
}  // namespace quillery
