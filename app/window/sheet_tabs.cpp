// The tab sheet and the list: which queue is shown and which entry is selected.
#include "app/window/sheet_tabs.h"

#include <vector>

#include "app/catalogue_globals.h"
#include "app/window/categories.h"
#include "app/window/editing_cycle.h"
#include "app/window/empty_tabs.h"
#include "app/window/entry_lists.h"
#include "app/window/find_tab.h"
#include "app/window/list_shape.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "app/window/open_quillery.h"
#include "app/window/tab_selection.h"
#include "app/window/twin_controls.h"
#include "runtime/window/file_dialog.h"
#include "runtime/window/window.h"

namespace quillery {

namespace W = displayquillery;

namespace {

constexpr char kAllTabText[] = "ALL";

// The control number of the tab at `position` on the sheet (from 1).
int tabAt(int position) {
    return position + W::ALL - 1;
}

// The tab showing `text`; "ALL" when no category tab does.
int tabWithText(const std::string& text) {
    const int tabs = static_cast<int>(RECORDS(CATEGORYQUEUE));
    for (int k = 1; k <= tabs; ++k) {
        if (tabText(categoryTab(k)) == text) return categoryTab(k);
    }
    return W::ALL;
}

// Binds the list to what the tab `tab` with `text` lists: ALLQUEUE for "ALL", else the rows of
// its category.
void bindTab(int tab, const std::string& text) {
    CURRENTTAB = static_cast<std::int16_t>(tab);
    CURRENTTEXT = text;
    if (text == kAllTabText) {
        bindListToAllQueue();
    } else {
        bindListToTabQueue();
        BUILDTABQUEUE();
    }
}

// Shows the tab `tab` with `text` from its first row.
void showTab(int tab, const std::string& text) {
    bindTab(tab, text);
    if (RECORDS(*ACTQUEUE) == 0) {
        leaveEmptyTab();
        DISPLAYSELECTION();
        return;
    }
    selectListRow(firstShownRow());
    DISPLAYSELECTION();
    enableNewAndDuplicate(PENDINGADD == 0);
    DISPLAY(W::BOOKLIST);
}

// Selects the first row whose letter value is LETTER or more (the last row when none is) and
// shows that entry. In a column's order, where the letters do not run in order, the first row
// shown whose entry begins with the letter is chosen, and none when no entry does.
void jumpToLetter() {
    const std::vector<std::uint32_t> rows = shownQueueRows();
    if (rows.empty()) return;
    const bool ownOrder = listInOwnOrder();
    std::uint32_t target = ownOrder ? rows.back() : 0;
    for (const std::uint32_t row : rows) {
        GET(*ACTQUEUE, row);
        const std::int32_t letter = letterOf(ACT.SORTKEY->view());
        if (ownOrder ? letter >= LETTER : letter == LETTER) {
            target = row;
            break;
        }
    }
    if (target == 0) return;
    selectListRow(static_cast<int>(target));
    DISPLAYSELECTION();
}

}  // namespace

void chooseTab() {
    const int chosen = tabAt(CHOICE(W::SHEET));
    const std::string text = tabText(chosen);
    if (PENDINGFIND != 0 && chosen != PENDINGFIND) removeFindTab();
    if (text == CURRENTTEXT.str()) {
        CURRENTTAB = static_cast<std::int16_t>(chosen);
        return;
    }
    // What the previous tab was editing is settled first; a save can add a category tab
    // before the chosen one, so the chosen tab is found again by its text.
    if (!settlePendingWork()) {
        selectTab(CURRENTTAB);
        return;
    }
    const int tab = text == kAllTabText ? W::ALL : tabWithText(text);
    selectTab(tab);
    showTab(tab, text);
}

void toggleListByTitle() {
    // The entry being edited is settled in the mode it was listed in.
    const std::uint8_t chosenMode = LISTBYTITLE;
    LISTBYTITLE = chosenMode ? 0 : 1;
    const bool settled = settlePendingWork();
    LISTBYTITLE = chosenMode;
    if (!settled) {
        LISTBYTITLE = chosenMode ? 0 : 1;
        DISPLAY(W::LISTBYTITLE);
        return;
    }
    if (PENDINGFIND != 0) {
        removeFindTab();
        returnToAllTab();
    }
    readCatalogueEntries(false);
    const int tab = tabAt(CHOICE(W::SHEET));
    bindTab(tab, tabText(tab));
    selectListRow(firstShownRow());
    displaySelectedEntry();
    enableNewAndDuplicate(true);
    ENABLE(W::LISTBYTITLE);
    DISPLAY(W::BOOKLIST);
    BEEP();
}

void chooseEntry() {
    if (!readSelectedRow()) return;
    NEWSORTKEY = *ACT.SORTKEY;
    if (!settlePendingWork()) {
        NEWSORTKEY.clear();
        return;
    }
    DISPLAYSELECTION();
    NEWSORTKEY.clear();
}

void chooseLetter() {
    if (!settlePendingWork()) return;
    jumpToLetter();
}

}  // namespace quillery
