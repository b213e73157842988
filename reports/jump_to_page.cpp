#include "reports/jump_to_page.h"

#include "runtime/window/window.h"

namespace quillery {

namespace {

constexpr ControlLayout kJumpControls[] = {
    {.kind = ControlKind::Prompt,
     .field = jumptopage::JUMPPROMPT,
     .text = "&Page:",
     .at = {5, 8, 0, 0}},
    {.kind = ControlKind::Spin,
     .field = jumptopage::JUMPPAGE,
     .at = {30, 7, 50, 12},
     .picture = "n5",
     .use = 1,
     .tip = "Select a page of the report",
     .low = 1,
     .high = 1},
    {.kind = ControlKind::Button,
     .field = jumptopage::OKBUTTON,
     .text = "OK",
     .at = {89, 7, 40, 12},
     .tip = "Jump to the selected page",
     .flags = ControlFlag::kDefault},
    {.kind = ControlKind::Button,
     .field = jumptopage::CANCELBUTTON,
     .text = "Cancel",
     .at = {134, 7, 40, 12},
     .tip = "Cancel this selection"},
};
constexpr WindowLayout kJumpLayout{.module = "PREVIEW:JUMPTOPAGE",
                                   .structure = "JUMPWINDOW",
                                   .text = "Jump to a Report Page",
                                   .at = {0, 0, 181, 26},
                                   .flags = WindowFlag::kCentered,
                                   .controls = kJumpControls};

}  // namespace

std::int32_t PREVIEW_JUMPTOPAGE(std::int32_t INPUT_CURRENTPAGE, std::int32_t INPUT_TOTALPAGES) {
    std::int32_t JUMPPAGE = INPUT_CURRENTPAGE;
    std::int32_t RETURNPAGE = INPUT_CURRENTPAGE;
    Window window(kJumpLayout, {use(JUMPPAGE)});
    OPEN(window);
    PROP(jumptopage::JUMPPAGE, Prop::RangeLow) = 1;
    PROP(jumptopage::JUMPPAGE, Prop::RangeHigh) = INPUT_TOTALPAGES;
    DISPLAY();
    while (ACCEPT(window)) {
        // A page typed beyond either end becomes the first or the last page.
        if (EVENT() == EVENT::Rejected && FIELD() == jumptopage::JUMPPAGE) {
            JUMPPAGE = REJECTCODE() == RejectReason::AboveRange ? INPUT_TOTALPAGES : 1;
            DISPLAY(jumptopage::JUMPPAGE);
            continue;
        }
        if (EVENT() != EVENT::Accepted) continue;
        if (FIELD() == jumptopage::OKBUTTON) {
            RETURNPAGE = JUMPPAGE;
            break;
        }
        if (FIELD() == jumptopage::CANCELBUTTON) break;
    }
    CLOSE(window);
    return RETURNPAGE;
}

}  // namespace quillery
