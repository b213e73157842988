// DISABLE, ENABLE, HIDE and UNHIDE over field ranges: a missing last field, reversed ranges,
// and field numbers the window does not have.
#include <gtest/gtest.h>
#include <ostream>

#include <QWidget>
#include <string>

#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"

namespace quillery {
namespace {

using namespace script;

// Buttons 2 to 6 and 9; there are no fields 1, 7 and 8.
constexpr ControlLayout kButtons[] = {
    {.kind = ControlKind::Button, .field = 2, .text = "Two", .at = {5, 5, 30, 14}},
    {.kind = ControlKind::Button, .field = 3, .text = "Three", .at = {40, 5, 30, 14}},
    {.kind = ControlKind::Button, .field = 4, .text = "Four", .at = {75, 5, 30, 14}},
    {.kind = ControlKind::Button, .field = 5, .text = "Five", .at = {110, 5, 30, 14}},
    {.kind = ControlKind::Button, .field = 6, .text = "Six", .at = {145, 5, 30, 14}},
    {.kind = ControlKind::Button, .field = 9, .text = "Nine", .at = {180, 5, 30, 14}},
};
constexpr WindowLayout kButtonsLayout{.module = "RANGES",
                                      .structure = "WINDOW",
                                      .text = "Ranges",
                                      .at = {0, 0, 215, 24},
                                      .controls = kButtons};

constexpr int kFields[] = {2, 3, 4, 5, 6, 9};

// "e" for enabled, "d" for disabled, per field in kFields.
std::string enabledStates(Window& window) {
    std::string states;
    for (int field : kFields)
        states += window.controlWidget(field)->isEnabled() ? 'e' : 'd';
    return states;
}

// "v" for visible, "h" for hidden.
std::string visibleStates(Window& window) {
    std::string states;
    for (int field : kFields)
        states += window.controlWidget(field)->isVisible() ? 'v' : 'h';
    return states;
}

struct RangeCase {
    const char* name;
    int first;
    int last;
    const char* expected;  // per field 2, 3, 4, 5, 6, 9
};

void PrintTo(const RangeCase& c, std::ostream* os) {
    *os << c.name;
}

class RangeTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeTest, DisableThenEnable) {
    const RangeCase& c = GetParam();
    Window window(kButtonsLayout);
    OPEN(window);
    DISABLE(c.first, c.last);
    std::string expected = c.expected;
    for (char& ch : expected)
        ch = ch == 'x' ? 'd' : 'e';
    EXPECT_EQ(enabledStates(window), expected);
    ENABLE(c.first, c.last);
    EXPECT_EQ(enabledStates(window), "eeeeee");
    CLOSE(window);
}

TEST_P(RangeTest, HideThenUnhide) {
    const RangeCase& c = GetParam();
    Window window(kButtonsLayout);
    OPEN(window);
    HIDE(c.first, c.last);
    std::string expected = c.expected;
    for (char& ch : expected)
        ch = ch == 'x' ? 'h' : 'v';
    EXPECT_EQ(visibleStates(window), expected);
    for (int field : kFields) {
        const bool hiddenNow = window.controlWidget(field)->isHidden();
        EXPECT_EQ(static_cast<long>(PROP(field, Prop::Hide)), hiddenNow ? 1 : 0) << field;
    }
    UNHIDE(c.first, c.last);
    EXPECT_EQ(visibleStates(window), "vvvvvv");
    CLOSE(window);
}

INSTANTIATE_TEST_SUITE_P(Ranges, RangeTest,
                         ::testing::Values(RangeCase{"OneField", 4, 0, "..x..."},
                                           RangeCase{"Range", 3, 5, ".xxx.."},
                                           RangeCase{"Reversed", 5, 3, ".xxx.."},
                                           RangeCase{"ReversedWide", 9, 2, "xxxxxx"},
                                           RangeCase{"SpanningMissingFields", 6, 9, "....xx"},
                                           RangeCase{"StartsOnMissingField", 1, 3, "xx...."},
                                           RangeCase{"OnlyMissingFields", 7, 8, "......"},
                                           RangeCase{"UnknownField", 42, 0, "......"}),
                         [](const ::testing::TestParamInfo<RangeCase>& info) {
                             return info.param.name;
                         });

TEST(Ranges, ScriptCannotClickADisabledButtonAndCanOnceEnabled) {
    ScriptedSession s;
    s.then(click(4));
    Window window(kButtonsLayout);
    OPEN(window);
    DISABLE(4);
    EXPECT_THROW(
        {
            while (ACCEPT(window)) {
            }
        },
        ScriptError);
    ENABLE(4);
    ScriptedSession again;
    again.then(click(4));
    int accepted = 0;
    while (ACCEPT(window)) {
        if (ACCEPTED() == 4) {
            accepted = 4;
            break;
        }
    }
    EXPECT_EQ(accepted, 4);
    CLOSE(window);
}

}  // namespace
}  // namespace quillery
