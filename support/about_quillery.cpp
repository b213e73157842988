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
    // The logo is drawn to fit the space left under the credits.
    {.kind = ControlKind::Image, .field = LOGO, .text = "BOOK.BMP", .at = {17, 78, 80, 60}},
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
                                        .flags = WindowFlag::kCentered,
                                        .controls = kAboutControls};

void ABOUTQUILLERY() {
    Window window(kAboutQuilleryLayout);
    OPEN(window);
    while (ACCEPT(window)) {
        PROP(0, Prop::Icon) = "book.bmp";
        if (ACCEPTED() == OK) break;
    }
    CLOSE(window);
}

}  // namespace quillery
