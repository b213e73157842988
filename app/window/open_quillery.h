// OPENQUILLERY: (re)opens the catalogue named by QUILLERYFILE in the main window and rebuilds
// everything the window shows from it, purging the versions kept for undo on the way.
#pragma once

namespace quillery {

// Opens QUILLERYFILE, creating it with a blank header record when it does not exist, and lists
// its entries on the "ALL" tab in name order with one tab per category. A catalogue that cannot
// be opened is reported and left as it is; the window then shows no catalogue and the result
// is false. Requires: the main window is the current window.
bool OPENQUILLERY();

// The window without a catalogue: nothing listed, the commands that need one disabled, the
// caption naming none.
void showNoCatalogue();

// Whether a catalogue is open in the main window.
bool catalogueIsOpen();

// Reads the catalogue in file order into ALLQUEUE (and, when asked, its categories into
// CATEGORYQUEUE) inside one transaction, deleting superseded versions and entries without
// names or title.
void readCatalogueEntries(bool collectCategories);

}  // namespace quillery
