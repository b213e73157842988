// The splash window: a frameless card with the program's name, edition line and artwork. It
// closes itself at its first timer event (five seconds) or at any click.
#include "support/book_splash.h"

#include <QApplication>

#include "runtime/window/window.h"
#include "support/request_globals.h"

namespace quillery {

using namespace booksplash;

namespace {

constexpr std::int32_t kNavy = 0x000080;
constexpr std::int32_t kPurple = 0x800080;
constexpr int kSplashTimer = 500;  // hundredths of a second

constexpr ControlLayout kSplashControls[] = {
    // A thin navy frame, since the splash has no title bar to set it off from the desktop.
    {.kind = ControlKind::Box, .at = {0, 0, 204, 94}, .color = kNavy, .fill = 0xFFFFFF},
    {.kind = ControlKind::String,
     .field = STRING2,
     .text = "Quillery",
     .at = {59, 13, 117, 22},
     .font = {"Arial", 20, FontStyle::kBold | FontStyle::kItalic, kNavy},
     .flags = ControlFlag::kTransparent},
    {.kind = ControlKind::Image, .field = IMAGE1, .text = "BOOK3.BMP", .at = {26, 26, 0, 0}},
    {.kind = ControlKind::String,
     .field = STRING4,
     .text = kSplashEditionLine,
     .at = {64, 32, 0, 0},
     .font = {"Arial", 14, FontStyle::kItalic, kPurple},
     .flags = ControlFlag::kTransparent},
};

// Redraws every control from its use variable; the splash has none that change, but a window
// coming back to the front must not show stale pixels.
void refresh(bool& forceRefresh) {
    DISPLAY();
    forceRefresh = false;
}

bool isClick(int key) {
    return key == KEY::MouseLeft || key == KEY::MouseLeft2 || key == KEY::MouseRight;
}

}  // namespace

const WindowLayout kBookSplashLayout{.module = "BOOKSPLASH",
                                     .structure = "WINDOW",
                                     .at = {0, 0, 204, 94},
                                     .flags = WindowFlag::kNoCaption | WindowFlag::kCentered,
                                     .timer = kSplashTimer,
                                     .controls = kSplashControls,
                                     .fill = 0xFFFFFF};

void BOOKSPLASH() {
    // The splash answers no request of its own: whoever called it sees it cancelled.
    std::int32_t localResponse = RequestCancelled;
    GLOBALREQUEST = 0;
    GLOBALRESPONSE = 0;

    // A right click that brought the program up must not count as a click on the splash.
    if (KEYCODE() == KEY::MouseRight) SETKEYCODE(KEY::None);

    Window window(kBookSplashLayout);
    OPEN(window);
    PROP(0, Prop::Timer) = kSplashTimer;
    ALERT(0, KEY::MouseLeft);
    ALERT(0, KEY::MouseLeft2);
    ALERT(0, KEY::MouseRight);

    bool forceRefresh = false;
    bool initialised = false;
    auto initialise = [&] {
        if (initialised) return;
        refresh(forceRefresh);
        initialised = true;
    };

    while (ACCEPT(window)) {
        switch (EVENT()) {
            case EVENT::AlertKey:
                if (isClick(KEYCODE())) POST(EVENT::CloseWindow);
                break;
            case EVENT::OpenWindow:
                initialise();
                SELECT(STRING2);
                break;
            case EVENT::GainFocus:
                forceRefresh = true;
                if (!initialised) {
                    initialise();
                } else {
                    refresh(forceRefresh);
                }
                break;
            case EVENT::Rejected:
                QApplication::beep();
                DISPLAY(FIELD());
                SELECT(FIELD());
                break;
            case EVENT::Timer:
                POST(EVENT::CloseWindow);
                break;
            default:
                break;
        }
    }

    CLOSE(window);
    GLOBALRESPONSE = localResponse != 0 ? localResponse : RequestCancelled;
}

}  // namespace quillery
