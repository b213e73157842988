// The comment window over the shared record buffer.
#include "app/window/comment_window.h"

#include "app/catalogue_globals.h"
#include "app/window/editing_cycle.h"
#include "runtime/window/window.h"

namespace quillery {

namespace C = commentwindow;

namespace {

constexpr char kWindowIcon[] = "book.bmp";

constexpr ControlLayout kCommentControls[] = {
    {.kind = ControlKind::Text,
     .field = C::QLY_CONTENTS,
     .at = {6, 6, 248, 130},
     .use = 1,
     .flags = ControlFlag::kVScroll},
    {.kind = ControlKind::Button,
     .field = C::OK,
     .text = "OK",
     .at = {209, 142, 45, 14},
     .flags = ControlFlag::kDefault},
};

}  // namespace

const WindowLayout kCommentLayout{.module = "COMMENTWINDOW",
                                  .structure = "WINDOW",
                                  .text = "Quillery Comment Page",
                                  .at = {0, 0, 260, 162},
                                  .flags = WindowFlag::kCentered,
                                  .controls = kCommentControls};

void COMMENTWINDOW() {
    Window window(kCommentLayout, {use(QLY.CONTENTS)});
    OPEN(window);
    while (ACCEPT(window)) {
        PROP(0, Prop::Icon) = kWindowIcon;
        if (EVENT() == EVENT::Accepted && FIELD() == C::OK) break;
    }
    CLOSE(window);
}

void editComments() {
    const FixedString<1000> before = QLY.CONTENTS;
    COMMENTWINDOW();
    if (!(QLY.CONTENTS == before)) editField();
}

}  // namespace quillery
