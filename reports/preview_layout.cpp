#include "reports/preview_layout.h"

namespace quillery {

namespace R = reportpreview;

namespace {

constexpr int kStatusZones[] = {-1, 90, 70};

constexpr ControlLayout menu(int field, std::string_view text) {
    return {.kind = ControlKind::Menu, .field = field, .text = text};
}
constexpr ControlLayout item(int field, std::string_view text, int parent, std::string_view tip,
                             int use = 0) {
    return {.kind = ControlKind::Item,
            .field = field,
            .text = text,
            .use = use,
            .parent = parent,
            .tip = tip,
            .flags = use != 0 ? ControlFlag::kCheckable : 0u};
}
constexpr ControlLayout toolButton(int field, int x, std::string_view text, std::string_view icon,
                                   std::string_view tip) {
    return {.kind = ControlKind::Button,
            .field = field,
            .text = text,
            .at = {x, 2, 14, 14},
            .parent = R::TOOLBAR,
            .icon = icon,
            .tip = tip,
            .flags = ControlFlag::kIconOnly};
}
constexpr ControlLayout prompt(int field, std::string_view text, int x) {
    return {.kind = ControlKind::Prompt,
            .field = field,
            .text = text,
            .at = {x, 4, 0, 0},
            .parent = R::TOOLBAR};
}
constexpr ControlLayout spin(int field, int x, int width, std::string_view picture, int use,
                             int high, std::string_view tip) {
    return {.kind = ControlKind::Spin,
            .field = field,
            .at = {x, 3, width, 12},
            .picture = picture,
            .use = use,
            .parent = R::TOOLBAR,
            .tip = tip,
            .low = 1,
            .high = high};
}

constexpr ControlLayout kPreviewControls[] = {
    menu(R::FILEMENU, "&File"),
    item(R::PRINT, "&Print", R::FILEMENU, "Print the report"),
    item(R::EXIT, "E&xit", R::FILEMENU, "Exit without printing the report"),
    menu(R::VIEWMENU, "&View"),
    item(R::NEXT, "&Next Page(s)", R::VIEWMENU, "View the next page or pages of the report"),
    item(R::PREVIOUS, "&Previous Page(s)", R::VIEWMENU,
         "View the previous page or pages of the report"),
    item(R::JUMP, "&Jump to a page", R::VIEWMENU, "Jump to a specific page of the report"),
    item(R::CHANGEDISPLAY, "&Change Display", R::VIEWMENU, "Change the number of pages displayed"),
    menu(R::ZOOMMENU, "&Zoom"),
    item(R::ZOOMNOZOOM, "No &Zoom", R::ZOOMMENU, {}, 4),
    item(R::ZOOMPAGEWIDTH, "Page &Width", R::ZOOMMENU, {}, 5),
    item(R::ZOOM50, "&50 Percent", R::ZOOMMENU, {}, 6),
    item(R::ZOOM75, "&75 Percent", R::ZOOMMENU, {}, 7),
    item(R::ZOOM100, "&100 Percent", R::ZOOMMENU, {}, 8),
    item(R::ZOOM200, "&200 Percent", R::ZOOMMENU, {}, 9),
    item(R::ZOOM300, "&300 Percent", R::ZOOMMENU, {}, 10),
    {.kind = ControlKind::Toolbar, .field = R::TOOLBAR, .at = {0, 0, 0, kPreviewToolbarHeight}},
    toolButton(R::PRINTBUTTON, 3, "Print", "print.ico", "Print this report"),
    toolButton(R::EXITBUTTON, 19, "Exit", "exit.ico", "Exit without printing the report"),
    toolButton(R::ZOOMBUTTON, 37, "Zoom", "zoom.ico", "Zoom in on a page of the report"),
    prompt(R::PAGEPROMPT, "&Page:", 60),
    spin(R::CURRENTPAGE, 85, 33, "n4", 1, 10, {}),
    prompt(R::ACROSSPROMPT, "&Across:", 123),
    spin(R::PAGESACROSS, 152, 20, "N2", 2, 10, "Select the number of thumbnails in a row"),
    prompt(R::DOWNPROMPT, "&Down:", 177),
    spin(R::PAGESDOWN, 202, 20, "n2", 3, 10, "Select the number of thumbnails in a column"),
};

}  // namespace

const WindowLayout kPreviewLayout{
    .module = "REPORTPREVIEW",
    .structure = "WINDOW",
    .text = "Report Preview",
    .at = {0, 0, 420, 300},
    .flags = WindowFlag::kResizable | WindowFlag::kStatusBar | WindowFlag::kGrey,
    .statusZones = kStatusZones,
    .controls = kPreviewControls};

}  // namespace quillery
