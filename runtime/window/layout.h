// Stored layouts: the static description of a window (or a report) and its controls, written
// as constexpr tables beside the procedure that opens it.
//
//     constexpr ControlLayout kFindControls[] = {
//         {.kind = ControlKind::Prompt, .text = "&Find what:", .at = {5, 7, 40, 10}},
//         {.kind = ControlKind::Entry, .field = FINDSTRING, .at = {50, 6, 90, 12},
//          .picture = "s20", .use = 1},
//         {.kind = ControlKind::Button, .field = OK, .text = "&OK", .at = {50, 24, 40, 14},
//          .flags = ControlFlag::kDefault},
//     };
//     constexpr WindowLayout kFindLayout{.module = "GETFINDSTRING", .structure = "FIND",
//         .text = "Find Matching Book Entries", .at = {0, 0, 150, 44}, .controls = kFindControls};
//
// Positions and sizes are dialog units of the window's font, measured from the top left of the
// window's client area (below its menu bar and tool bars). Controls of a tool bar are measured
// from the tool bar's top left. A window's size counts its tool bars but not its menu bar or
// status bar. A width or height of 0 asks for the control's natural size.
// Texts are Windows-1252.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quillery {

enum class ControlKind {
    Prompt,     // a label; a '&' letter moves focus to the next control
    String,     // static text, or a use variable shown through the picture
    Button,     // push button (a tool button when its parent is a tool bar)
    Entry,      // one-line entry through a picture
    Text,       // multi-line text box
    Check,      // check box: use variable 1 or 0
    Option,     // option group: use variable = number of the chosen radio, from 1
    Radio,      // one choice of the option group named by parent
    List,       // list box over a queue
    Combo,      // entry with a drop-down list over a queue
    Spin,       // spin box with a range
    Progress,   // progress bar
    Image,      // picture by file name
    Box,        // filled rectangle with a border
    Group,      // framed group with a caption
    Line,       // straight line (reports)
    Sheet,      // tab sheet; its tabs are Tab controls with the sheet as parent
    Tab,        // one tab; controls whose parent is the tab show only while it is selected
    Toolbar,    // a strip above the client area holding buttons and small controls
    Menu,       // menu of the menu bar, or a submenu when its parent is a menu
    Item,       // menu item of the menu named by parent
    Separator,  // line between menu items
    // Report layouts: bands group the controls printed together.
    Detail,
    Header,
    Footer,
    Form,
};

namespace ControlFlag {
inline constexpr unsigned kDisabled = 1u << 0;
inline constexpr unsigned kHidden = 1u << 1;
inline constexpr unsigned kDefault = 1u << 2;    // button pressed by Enter
inline constexpr unsigned kCheckable = 1u << 3;  // menu item with a check mark (use variable)
inline constexpr unsigned kReadOnly = 1u << 4;
inline constexpr unsigned kHScroll = 1u << 5;
inline constexpr unsigned kVScroll = 1u << 6;
inline constexpr unsigned kRight = 1u << 7;          // right-aligned text
inline constexpr unsigned kCenter = 1u << 8;         // centred text
inline constexpr unsigned kNoFrame = 1u << 9;        // option group without a frame
inline constexpr unsigned kIconOnly = 1u << 10;      // radio or button drawn as an icon button
inline constexpr unsigned kHelpContents = 1u << 11;  // menu item opening the help contents
inline constexpr unsigned kHelpSearch = 1u << 12;    // menu item opening the help search
inline constexpr unsigned kTransparent = 1u << 13;   // string without its own background
inline constexpr unsigned kImmediate = 1u << 14;  // entry raising EVENT:NewSelection at each change
// Report bands.
inline constexpr unsigned kKeepWithNext = 1u << 16;
inline constexpr unsigned kKeepEnd = 1u << 17;
inline constexpr unsigned kNoVerticalSpace = 1u << 18;
inline constexpr unsigned kAcross = 1u << 19;
inline constexpr unsigned kSuppressHeaderFooter = 1u << 20;
inline constexpr unsigned kPageNumber = 1u << 21;  // a report string showing the page's number
}  // namespace ControlFlag

namespace FontStyle {
inline constexpr unsigned kBold = 1u << 0;
inline constexpr unsigned kItalic = 1u << 1;
inline constexpr unsigned kUnderline = 1u << 2;
}  // namespace FontStyle

// A colour as 0xRRGGBB; kNoColor leaves the style's colour.
inline constexpr std::int32_t kNoColor = -1;

struct FontChoice {
    std::string_view family{};  // empty: the window's font
    int points = 0;             // 0: the window's size
    unsigned style = 0;         // FontStyle bits
    std::int32_t color = kNoColor;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ControlLayout {
    ControlKind kind = ControlKind::String;
    int field = 0;            // the control's field number; 0 for controls never addressed
    std::string_view text{};  // caption, prompt, menu text, initial text
    Rect at{};
    std::string_view picture{};   // stored form without '@': "s20", "n4", "d1"
    int use = 0;                  // position in the window's use list (from 1); 0: none
    int parent = 0;               // field of the menu, sheet, tab, option group or tool bar
    std::string_view icon{};      // picture file name
    std::string_view tip{};       // tool tip
    std::string_view shortcut{};  // menu accelerator, as "Ctrl+N"
    FontChoice font{};
    unsigned flags = 0;  // ControlFlag bits
    int low = 0;         // spin and progress range
    int high = 100;
    int step = 1;
    std::string_view format{};      // list column format, "[16607L(2)]"
    std::int32_t color = kNoColor;  // box border or line colour
    std::int32_t fill = kNoColor;   // box fill or window background
};

namespace WindowFlag {
inline constexpr unsigned kResizable = 1u << 0;
inline constexpr unsigned kCentered = 1u << 1;
inline constexpr unsigned kStatusBar = 1u << 2;
inline constexpr unsigned kNoCaption = 1u << 3;  // no title bar (splash)
inline constexpr unsigned kGrey = 1u << 4;       // grey client background
// A dialog: no minimise or maximise box; Return presses its default button, Escape closes it.
inline constexpr unsigned kDialog = 1u << 5;
}  // namespace WindowFlag

struct WindowLayout {
    std::string_view module{};     // procedure name: "GETFINDSTRING"
    std::string_view structure{};  // structure name: "FIND"
    std::string_view text{};       // caption
    Rect at{};  // size in dialog units, tool bars included (x and y are not used)
    FontChoice font{"MS Sans Serif", 8};
    std::string_view icon{};
    unsigned flags = 0;                  // WindowFlag bits
    int timer = 0;                       // timer period in hundredths of a second; 0: none
    std::span<const int> statusZones{};  // zone widths in dialog units; -1 stretches
    std::span<const ControlLayout> controls{};
    std::int32_t fill = kNoColor;  // client background

    // "MODULE$STRUCTURE".
    std::string name() const { return std::string(module) + "$" + std::string(structure); }
};

}  // namespace quillery
