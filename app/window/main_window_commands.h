// What each event of the main window asks for: the accept loop maps an event and its control
// to one command and runs that command's handler, so menu items and their tool-button twins
// share one handler by construction.
#pragma once

#include <string_view>

#include "runtime/window/events.h"

namespace quillery {

enum class MainCommand {
    None,
    OpenExample,     // "Open Awards File (Example)"
    NewFile,         // "&New Quillery File..."
    OpenFile,        // "&Open Quillery File ..."
    SaveFileAs,      // "&Save Quillery File As ..."
    ImportBooks,     // "&Import..."
    ExportBooks,     // "&Export..."
    Exit,            // "E&xit"
    NewEntry,        // "&New" and "New"
    DuplicateEntry,  // "Du&plicate" and "Copy"
    DeleteEntry,     // "&Delete" and "Delete"
    SaveEntry,       // "&Save" and "Save"
    Undo,            // "&Undo" and "Undo"
    Find,            // "&Find" and "Find"
    LookUp,          // "&Look Up by ISBN..." and "Look Up"
    ChooseCover,     // "Co&ver..."
    Report,          // any item of the "&Reports" menu
    About,           // "&About Quillery ..."
    Comment,         // the "Comments" button
    ListByTitle,     // the "&List by Title" check box
    ChooseTab,       // a new tab chosen on the sheet
    JumpToLetter,    // a letter button
    ChooseEntry,     // a new row chosen in the list
    ListKey,         // an alerted key pressed in the list
    EditField,       // an entry field selected for editing, or its contents changed
    ListHeading,     // a column heading of the list pressed
    FilterList,      // the search box's text changed
    ListToolKey,     // Ctrl+F, or Escape in the search box
};

// The command the event `event` on control `field` of the main window asks for.
MainCommand commandOf(EventCode event, int field);

// The command's name, for test messages.
std::string_view commandName(MainCommand command);

}  // namespace quillery
