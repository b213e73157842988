#include "reports/select_display.h"

#include "runtime/window/window.h"

namespace quillery {

namespace {

constexpr ControlLayout kSelectControls[] = {
    {.kind = ControlKind::Group,
     .field = selectdisplay::GROUP1,
     .text = "Pages Displayed",
     .at = {3, 2, 135, 43}},
    {.kind = ControlKind::Group,
     .field = selectdisplay::ACROSSBOX,
     .text = "Across",
     .at = {7, 10, 62, 32}},
    {.kind = ControlKind::Group,
     .field = selectdisplay::DOWNBOX,
     .text = "Down",
     .at = {72, 10, 62, 32}},
    {.kind = ControlKind::Spin,
     .field = selectdisplay::INPUT_PAGESACROSS,
     .at = {13, 22, 50, 12},
     .picture = "N2",
     .use = 1,
     .low = 1,
     .high = 10},
    {.kind = ControlKind::Spin,
     .field = selectdisplay::INPUT_PAGESDOWN,
     .at = {79, 22, 50, 12},
     .picture = "N2",
     .use = 2,
     .low = 1,
     .high = 10},
    {.kind = ControlKind::Button,
     .field = selectdisplay::OK,
     .text = "OK",
     .at = {98, 47, 40, 14},
     .flags = ControlFlag::kDefault},
};
constexpr WindowLayout kSelectLayout{.module = "PREVIEW:SELECTDISPLAY",
                                     .structure = "SELECTWINDOW",
                                     .text = "Change the Report Display",
                                     .at = {0, 0, 141, 64},
                                     .flags = WindowFlag::kCentered,
                                     .controls = kSelectControls};

}  // namespace

void PREVIEW_SELECTDISPLAY(std::int32_t& INPUT_PAGESACROSS, std::int32_t& INPUT_PAGESDOWN) {
    Window window(kSelectLayout, {use(INPUT_PAGESACROSS), use(INPUT_PAGESDOWN)});
    OPEN(window);
    while (ACCEPT(window)) {
        if (EVENT() == EVENT::Accepted && FIELD() == selectdisplay::OK) break;
    }
    CLOSE(window);
}

}  // namespace quillery
