// The report preview's window: its menus, tool bar, page and grid fields and status zones.
#pragma once

#include "runtime/window/layout.h"

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

// The height of the tool bar above the pages, in dialog units.
inline constexpr int kPreviewToolbarHeight = 18;

// "REPORTPREVIEW$WINDOW". Use variables, in this order: the current page, pages across, pages
// down, then the seven zoom flags from No Zoom to 300 %.
extern const WindowLayout kPreviewLayout;

}  // namespace quillery
