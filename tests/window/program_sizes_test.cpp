// A program sizes its windows through properties whether or not the user may resize them.
#include <gtest/gtest.h>

#include <QWidget>

#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"

namespace quillery {
namespace {

using namespace script;

constexpr ControlLayout kControls[] = {
    {.kind = ControlKind::String, .field = 1, .text = "Fixed", .at = {5, 5, 60, 10}},
};
constexpr WindowLayout kFixedLayout{.module = "SIZES",
                                    .structure = "WINDOW",
                                    .text = "Fixed",
                                    .at = {0, 0, 180, 90},
                                    .controls = kControls};

long widthUnits() {
    return static_cast<long>(PROP(0, Prop::Width));
}
long heightUnits() {
    return static_cast<long>(PROP(0, Prop::Height));
}

TEST(ProgramSizes, FixedWindowTakesTheProgramsWidthAndHeight) {
    Window window(kFixedLayout);
    OPEN(window);
    ASSERT_NEAR(widthUnits(), 180, 1);
    ASSERT_NEAR(heightUnits(), 90, 1);
    const QWidget* frame = window.widget();
    const int frameWidth = frame->width();
    const int frameHeight = frame->height();

    struct SizeCase {
        long width;
        long height;
    };
    const SizeCase cases[] = {{360, 90}, {360, 180}, {120, 60}, {180, 90}};
    for (const SizeCase& c : cases) {
        PROP(0, Prop::Width) = c.width;
        PROP(0, Prop::Height) = c.height;
        EXPECT_NEAR(widthUnits(), c.width, 1) << c.width << " x " << c.height;
        EXPECT_NEAR(heightUnits(), c.height, 1) << c.width << " x " << c.height;
        // The user still cannot drag the window to another size.
        EXPECT_EQ(frame->minimumSize(), frame->maximumSize());
        EXPECT_EQ(frame->size(), frame->minimumSize());
    }
    // Back at the designed size, the frame is as it opened.
    EXPECT_NEAR(frame->width(), frameWidth, 2);
    EXPECT_NEAR(frame->height(), frameHeight, 2);
    CLOSE(window);
}

TEST(ProgramSizes, FixedWindowSizeHoldsWhileTheLoopRuns) {
    ScriptedSession s;
    s.then(closeWindow());
    Window window(kFixedLayout);
    OPEN(window);
    PROP(0, Prop::Width) = 300;
    while (ACCEPT(window)) {
    }
    EXPECT_NEAR(widthUnits(), 300, 1);
    CLOSE(window);
    EXPECT_TRUE(s.done()) << s.report();
}

}  // namespace
}  // namespace quillery
