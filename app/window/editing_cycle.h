// The editing cycle of the main window: an entry is loaded into the record buffer when its row
// is selected, and new, duplicated, deleted and saved entries reach the catalogue. A saved edit
// never overwrites the record it came from: the old version is rewritten marked deleted and the
// edited version added, so that every change can be undone until the catalogue is reopened.
#pragma once

#include <cstdint>

namespace quillery {

// Shows the entry of the row the list has selected.
void DISPLAYSELECTION();
// The same without marking the matches of a find.
void displaySelectedEntry();

// An entry field was selected for editing (EVENT:Selected).
void editField();

void newEntry();        // "&New", "New", Insert in the list
void duplicateEntry();  // "Du&plicate", "Copy"
void saveEntry();       // "&Save", "Save"
void deleteEntry();     // "&Delete", "Delete", Delete in the list

// Adds the record buffer as a pending new entry, marked deleted until it is kept, and shows it
// as a blank row at the end of the list. False when the catalogue refused it.
bool ADDRECORD();
// Writes the edited entry in the buffer: the loaded version rewritten marked deleted, the
// edited version added. False when nothing was written; the edits are then still in the buffer.
bool SAVERECORD();
// Removes the pending new entry from the catalogue and the lists.
void DELETEPENDINGADD();

// Adds the record buffer as a finished, current entry in one step, as quick add does: filed in
// the category of the tab shown (none on "ALL" and the find tab), keys built, stamped now,
// listed and shown, with one undo row that takes it away again. Requires no pending work.
// False when the catalogue refused it; the error was shown and nothing was written.
bool addFinishedEntry();

// Before another entry is shown: keeps a pending new entry when it has a last name or a title
// (discards it otherwise) and saves a changed entry. False when a save failed and the edits
// are still in the buffer.
bool settlePendingWork();

// The entry panel and the commands that need a shown entry follow whether one is shown.
void enableEntryPanel(bool enabled);

}  // namespace quillery
