// The lists the main window shows: ALLQUEUE with one row per current entry, TABQUEUE with the
// rows of one category tab or the results of a find, and the active queue the list box shows.
#pragma once

#include <cstdint>
#include <string_view>

namespace quillery {

// The list shows ALLQUEUE, by title key in list-by-title mode, else by name key.
void bindListToAllQueue();
// The list shows TABQUEUE by the key ALLQUEUE is shown by: the rows of a category tab.
void bindListToTabQueue();
// The list shows TABQUEUE by TAB:SORTKEY: the results of a find.
void bindListToFindResults();

// Adds a row for the entry in the record buffer, the file's current record, to ALLQUEUE in the
// order the list is shown in. Requires: the buffer holds a current entry just read or written.
void INSERTQUEUE();
// Removes every row of the record at `position` from ALLQUEUE.
void removeEntryRows(std::int32_t position);
// Removes every row of the record at `position` from ALLQUEUE, then brings the tab's rows up
// to date when a category tab or the find tab is shown.
void DELETEQUEUE(std::int32_t position);
// Fills TABQUEUE, in ALLQUEUE order, with the rows whose category is CURRENTTEXT. When none
// is, selects the "ALL" tab and posts EVENT:NewSelection to the sheet.
void BUILDTABQUEUE();
// Selects the first row of the active queue whose sort key is CURRENTSORTKEY (NEWSORTKEY first
// when one is pending); the selection stays as it is when no row has it.
void SELECTCURRENTENTRY();

// The name key a row is listed by in author order: the entry's name key, or its title key when
// it has no names, so that such an entry sorts by its title as the find tab lists it.
std::string_view listedNameKey();

// The letter value of a sort key: its first character upper-cased, 1 for A to 26 for Z.
std::int32_t letterOf(std::string_view sortKey);

// The row the list has selected, read into the active queue's buffer; false when none is.
bool readSelectedRow();
// Selects row `row` of the list (from 1) without raising an event.
void selectListRow(int row);
int selectedListRow();

}  // namespace quillery
