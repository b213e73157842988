// What the person does to the list as a whole: a column heading clicked (left: order by it,
// again: the other way; right: the menu of columns), the search box typed into, Ctrl+F to reach
// the search box and Escape to clear it. Whatever is being edited is settled first, as choosing
// a row does.
#pragma once

namespace quillery {

class Window;

// Before the window's first event: the keys the search box answers to, its hint.
void prepareListTools(Window& window);

// EVENT:HeaderPressed on the list.
void pressListHeading();
// The search box's text changed, or its typing was completed.
void filterListAsTyped();
// An alerted key outside the list: Ctrl+F goes to the search box, Escape there clears it.
void listToolKey();

// After every command and resize: the list in step with the window (list_shape.h).
void keepListShaped();

}  // namespace quillery
