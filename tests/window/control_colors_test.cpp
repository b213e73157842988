// Colours of strings and prompts read back as laid out or as the program last set them.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPalette>

#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"

namespace quillery {
namespace {

enum Field { BLUE = 1, PLAIN, CAPTION };

constexpr ControlLayout kControls[] = {
    {.kind = ControlKind::String,
     .field = BLUE,
     .text = "Blue",
     .at = {5, 5, 60, 10},
     .font = {.color = 0x0000FF}},
    {.kind = ControlKind::String, .field = PLAIN, .text = "Plain", .at = {5, 20, 60, 10}},
    {.kind = ControlKind::Prompt,
     .field = CAPTION,
     .text = "&Caption:",
     .at = {5, 35, 60, 10},
     .font = {.color = 0x808000}},
};
constexpr WindowLayout kLayout{.module = "COLORS",
                               .structure = "WINDOW",
                               .text = "Colours",
                               .at = {0, 0, 100, 50},
                               .controls = kControls};

long colorOf(int field) {
    return static_cast<long>(PROP(field, Prop::Color));
}

long shownColor(Window& window, int field) {
    const QColor c = window.controlWidget(field)->palette().color(QPalette::WindowText);
    return static_cast<long>(c.rgb() & 0xFFFFFFu);
}

TEST(ControlColors, StringsReadTheirLayoutColourThenWhatTheProgramSets) {
    Window window(kLayout);
    OPEN(window);
    EXPECT_EQ(colorOf(BLUE), 0x0000FF);
    EXPECT_EQ(colorOf(CAPTION), 0x808000);
    // Without a colour of its own a string reads the colour it shows in.
    EXPECT_EQ(colorOf(PLAIN), shownColor(window, PLAIN));

    struct SetCase {
        int field;
        long color;
    };
    const SetCase cases[] = {
        {BLUE, 0xFF0000}, {PLAIN, 0x00FF00}, {CAPTION, 0x000000},
        {BLUE, 0xFFFFFF}, {PLAIN, 0x123456},
    };
    for (const SetCase& c : cases) {
        PROP(c.field, Prop::Color) = c.color;
        EXPECT_EQ(colorOf(c.field), c.color) << "field " << c.field;
        EXPECT_EQ(shownColor(window, c.field), c.color) << "field " << c.field;
    }
    // Changing one leaves the others as they were.
    EXPECT_EQ(colorOf(BLUE), 0xFFFFFF);
    EXPECT_EQ(colorOf(CAPTION), 0x000000);
    CLOSE(window);
}

}  // namespace
}  // namespace quillery
