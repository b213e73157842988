// The about window: the program's name, who made it, its logo and an OK button.
#include "support/about_quillery.h"

#include "runtime/window/window.h"

namespace quillery {

using namespace aboutquillery;

namespace {

constexpr ControlLayout kAboutControls[] = {
    {.kind = ControlKind::String,
     .field = STRING12,
     .text = "Quillery",
     .at = {14, 9, 0, 0},
     .font = {{}, 12, FontStyle::kBold}},
    {.kind = ControlKind::String,
     .field = CREDIT1,
     .text = "Quillery \x97 catalogue your books",
     .at = {14, 36, 120, 10}},
    {.kind = ControlKind::String,
     .field = CREDIT2,
     .text = "Written by the Quillery developers",
     .at = {14, 48, 120, 10}},
    {.kind = ControlKind::String, .field = CREDIT3, .text = "2026", .at = {14, 60, 60, 10}},
    // The program's icon at its natural size: drawn with a transparent background, it sits on
    // the window's own colour.
    {.kind = ControlKind::Image, .field = LOGO, .text = "book.ico", .at = {17, 78, 0, 0}},
    {.kind = ControlKind::Button,
     .field = OK,
     .text = "OK",
     .at = {140, 43, 50, 14},
     .flags = ControlFlag::kDefault},
};

}  // namespace

const WindowLayout kAboutQuilleryLayout{.module = "ABOUTQUILLERY",
                                        .structure = "ABOUT",
                                        .text = "About Quillery",
                                        .at = {0, 0, 219, 150},
                                        .icon = "book.ico",
                                        .flags = WindowFlag::kCentered | WindowFlag::kDialog,
                                        .controls = kAboutControls};

void ABOUTQUILLERY() {
    Window window(kAboutQuilleryLayout);
    OPEN(window);
    SELECT(OK);  // Space presses it at once
    while (ACCEPT(window)) {
        PROP(0, Prop::Icon) = "book.bmp";
        if (ACCEPTED() == OK) break;
    }
    CLOSE(window);
}

}  // namespace quillery
