// Loading, adding, saving and deleting entries.
#include "app/window/editing_cycle.h"

#include "app/build_keys.h"
#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "app/window/catalogue_transaction.h"
#include "app/window/categories.h"
#include "app/window/cover_view.h"
#include "app/window/empty_tabs.h"
#include "app/window/entry_lists.h"
#include "app/window/find_tab.h"
#include "app/window/isbn_questions.h"
#include "app/window/list_shape.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "app/window/twin_controls.h"
#include "app/window/typing_losses.h"
#include "runtime/dates.h"
#include "runtime/errors.h"
#include "runtime/window/window.h"
#include "storage/file_statements.h"
#include "support/check_error.h"

namespace quillery {

namespace W = displayquillery;

namespace {

namespace UndoAction {
constexpr std::uint8_t New = 1;
constexpr std::uint8_t Added = 2;
constexpr std::uint8_t Save = 3;
constexpr std::uint8_t Delete = 4;
}  // namespace UndoAction

QuilleryStamp now() {
    return {TODAY(), CLOCK()};
}

bool onCategoryTab() {
    return !(CURRENTTEXT == "ALL") && PENDINGFIND == 0;
}

// A new entry is worth keeping once it has a last name or a title.
bool worthKeeping() {
    return !QLY.LASTNAME.isBlank() || !QLY.TITLE.isBlank();
}

// The panel when the list has no entry to show: blank and closed to editing.
void showNoEntry() {
    CLEAR(QUILLERY);
    copyRecordToImage(QLY, CURRENTRECORD);
    CURRENTPOINTER = 0;
    CURRENTSORTKEY.clear();
    CURRENTKEYTYPE = 0;
    RECORDCHANGED = 0;
    LETTER = 0;
    enableSave(false);
    DISPLAY();
    showCover();
    enableEntryPanel(false);
}

// Shows the row the list has selected; `markMatches` marks a find's matches in the fields.
void showSelection(bool markMatches) {
    if (RECORDS(ALLQUEUE) == 0) {
        showNoEntry();
        return;
    }
    // A category tab whose entries have all gone, or a find whose matches have, goes away.
    if (RECORDS(*ACTQUEUE) == 0 && !(CURRENTTEXT == "ALL")) leaveEmptyTab();
    if (selectedListRow() == 0) selectListRow(firstShownRow());
    if (!readSelectedRow()) {
        showNoEntry();
        return;
    }
    CURRENTPOINTER = *ACT.POINTER;
    LETTER = letterOf(ACT.SORTKEY->view());
    GET(QUILLERY, CURRENTPOINTER);
    CHECKERROR("Can't Select Quillery");
    DISPLAY();
    showCover();
    copyRecordToImage(QLY, CURRENTRECORD);
    CURRENTSORTKEY = *ACT.SORTKEY;
    CURRENTKEYTYPE = *ACT.KEYTYPE;
    RECORDCHANGED = 0;
    enableSave(false);
    enableEntryPanel(true);
    if (markMatches && PENDINGFIND != 0) markFindMatches();
}

// After an entry left the list: the row that took its place, or the last row.
void showAfterRemoval() {
    if (selectedListRow() == 0) selectListRow(lastShownRow());
    DISPLAYSELECTION();
    SELECT(W::BOOKLIST);
}

void pushUndo(std::uint8_t action, std::int32_t pointer, std::int32_t oldPointer) {
    UNDO = UndoRow{};
    UNDO.ACTION = action;
    UNDO.SORTKEY = CURRENTSORTKEY;
    UNDO.KEYTYPE = CURRENTKEYTYPE;
    UNDO.POINTER = pointer;
    UNDO.OLDPOINTER = oldPointer;
    ADD(UNDOQUEUE);
    enableUndo(PENDINGFIND == 0);
}

// A save that did not reach the file: its rows go back into the lists and the edits back into
// the buffer, still unsaved.
void abandonSave(const QuilleryRecord& edited) {
    rollbackCatalogueTransaction();
    GET(QUILLERY, CURRENTPOINTER);
    if (errorCode() == ErrorCode::kNone) {
        INSERTQUEUE();
        if (onCategoryTab()) BUILDTABQUEUE();
        // The entry being edited is selected again, not the row chosen to move on to.
        const FixedString<50> chosenKey = NEWSORTKEY;
        NEWSORTKEY.clear();
        SELECTCURRENTENTRY();
        NEWSORTKEY = chosenKey;
    }
    QLY = edited;
}

// Adds the buffer as a pending entry; on success the undo row of a new entry is pushed with
// the selection from before. A refused add leaves the buffer as `shown`, the entry on screen,
// so that a later save writes that entry and not the blank or stamped one that was refused.
void addPendingEntry(const QuilleryRecord& shown, std::int32_t previousPointer,
                     const FixedString<50>& previousKey, std::uint8_t previousKeyType) {
    if (!ADDRECORD()) {
        QLY = shown;
        return;
    }
    const FixedString<50> shownKey = CURRENTSORTKEY;
    const std::uint8_t shownKeyType = CURRENTKEYTYPE;
    CURRENTSORTKEY = previousKey;
    CURRENTKEYTYPE = previousKeyType;
    pushUndo(UndoAction::New, PENDINGADD, previousPointer);
    CURRENTSORTKEY = shownKey;
    CURRENTKEYTYPE = shownKeyType;
}

}  // namespace

void enableEntryPanel(bool enabled) {
    auto set = enabled ? ENABLE : DISABLE;
    set(W::BEGIN, W::QLY_PRINTDATE);
    set(W::COMMENT, 0);
    set(W::BOOKDELETE, 0);
    set(W::DELETE, 0);
}

void DISPLAYSELECTION() {
    showSelection(true);
}

void displaySelectedEntry() {
    showSelection(false);
}

void editField() {
    if (CURRENTPOINTER == 0) return;
    if (PENDINGFIND != 0) {
        enableSave(false);  // matches are shown, not edited
        return;
    }
    enableSave(true);
    RECORDCHANGED = 1;
}

bool ADDRECORD() {
    QLY.DELETED = 1;
    QLY.setCREATED(now());
    QLY.setCHANGED(QLY.CREATED());
    ADD(QUILLERY);
    if (errorCode() != ErrorCode::kNone) {
        CHECKERROR("Can't Add New Book");
        return false;
    }
    PENDINGADD = static_cast<std::int32_t>(POSITION(QUILLERY));
    enableNewAndDuplicate(false);
    if (ACTQUEUE == &ALLQUEUE) {
        ALL = AllRow{};
    } else {
        TAB = TabRow{};
    }
    *ACT.POINTER = PENDINGADD;
    ADD(*ACTQUEUE);
    selectListRow(lastShownRow());
    DISPLAYSELECTION();
    SELECT(W::QLY_LASTNAME);
    editField();  // the focus may have been there already, which raises no event
    return true;
}

void newEntry() {
    if (!settlePendingWork()) return;
    const std::int32_t previousPointer = CURRENTPOINTER;
    const FixedString<50> previousKey = CURRENTSORTKEY;
    const std::uint8_t previousKeyType = CURRENTKEYTYPE;
    const QuilleryRecord shown = QLY;
    CLEAR(QUILLERY);
    if (onCategoryTab()) QLY.CATEGORY = CURRENTTEXT.view();
    addPendingEntry(shown, previousPointer, previousKey, previousKeyType);
}

void duplicateEntry() {
    // The copy starts from the buffer as shown, edits and all; the original keeps its own.
    const QuilleryRecord shown = QLY;
    addPendingEntry(shown, CURRENTPOINTER, CURRENTSORTKEY, CURRENTKEYTYPE);
}

bool SAVERECORD() {
    const QuilleryRecord edited = QLY;
    if (!beginCatalogueTransaction("Can't Save Book")) return false;
    removeEntryRows(CURRENTPOINTER);
    GET(QUILLERY, CURRENTPOINTER);
    if (errorCode() == ErrorCode::kNone) {
        copyImageToRecord(CURRENTRECORD, QLY);
        QLY.DELETED = 1;
        PUT(QUILLERY);
    }
    if (errorCode() != ErrorCode::kNone) {
        CHECKERROR("Can't Put Saved Record");
        abandonSave(edited);
        return false;
    }
    const auto previousVersion = static_cast<std::int32_t>(POSITION(QUILLERY));

    CHG = edited;
    QLY = CHG;
    BUILDKEYS();
    QLY.DELETED = 0;
    QLY.setCHANGED(now());
    ADD(QUILLERY);
    if (errorCode() != ErrorCode::kNone) {
        CHECKERROR("Can't Add Saved Record");
        abandonSave(edited);
        return false;
    }
    const auto savedVersion = static_cast<std::int32_t>(POSITION(QUILLERY));
    if (!commitCatalogueTransaction("Can't Save Book")) {
        abandonSave(edited);
        return false;
    }

    GET(QUILLERY, savedVersion);  // the list's row takes its position from the file
    INSERTQUEUE();
    INSERTCATEGORY();
    const FixedString<50> savedKey(LISTBYTITLE ? QLY.TITLEKEY.view() : listedNameKey());
    pushUndo(UndoAction::Save, savedVersion, previousVersion);
    CURRENTPOINTER = savedVersion;
    CURRENTSORTKEY = savedKey;
    PENDINGADD = 0;
    if (onCategoryTab()) BUILDTABQUEUE();
    enableNewAndDuplicate(true);
    SELECTCURRENTENTRY();
    return true;
}

bool addFinishedEntry() {
    if (onCategoryTab()) QLY.CATEGORY = CURRENTTEXT.view();
    BUILDKEYS();
    QLY.DELETED = 0;
    QLY.setCREATED(now());
    QLY.setCHANGED(QLY.CREATED());
    if (!beginCatalogueTransaction("Can't Add New Book")) return false;
    ADD(QUILLERY);
    if (errorCode() != ErrorCode::kNone) {
        CHECKERROR("Can't Add New Book");
        rollbackCatalogueTransaction();
        return false;
    }
    const auto added = static_cast<std::int32_t>(POSITION(QUILLERY));
    if (!commitCatalogueTransaction("Can't Add New Book")) return false;

    GET(QUILLERY, added);  // the list's row takes its position from the file
    INSERTQUEUE();
    INSERTCATEGORY();
    pushUndo(UndoAction::Added, added, CURRENTPOINTER);  // undo returns to the entry shown before
    CURRENTPOINTER = added;
    CURRENTSORTKEY = LISTBYTITLE ? QLY.TITLEKEY.view() : listedNameKey();
    if (onCategoryTab()) BUILDTABQUEUE();
    SELECTCURRENTENTRY();
    displaySelectedEntry();
    return true;
}

void DELETEPENDINGADD() {
    if (PENDINGADD == 0) return;
    if (!beginCatalogueTransaction("Can't Delete New Book")) return;
    GET(QUILLERY, PENDINGADD);
    if (errorCode() == ErrorCode::kNone) DELETE(QUILLERY);
    if (errorCode() != ErrorCode::kNone) {
        CHECKERROR("Can't Delete New Book");
        rollbackCatalogueTransaction();
        return;
    }
    if (!commitCatalogueTransaction("Can't Delete New Book")) return;
    DELETEQUEUE(PENDINGADD);
    PENDINGADD = 0;
    RECORDCHANGED = 0;  // nothing is left to save
    enableNewAndDuplicate(true);
}

bool settlePendingWork() {
    bool keep = false;
    if (PENDINGADD != 0) {
        if (worthKeeping()) {
            keep = true;
        } else {
            DELETEPENDINGADD();
        }
    }
    if (!keep && RECORDCHANGED == 0) return true;
    if (!isbnAccepted() || !typingLossesAccepted()) return false;
    const std::int32_t pending = PENDINGADD;
    PENDINGADD = 0;
    if (!SAVERECORD()) {
        PENDINGADD = pending;
        return false;
    }
    // The panel now holds the version just saved, which is what a later save supersedes and its
    // undo brings back; nothing is pending any more.
    copyRecordToImage(QLY, CURRENTRECORD);
    RECORDCHANGED = 0;
    enableSave(false);
    return true;
}

void saveEntry() {
    if (PENDINGADD != 0 && !worthKeeping()) {
        DELETEPENDINGADD();
        showAfterRemoval();
        return;
    }
    if (!isbnAccepted() || !typingLossesAccepted()) return;
    const std::int32_t pending = PENDINGADD;
    PENDINGADD = 0;
    if (!SAVERECORD()) {
        PENDINGADD = pending;
        return;
    }
    RECORDCHANGED = 0;
    DISPLAYSELECTION();
    SELECT(W::BOOKLIST);
}

void deleteEntry() {
    if (PENDINGADD != 0) {
        DELETEPENDINGADD();
        showAfterRemoval();
        return;
    }
    if (CURRENTPOINTER == 0) return;
    GET(QUILLERY, CURRENTPOINTER);
    if (errorCode() == ErrorCode::kNone) {
        QLY.DELETED = 1;
        PUT(QUILLERY);
    }
    if (errorCode() != ErrorCode::kNone) {
        CHECKERROR("Can't Delete Book");
        return;
    }
    pushUndo(UndoAction::Delete, CURRENTPOINTER, 0);
    DELETEQUEUE(CURRENTPOINTER);
    showAfterRemoval();
}

}  // namespace quillery
