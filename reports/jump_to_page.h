// `PREVIEW:JUMPTOPAGE`: the preview asks which page to show.
#pragma once

#include <cstdint>

namespace quillery {

namespace jumptopage {
enum Field : int { JUMPPROMPT = 1, JUMPPAGE, OKBUTTON, CANCELBUTTON };
}  // namespace jumptopage

// `PREVIEW:JUMPTOPAGE`: the page chosen, or INPUT_CURRENTPAGE when cancelled.
std::int32_t PREVIEW_JUMPTOPAGE(std::int32_t INPUT_CURRENTPAGE, std::int32_t INPUT_TOTALPAGES);

}  // namespace quillery
