// `PREVIEW:SELECTDISPLAY`: the preview asks how many pages to show across and down.
#pragma once

#include <cstdint>

namespace quillery {

namespace selectdisplay {
enum Field : int { GROUP1 = 1, ACROSSBOX, DOWNBOX, INPUT_PAGESACROSS, INPUT_PAGESDOWN, OK };
}  // namespace selectdisplay

// `PREVIEW:SELECTDISPLAY`: edits the grid size in place.
void PREVIEW_SELECTDISPLAY(std::int32_t& INPUT_PAGESACROSS, std::int32_t& INPUT_PAGESDOWN);

}  // namespace quillery
