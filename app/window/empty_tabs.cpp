#include "app/window/empty_tabs.h"

#include "app/window/categories.h"
#include "app/window/entry_lists.h"
#include "app/window/find_tab.h"
#include "app/window/list_shape.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "app/window/tab_selection.h"

namespace quillery {

namespace W = displayquillery;

void returnToAllTab() {
    selectTab(W::ALL);
    CURRENTTAB = W::ALL;
    CURRENTTEXT = "ALL";
    bindListToAllQueue();
    selectListRow(firstShownRow());
}

void leaveEmptyTab() {
    if (PENDINGFIND != 0) {
        removeFindTab();
    } else {
        DELETECATEGORY();
    }
    returnToAllTab();
}

}  // namespace quillery
