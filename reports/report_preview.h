// `REPORTPREVIEW`: the pages of a finished listing on screen, as a grid of thumbnails or one
// page zoomed, before anything is printed. GLOBALRESPONSE is 1 when the user chose Print, else 2.
#pragma once

#include <cstdint>

#include "reports/listing_report.h"

namespace quillery {

namespace reportpreview {
enum Field : int {
    FILEMENU = 1,
    PRINT,
    EXIT,
    VIEWMENU,
    NEXT,
    PREVIOUS,
    JUMP,
    CHANGEDISPLAY,
    ZOOMMENU,
    ZOOMNOZOOM,
    ZOOMPAGEWIDTH,
    ZOOM50,
    ZOOM75,
    ZOOM100,
    ZOOM200,
    ZOOM300,
    PRINTBUTTON,
    EXITBUTTON,
    ZOOMBUTTON,
    CURRENTPAGE,
    PAGESACROSS,
    PAGESDOWN,
    TOOLBAR,
    PAGEPROMPT,
    ACROSSPROMPT,
    DOWNPROMPT,
};
// Controls made while the preview runs.
inline constexpr int kMeasureImage = 100;
inline constexpr int kZoomImage = 102;
inline constexpr int kFirstCellBox = 104;
inline constexpr int kFirstCellImage = 204;
inline constexpr int kLastCellControl = 404;
}  // namespace reportpreview

namespace jumptopage {
enum Field : int { JUMPPROMPT = 1, JUMPPAGE, OKBUTTON, CANCELBUTTON };
}  // namespace jumptopage

namespace selectdisplay {
enum Field : int { GROUP1 = 1, ACROSSBOX, DOWNBOX, INPUT_PAGESACROSS, INPUT_PAGESDOWN, OK };
}  // namespace selectdisplay

// Requires: the queue names at least one page.
void REPORTPREVIEW(PageImageQueue& pages);

// `PREVIEW:JUMPTOPAGE`: the page chosen, or INPUT_CURRENTPAGE when cancelled.
std::int32_t PREVIEW_JUMPTOPAGE(std::int32_t INPUT_CURRENTPAGE, std::int32_t INPUT_TOTALPAGES);

// `PREVIEW:SELECTDISPLAY`: edits the grid size in place.
void PREVIEW_SELECTDISPLAY(std::int32_t& INPUT_PAGESACROSS, std::int32_t& INPUT_PAGESDOWN);

}  // namespace quillery
