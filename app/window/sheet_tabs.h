// Moving about the main window: the tab sheet, the list-by-title mode, the list's selection and
// the letter buttons.
#pragma once

namespace quillery {

void chooseTab();          // ?SHEET, EVENT:NewSelection
void toggleListByTitle();  // ?LISTBYTITLE accepted
void chooseEntry();        // ?BOOKLIST, EVENT:NewSelection
void chooseLetter();       // ?LETTER accepted

}  // namespace quillery
