// The table of event names.
#include "runtime/window/events.h"

#include <array>
#include <utility>

namespace quillery {
namespace {

struct EventEntry {
    EventCode event;
    std::string_view name;
};

constexpr std::array kEventNames = {
    EventEntry{EVENT::Accepted, "EVENT:Accepted"},
    EventEntry{EVENT::NewSelection, "EVENT:NewSelection"},
    EventEntry{EVENT::ScrollUp, "EVENT:ScrollUp"},
    EventEntry{EVENT::ScrollDown, "EVENT:ScrollDown"},
    EventEntry{EVENT::PageUp, "EVENT:PageUp"},
    EventEntry{EVENT::PageDown, "EVENT:PageDown"},
    EventEntry{EVENT::ScrollTop, "EVENT:ScrollTop"},
    EventEntry{EVENT::ScrollBottom, "EVENT:ScrollBottom"},
    EventEntry{EVENT::Locate, "EVENT:Locate"},
    EventEntry{EVENT::MouseUp, "EVENT:MouseUp"},
    EventEntry{EVENT::MouseIn, "EVENT:MouseIn"},
    EventEntry{EVENT::MouseOut, "EVENT:MouseOut"},
    EventEntry{EVENT::MouseMove, "EVENT:MouseMove"},
    EventEntry{EVENT::VBXevent, "EVENT:VBXevent"},
    EventEntry{EVENT::AlertKey, "EVENT:AlertKey"},
    EventEntry{EVENT::PreAlert, "EVENT:PreAlert"},
    EventEntry{EVENT::Dragging, "EVENT:Dragging"},
    EventEntry{EVENT::Drag, "EVENT:Drag"},
    EventEntry{EVENT::Drop, "EVENT:Drop"},
    EventEntry{EVENT::ScrollDrag, "EVENT:ScrollDrag"},
    EventEntry{EVENT::TabChanging, "EVENT:TabChanging"},
    EventEntry{EVENT::Expanding, "EVENT:Expanding"},
    EventEntry{EVENT::Contracting, "EVENT:Contracting"},
    EventEntry{EVENT::Expanded, "EVENT:Expanded"},
    EventEntry{EVENT::Contracted, "EVENT:Contracted"},
    EventEntry{EVENT::Rejected, "EVENT:Rejected"},
    EventEntry{EVENT::DroppingDown, "EVENT:DroppingDown"},
    EventEntry{EVENT::DroppedDown, "EVENT:DroppedDown"},
    EventEntry{EVENT::HeaderPressed, "EVENT:HeaderPressed"},
    EventEntry{EVENT::Selected, "EVENT:Selected"},
    EventEntry{EVENT::CloseWindow, "EVENT:CloseWindow"},
    EventEntry{EVENT::CloseDown, "EVENT:CloseDown"},
    EventEntry{EVENT::OpenWindow, "EVENT:OpenWindow"},
    EventEntry{EVENT::OpenFailed, "EVENT:OpenFailed"},
    EventEntry{EVENT::LoseFocus, "EVENT:LoseFocus"},
    EventEntry{EVENT::GainFocus, "EVENT:GainFocus"},
    EventEntry{EVENT::Suspend, "EVENT:Suspend"},
    EventEntry{EVENT::Resume, "EVENT:Resume"},
    EventEntry{EVENT::Notify, "EVENT:Notify"},
    EventEntry{EVENT::Timer, "EVENT:Timer"},
    EventEntry{EVENT::DDErequest, "EVENT:DDErequest"},
    EventEntry{EVENT::DDEadvise, "EVENT:DDEadvise"},
    EventEntry{EVENT::DDEdata, "EVENT:DDEdata"},
    EventEntry{EVENT::DDEexecute, "EVENT:DDEexecute"},
    EventEntry{EVENT::DDEpoke, "EVENT:DDEpoke"},
    EventEntry{EVENT::DDEclosed, "EVENT:DDEclosed"},
    EventEntry{EVENT::Move, "EVENT:Move"},
    EventEntry{EVENT::Size, "EVENT:Size"},
    EventEntry{EVENT::Restore, "EVENT:Restore"},
    EventEntry{EVENT::Maximize, "EVENT:Maximize"},
    EventEntry{EVENT::Iconize, "EVENT:Iconize"},
    EventEntry{EVENT::Completed, "EVENT:Completed"},
    EventEntry{EVENT::Moved, "EVENT:Moved"},
    EventEntry{EVENT::Sized, "EVENT:Sized"},
    EventEntry{EVENT::Restored, "EVENT:Restored"},
    EventEntry{EVENT::Maximized, "EVENT:Maximized"},
    EventEntry{EVENT::Iconized, "EVENT:Iconized"},
};

}  // namespace

std::string_view eventName(EventCode event) {
    for (const auto& entry : kEventNames) {
        if (entry.event == event) return entry.name;
    }
    return {};
}

EventCode eventOfMessage(int message) {
    const auto event = static_cast<EventCode>(message - kEventMessageBase);
    return eventName(event).empty() ? EVENT::None : event;
}

}  // namespace quillery
