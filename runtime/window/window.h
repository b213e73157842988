// The window engine: windows created from stored layouts, the accept loop that hands their
// events to the program one at a time, and the operations on the current window's controls.
//
//     Window window(kFindLayout, {use(FINDSTRING), use(IGNORECASE)});
//     OPEN(window);
//     while (ACCEPT(window)) {
//         switch (EVENT()) {
//         case EVENT::Accepted:
//             if (ACCEPTED() == OK) { ... }
//             break;
//         default: break;
//         }
//         if (done) break;
//     }
//     CLOSE(window);
//
// The operations without a window argument act on the current window: the window whose accept
// loop ran last and is still open, else the window opened last.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/window/events.h"
#include "runtime/window/layout.h"
#include "runtime/window/use_variable.h"

class QWidget;

namespace quillery {

class Queue;
class WindowImpl;

// Key and mouse codes as KEYCODE() gives them and ALERT takes them.
namespace KEY {
inline constexpr int None = 0;
inline constexpr int MouseLeft = 0x01;
inline constexpr int MouseRight = 0x02;
inline constexpr int MouseLeft2 = 0x05;  // double click
inline constexpr int MouseRight2 = 0x06;
inline constexpr int Tab = 0x09;
inline constexpr int Enter = 0x0D;
inline constexpr int Esc = 0x1B;
inline constexpr int Space = 0x20;
inline constexpr int PgUp = 0x21;
inline constexpr int PgDn = 0x22;
inline constexpr int End = 0x23;
inline constexpr int Home = 0x24;
inline constexpr int Left = 0x25;
inline constexpr int Up = 0x26;
inline constexpr int Right = 0x27;
inline constexpr int Down = 0x28;
inline constexpr int Insert = 0x2D;
inline constexpr int Delete = 0x2E;
inline constexpr int F1 = 0x70;
// Modifier bits added to a key code.
inline constexpr int Shift = 0x100;
inline constexpr int Ctrl = 0x200;
inline constexpr int Alt = 0x400;
}  // namespace KEY

// Why a spin box or entry refused what was typed (REJECTCODE()).
enum class RejectReason { None = 0, AboveRange = 1, BelowRange = 2, Invalid = 3 };

// Properties of the window (field 0) or of a control. Text and Icon carry the engine's fixed
// numbers; the others are numbered by the engine. Positions and sizes are dialog units.
enum class Prop : int {
    Text = 0x7C00,  // caption or control text
    Icon = 0x7C68,  // window icon, by picture name; a control's picture
    X = 0x7D00,
    Y,
    Width,
    Height,
    Timer,     // window timer period, hundredths of a second; 0 stops it
    Hide,      // 1 hidden
    Disable,   // 1 disabled
    RangeLow,  // spin box and progress bar
    RangeHigh,
    Step,
    Tip,      // tool-tip text
    Cursor,   // mouse cursor, by the system's cursor numbers (32512 arrow, 32515 cross...)
    HScroll,  // 1 shows a horizontal scroll bar
    VScroll,
    MinWidth,  // window minimum width
    MinHeight,
    ImageWidth,  // natural size of an image control's picture (read only)
    ImageHeight,
    PictureWidth,  // size an image control draws its picture at; 0 fits it to the control
    PictureHeight,
    StatusText,    // status-bar zone text; index = zone from 1
    Fill,          // box fill colour 0xRRGGBB, -1 none
    Color,         // box border colour, text colour of strings
    Progress,      // progress bar value
    Choice,        // selected row, tab position or option number; setting selects
    Items,         // number of rows, tabs or options (read only)
    Checked,       // menu item check mark
    Value,         // a control's contents as its use variable would hold it
    HeaderColumn,  // a list's column whose heading was pressed last, from 1 (read only)
};

// A property value: texts and numbers convert into each other as the program expects.
class PropValue {
  public:
    PropValue() = default;
    PropValue(std::string_view text);  // NOLINT: properties take texts and numbers alike
    PropValue(const char* text) : PropValue(std::string_view(text)) {}         // NOLINT
    PropValue(const std::string& text) : PropValue(std::string_view(text)) {}  // NOLINT
    PropValue(double number);                                                  // NOLINT
    PropValue(int number) : PropValue(static_cast<double>(number)) {}          // NOLINT
    PropValue(long number) : PropValue(static_cast<double>(number)) {}         // NOLINT

    const std::string& text() const { return text_; }
    double number() const { return number_; }
    long integer() const { return static_cast<long>(number_); }
    bool isText() const { return isText_; }

  private:
    std::string text_;
    double number_ = 0;
    bool isText_ = false;
};

class Window {
  public:
    // Builds the window from `layout` (closed) with its use variables in the layout's order.
    Window(const WindowLayout& layout, std::initializer_list<UseVariable> uses = {});
    Window(const WindowLayout& layout, std::vector<UseVariable> uses);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    std::string name() const;  // "GETFINDSTRING$FIND"
    bool isOpen() const;
    const WindowLayout& layout() const;

    // The top-level widget, and the widget showing a control (nullptr for menu items and
    // unknown fields); for the scripted driver and tests.
    QWidget* widget() const;
    QWidget* controlWidget(int field) const;
    bool hasControl(int field) const;
    // Field numbers of the window's controls, in creation order.
    std::vector<int> fields() const;

