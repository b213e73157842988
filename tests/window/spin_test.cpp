// Spin boxes: arrows stay within the range; typed numbers outside it are rejected with the
// reason, inside it accepted into the variable.
#include <gtest/gtest.h>

#include <QSpinBox>
#include <cstdint>
#include <vector>

#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"

namespace quillery {
namespace {

using namespace script;

enum Field { PAGE = 1, ACROSS = 2 };

constexpr ControlLayout kSpins[] = {
    {.kind = ControlKind::Spin,
     .field = PAGE,
     .at = {5, 5, 33, 12},
     .picture = "n4",
     .use = 1,
     .low = 1,
     .high = 9},
    {.kind = ControlKind::Spin,
     .field = ACROSS,
     .at = {45, 5, 20, 12},
     .picture = "N2",
     .use = 2,
     .low = 1,
     .high = 10},
};
constexpr WindowLayout kSpinLayout{.module = "SPINTEST",
                                   .structure = "WINDOW",
                                   .text = "Spin",
                                   .at = {0, 0, 80, 22},
                                   .controls = kSpins};

struct Outcome {
    EventCode event;
    int field;
    RejectReason reason;
    std::int32_t page;
    bool operator==(const Outcome&) const = default;
};

// Runs `action` and reports the first field event other than EVENT:Selected.
Outcome firstFieldEvent(script::Action action, std::int32_t start) {
    std::int32_t page = start;
    std::int32_t across = 1;
    ScriptedSession s;
    s.then(std::move(action));
    Window window(kSpinLayout, {use(page), use(across)});
    OPEN(window);
    Outcome outcome{EVENT::None, 0, RejectReason::None, 0};
    while (ACCEPT(window)) {
        if (FIELD() == 0 || EVENT() == EVENT::Selected) continue;
        outcome = {EVENT(), FIELD(), REJECTCODE(), page};
        break;
    }
    CLOSE(window);
    EXPECT_TRUE(s.done()) << s.report();
    return outcome;
}

TEST(Spin, TypedAboveTheRangeIsRejectedAndTheVariableKept) {
    EXPECT_EQ(firstFieldEvent(type(PAGE, "12"), 3),
              (Outcome{EVENT::Rejected, PAGE, RejectReason::AboveRange, 3}));
}

TEST(Spin, TypedBelowTheRangeIsRejectedAndTheVariableKept) {
    EXPECT_EQ(firstFieldEvent(type(PAGE, "0"), 3),
              (Outcome{EVENT::Rejected, PAGE, RejectReason::BelowRange, 3}));
}

TEST(Spin, TypedWithinTheRangeIsAcceptedIntoTheVariable) {
    EXPECT_EQ(firstFieldEvent(type(PAGE, "9"), 3),
              (Outcome{EVENT::Accepted, PAGE, RejectReason::None, 9}));
    EXPECT_EQ(firstFieldEvent(type(PAGE, "1"), 3),
              (Outcome{EVENT::Accepted, PAGE, RejectReason::None, 1}));
}

TEST(Spin, ArrowsMoveByTheStepAndStopAtTheBounds) {
    EXPECT_EQ(firstFieldEvent(spin(PAGE, 1), 3),
              (Outcome{EVENT::NewSelection, PAGE, RejectReason::None, 4}));
    EXPECT_EQ(firstFieldEvent(spin(PAGE, -1), 3),
              (Outcome{EVENT::NewSelection, PAGE, RejectReason::None, 2}));
}

TEST(Spin, ArrowsAtTheUpperBoundRaiseNothing) {
    std::int32_t page = 9;
    std::int32_t across = 1;
    ScriptedSession s;
    s.then(spin(PAGE, 3)).then(closeWindow());
    Window window(kSpinLayout, {use(page), use(across)});
    OPEN(window);
    std::vector<EventCode> fieldEvents;
    while (ACCEPT(window)) {
        if (FIELD() == PAGE && EVENT() != EVENT::Selected) fieldEvents.push_back(EVENT());
    }
    CLOSE(window);
    EXPECT_TRUE(fieldEvents.empty());
    EXPECT_EQ(page, 9);
}

// The program answers a rejection by setting the nearer bound and redisplaying.
TEST(Spin, ProgramSetsTheBoundAfterARejection) {
    std::int32_t page = 3;
    std::int32_t across = 1;
    ScriptedSession s;
    s.then(type(PAGE, "12")).then(closeWindow());
    Window window(kSpinLayout, {use(page), use(across)});
    OPEN(window);
    while (ACCEPT(window)) {
        if (EVENT() == EVENT::Rejected) {
            page = REJECTCODE() == RejectReason::AboveRange ? PROP(PAGE, Prop::RangeHigh)
                                                            : PROP(PAGE, Prop::RangeLow);
            DISPLAY(PAGE);
        }
    }
    EXPECT_EQ(page, 9);
    EXPECT_EQ(qobject_cast<QSpinBox*>(window.controlWidget(PAGE))->value(), 9);
    CLOSE(window);
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(Spin, RangeCanBeChangedAtRunTime) {
    std::int32_t page = 3;
    std::int32_t across = 1;
    ScriptedSession s;
    s.then(type(PAGE, "40")).then(closeWindow());
    Window window(kSpinLayout, {use(page), use(across)});
    OPEN(window);
    PROP(PAGE, Prop::RangeHigh) = 50;
    EXPECT_EQ(static_cast<long>(PROP(PAGE, Prop::RangeHigh)), 50);
    bool accepted = false;
    while (ACCEPT(window))
        accepted = accepted || ACCEPTED() == PAGE;
    EXPECT_TRUE(accepted);
    EXPECT_EQ(page, 40);
    CLOSE(window);
}

}  // namespace
}  // namespace quillery
