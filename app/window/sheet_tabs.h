// Moving about the main window: the tab sheet, the list-by-title mode, the list's selection and
// the letter buttons.
#pragma once

#include <string>

namespace quillery {

void chooseTab();          // ?SHEET, EVENT:NewSelection
void toggleListByTitle();  // ?LISTBYTITLE accepted
void chooseEntry();        // ?BOOKLIST, EVENT:NewSelection
void chooseLetter();       // ?LETTER accepted

// The selected tab lists nothing any more: a category tab loses its category, a find tab goes;
// the sheet returns to "ALL" at its first row.
void leaveEmptyTab();
// Selects "ALL" and shows ALLQUEUE from its first row (nothing is displayed yet).
void returnToAllTab();

// Selects the tab `tab` as a click would show it, without the event a click raises. The
// sheet's use variable follows, so that the next display keeps the tab.
void selectTab(int tab);

// The text of the tab with control number `tab`.
std::string tabText(int tab);

}  // namespace quillery