    WindowImpl& impl() { return *impl_; }
    const WindowImpl& impl() const { return *impl_; }

  private:
    std::unique_ptr<WindowImpl> impl_;
};

// The current window; nullptr when no window is open.
Window* currentWindow();

// Shows the window, which then receives EVENT:OpenWindow. 535 when it is already open.
void OPEN(Window& window);
// Closes the window if it is open, letting pending repaint work finish first.
void CLOSE(Window& window);

// Waits until the window has an event and makes it current; false once the window has been
// closed or its EVENT:CloseWindow has been handled. 537 when the window was never opened.
bool ACCEPT(Window& window);
// The same for the current window; 537 when there is none.
bool ACCEPT();

// In the handler of EVENT:CloseWindow: the close is refused, the window stays open and its
// loop goes on.
void refuseClose();

// Queries valid inside the loop body.
EventCode EVENT();
int FIELD();
int ACCEPTED();
int CHOICE(int field = 0);
int KEYCODE();
void SETKEYCODE(int key);
RejectReason REJECTCODE();

// Actions on the current window. A range first..last with last 0 is first alone; a reversed
// range is swapped; field numbers the window does not have are skipped.
void POST(EventCode event, int field = 0);
void POST(Window& window, EventCode event, int field = 0);
void DISPLAY(int first = 0, int last = 0);  // all controls when first is 0
void SELECT(int field, int start = 0, int end = 0);
void DISABLE(int first, int last = 0);
void ENABLE(int first, int last = 0);
void HIDE(int first, int last = 0);
void UNHIDE(int first, int last = 0);

// Creates a control at run time (hidden until UNHIDE) and destroys controls.
void CREATE(int field, ControlKind kind, int parent = 0);
void DESTROY(int first, int last = 0);

// Keys (KEY:: codes) that raise EVENT:AlertKey for a control, or for the window (field 0)
// from whichever of its controls has the focus.
void ALERT(int field, int key);
void ALERT_OFF(int field, int key = KEY::None);  // KEY::None removes every key

// Binds a list or combination box to `queue`, showing its field `queueField` in the first
// column (further columns of the list's format show the following fields).
void bindList(int field, Queue& queue, int queueField);
void bindList(Window& window, int field, Queue& queue, int queueField);

// Which rows of its queue a list shows, in which order: queue rows, from 1.
using ListArrangement = std::function<std::vector<std::uint32_t>(Queue& queue)>;
// The text of column `column` (from 0) of queue row `row` (from 1), Windows-1252.
using ListCells = std::function<std::string(Queue& queue, std::uint32_t row, int column)>;
// The list shows the rows `arrangement` picks, asked again after every change of its queue;
// an empty arrangement shows every row in queue order. CHOICE and Prop::Choice go on counting
// queue rows; a chosen row that is not shown reads as 0 and selects nothing.
void arrangeList(int field, ListArrangement arrangement);
// The list shows the columns of `format` (as a layout's list format, headers included) with
// their texts from `cells`; an empty format returns to the layout's own columns.
void supplyListColumns(int field, std::string_view format, ListCells cells);
// Marks the heading of column `column` (from 1; 0: none) with an ascending or descending arrow.
void markListOrder(int field, int column, bool descending);

// A pop-up menu at the pointer from "Item|-|+Checked|-Unchecked": '|' separates items, a
// lone '-' is a separator, a leading '+' checks an item and a leading '-' leaves it unchecked.
// Returns the number of the item chosen (separators not counted), 0 when none.
int POPUP(std::string_view text);

// What an entry could not keep of the text last typed into it: the characters its variable's
// character set has no place for (stored as '?'), and the length it was cut to. Reset when the
// control shows its variable again.
struct TypingLoss {
    std::string replaced;         // each character once, UTF-8, in the order typed
    std::size_t typedLength = 0;  // characters typed, when more than were kept
    std::size_t keptLength = 0;
    bool any() const { return !replaced.empty() || typedLength > keptLength; }
};
TypingLoss typingLoss(int field);

// Property access on the current window: PROP(field, Prop::Text) = "x";
// std::string text = PROP(0, Prop::Text); long width = PROP(SHEET, Prop::Width);
class PropertyRef {
  public:
    PropertyRef(Window* window, int field, Prop prop, int index)
        : window_(window), field_(field), prop_(prop), index_(index) {}
    PropertyRef& operator=(const PropValue& value);
    PropValue get() const;
    operator std::string() const { return get().text(); }               // NOLINT
    operator long() const { return get().integer(); }                   // NOLINT
    operator int() const { return static_cast<int>(get().integer()); }  // NOLINT
    operator double() const { return get().number(); }                  // NOLINT
    std::string text() const { return get().text(); }
    long number() const { return get().integer(); }

  private:
    Window* window_;
    int field_;
    Prop prop_;
    int index_;
};

PropertyRef PROP(int field, Prop prop, int index = 0);
PropertyRef PROP(Window& window, int field, Prop prop, int index = 0);

// Raises the window's timer event now, as if its period had run out (window timers run only when
// fired by hand while the window engine's options say so: runtime/window/window_options.h).
void fireTimer(Window& window);

}  // namespace quillery
