// The event codes the window engine delivers to accept loops, and their names for diagnostics.
#pragma once

#include <string_view>

namespace quillery {

// Event codes as EVENT() returns them. Codes below 0x100 and Selected concern one control;
// codes from 0x200 concern the window.
enum class EVENT : int {
    None = 0,
    Accepted = 0x01,
    NewSelection = 0x02,
    ScrollUp = 0x03,
    ScrollDown = 0x04,
    PageUp = 0x05,
    PageDown = 0x06,
    ScrollTop = 0x07,
    ScrollBottom = 0x08,
    Locate = 0x09,
    MouseUp = 0x0A,
    MouseIn = 0x0B,
    MouseOut = 0x0C,
    MouseMove = 0x0D,
    VBXevent = 0x0E,
    AlertKey = 0x0F,
    PreAlert = 0x10,
    Dragging = 0x11,
    Drag = 0x12,
    Drop = 0x13,
    ScrollDrag = 0x14,
    TabChanging = 0x15,
    Expanding = 0x16,
    Contracting = 0x17,
    Expanded = 0x18,
    Contracted = 0x19,
    Rejected = 0x1A,
    DroppingDown = 0x1B,
    DroppedDown = 0x1C,
    // This engine's own: a list's column heading clicked (KEYCODE() says with which button).
    HeaderPressed = 0xF0,
    Selected = 0x101,
    CloseWindow = 0x201,
    CloseDown = 0x202,
    OpenWindow = 0x203,
    OpenFailed = 0x204,
    LoseFocus = 0x205,
    GainFocus = 0x206,
    Suspend = 0x208,
    Resume = 0x209,
    Notify = 0x20A,
    Timer = 0x20B,
    DDErequest = 0x20C,
    DDEadvise = 0x20D,
    DDEdata = 0x20E,
    DDEexecute = 0x20F,
    DDEpoke = 0x210,
    DDEclosed = 0x211,
    Move = 0x220,
    Size = 0x221,
    Restore = 0x222,
    Maximize = 0x223,
    Iconize = 0x224,
    Completed = 0x225,
    Moved = 0x230,
    Sized = 0x231,
    Restored = 0x232,
    Maximized = 0x233,
    Iconized = 0x234,
};

// The function EVENT() hides the type's plain name; engine code spells the type this way.
using EventCode = EVENT;

// The engine's own message number of an event: its code plus this base.
inline constexpr int kEventMessageBase = 5120;

inline constexpr int eventMessage(EventCode event) {
    return static_cast<int>(event) + kEventMessageBase;
}

// The event of an engine message number; EVENT::None for a number outside the table.
EventCode eventOfMessage(int message);

// "EVENT:Accepted" and so on; empty for a code outside the table.
std::string_view eventName(EventCode event);

// True when the event concerns one control (FIELD() names it).
inline constexpr bool isFieldEvent(EventCode event) {
    const int code = static_cast<int>(event);
    return (code > 0 && code < 0x100) || event == EVENT::Selected;
}

}  // namespace quillery
