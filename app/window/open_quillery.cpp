// Opening a catalogue in the main window: the caption, the list state and the category tabs
// are reset here; the catalogue's records are then read into the queues.
#include "app/window/open_quillery.h"

#include <string>

#include "app/catalogue_globals.h"
#include "app/window/display_quillery.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "runtime/window/window.h"

namespace quillery {

namespace W = displayquillery;

namespace {

void setCaption() {
    std::string caption(TITLESTRING.clipped());
    caption += " (";
    caption += QUILLERYFILE.clipped();
    caption += ")";
    PROP(0, Prop::Text) = caption;
}

// The list shows ALLQUEUE in name order.
void bindListToAllQueue() {
    LISTBYTITLE = 0;
    bindList(W::BOOKLIST, ALLQUEUE, AllField::NAMEKEY);
    DISPLAY(W::LISTBYTITLE);
}

// Removes the tabs of the previous catalogue's categories and forgets the categories.
void dropCategoryTabs() {
    const int categories = static_cast<int>(RECORDS(CATEGORYQUEUE));
    if (categories > 0) DESTROY(W::kFirstCategoryTab, W::ALL + categories);
    FREE(CATEGORYQUEUE);
}

// Reads the catalogue into ALLQUEUE and CATEGORYQUEUE and builds the category tabs. The
// catalogue is read here once the window is wired to the storage engine's file layer; until
// then the window opens with an empty list, and no file is touched.
void readCatalogue() {}

}  // namespace

void OPENQUILLERY() {
    setCaption();
    CURRENTTEXT = "ALL";
    enableNewAndDuplicate(true);
    bindListToAllQueue();
    dropCategoryTabs();
    readCatalogue();
}

}  // namespace quillery
