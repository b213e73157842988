// Undoing new, saved and deleted entries.
#include "app/window/undo.h"

#include <optional>
#include <string_view>

#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "app/window/catalogue_transaction.h"
#include "app/window/categories.h"
#include "app/window/editing_cycle.h"
#include "app/window/entry_lists.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "app/window/twin_controls.h"
#include "runtime/errors.h"
#include "runtime/window/file_dialog.h"
#include "runtime/window/window.h"
#include "storage/file_statements.h"
#include "support/check_error.h"

namespace quillery {

namespace W = displayquillery;

namespace {

bool onCategoryTab() {
    return !(CURRENTTEXT == "ALL") && PENDINGFIND == 0;
}

bool readable(std::int32_t position) {
    if (position <= 0) return false;
    GET(QUILLERY, position);
    return errorCode() == ErrorCode::kNone;
}

// A new entry's placeholder: the blank record a New added before anything was typed.
bool isBlankPlaceholder() {
    return QLY.LASTNAME.isBlank() && QLY.FIRSTNAME.isBlank() && QLY.TITLE.isBlank();
}

// The entry now in the buffer is current again: its row and its category come back.
void relist() {
    INSERTQUEUE();
    INSERTCATEGORY();
}

bool undoNew() {
    if (PENDINGADD != 0 && PENDINGADD == UNDO.POINTER) {
        DELETEPENDINGADD();
        return PENDINGADD == 0;
    }
    // The entry was kept: only the selection returns, if its entry is still there.
    return readable(UNDO.OLDPOINTER);
}

// Gives the record at UNDO.POINTER the deleted mark `deleted`: nothing when the record is gone,
// else whether the put succeeded (a failure is shown under `caption`).
std::optional<bool> markUndoRecord(std::uint8_t deleted, std::string_view caption) {
    if (!readable(UNDO.POINTER)) return std::nullopt;
    QLY.DELETED = deleted;
    PUT(QUILLERY);
    CHECKERROR(caption);
    return errorCode() == ErrorCode::kNone;
}

// An entry added whole (quick add) goes again: marked deleted, out of the lists.
bool undoAdded() {
    const std::optional<bool> marked = markUndoRecord(1, "Can't Put Undo Add Record");
    if (!marked) return false;
    if (*marked) DELETEQUEUE(UNDO.POINTER);
    return true;
}

bool undoSave() {
    // Both versions must still be there: the edited one is not given up for nothing.
    if (!readable(UNDO.OLDPOINTER)) return false;
    // Undoing the save of a new entry takes the entry away; its blank placeholder stays deleted.
    const bool relisted = !isBlankPlaceholder();
    if (!readable(UNDO.POINTER)) return false;
    if (!beginCatalogueTransaction("Can't Put Undo Save Record")) return true;
    GET(QUILLERY, UNDO.POINTER);
    QLY.DELETED = 1;
    PUT(QUILLERY);
    CHECKERROR("Can't Put Undo Save Record");
    if (relisted) {
        GET(QUILLERY, UNDO.OLDPOINTER);
        CHECKERROR("Can't Get Undo Old Record");
        QLY.DELETED = 0;
        PUT(QUILLERY);
    }
    if (!commitCatalogueTransaction("Can't Put Undo Save Record")) return true;
    removeEntryRows(UNDO.POINTER);
    if (relisted && readable(UNDO.OLDPOINTER)) {
        CURRENTPOINTER = UNDO.OLDPOINTER;
        relist();
    }
    if (onCategoryTab()) BUILDTABQUEUE();
    return true;
}

bool undoDelete() {
    const std::optional<bool> marked = markUndoRecord(0, "Can't Put Undo Delete Record");
    if (!marked) return false;
    if (!*marked) return true;
    relist();
    if (onCategoryTab()) BUILDTABQUEUE();
    return true;
}

// Reverts the operation of the row in UNDO; false when its records are gone.
bool revert() {
    switch (UNDO.ACTION) {
        case 1:
            return undoNew();
        case 2:
            return undoAdded();
        case 3:
            return undoSave();
        case 4:
            return undoDelete();
        default:
            return false;
    }
}

void dropLastRow() {
    GET(UNDOQUEUE, RECORDS(UNDOQUEUE));
    DELETE(UNDOQUEUE);
}

}  // namespace

void undoLastOperation() {
    bool reverted = false;
    while (!reverted && RECORDS(UNDOQUEUE) > 0) {
        GET(UNDOQUEUE, RECORDS(UNDOQUEUE));
        if (errorCode() != ErrorCode::kNone) break;
        reverted = revert();
        if (reverted) {
            CURRENTSORTKEY = UNDO.SORTKEY;
            CURRENTKEYTYPE = UNDO.KEYTYPE;
            SELECTCURRENTENTRY();
            DISPLAYSELECTION();
        }
        dropLastRow();
    }
    if (!reverted) BEEP();
    if (RECORDS(UNDOQUEUE) == 0) enableUndo(false);
    SELECT(W::BOOKLIST);
}

namespace {

// Whether the row in UNDO could still be reverted: the records it needs are in the file.
bool revertible() {
    switch (UNDO.ACTION) {
        case 1:
            return readable(UNDO.OLDPOINTER);
        case 2:
            return readable(UNDO.POINTER);
        case 3:
            return readable(UNDO.OLDPOINTER) && readable(UNDO.POINTER);
        case 4:
            return readable(UNDO.POINTER);
        default:
            return false;
    }
}

}  // namespace

void dropLostUndo() {
    const QuilleryRecord shown = QLY;
    for (std::uint32_t row = RECORDS(UNDOQUEUE); row >= 1; --row) {
        GET(UNDOQUEUE, row);
        if (errorCode() != ErrorCode::kNone) break;
        if (!revertible()) DELETE(UNDOQUEUE);
    }
    clearError();
    QLY = shown;
    enableUndo(RECORDS(UNDOQUEUE) > 0 && PENDINGFIND == 0);
}

void forgetUndo() {
    FREE(UNDOQUEUE);
    enableUndo(false);
}

}  // namespace quillery
