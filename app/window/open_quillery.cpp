// Opening a catalogue in the main window.
#include "app/window/open_quillery.h"

#include <string>

#include "app/catalogue_access.h"
#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "app/window/catalogue_damage.h"
#include "app/window/catalogue_transaction.h"
#include "app/window/categories.h"
#include "app/window/editing_cycle.h"
#include "app/window/entry_lists.h"
#include "app/window/find_tab.h"
#include "app/window/list_shape.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "app/window/tab_selection.h"
#include "app/window/twin_controls.h"
#include "runtime/dates.h"
#include "runtime/errors.h"
#include "runtime/window/window.h"
#include "storage/file_statements.h"
#include "support/check_error.h"
#include "support/error_memory.h"
#include "support/standard_warning.h"

namespace quillery {

namespace W = displayquillery;

namespace {

constexpr std::int32_t kFileAccessWarning = 30;
// A write refused by a read-only medium: the operating system's error 19.
constexpr int kWriteProtect = 319;

bool& openFlag() {
    static bool open = false;
    return open;
}

// The title string, and the catalogue's name while one is open.
void setCaption(bool open) {
    std::string caption(TITLESTRING.clipped());
    if (open) {
        caption += " (";
        caption += QUILLERYFILE.clipped();
        caption += ")";
    }
    PROP(0, Prop::Text) = caption;
}

// The window as it stands before any catalogue is read: "ALL" selected, name order, no
// category tabs, nothing pending.
void resetWindow() {
    CURRENTTEXT = "ALL";
    enableNewAndDuplicate(true);
    LISTBYTITLE = 0;
    DISPLAY(W::LISTBYTITLE);
    removeFindTab();
    selectTab(W::ALL);
    CURRENTTAB = W::ALL;
    bindListToAllQueue();
    dropCategoryTabs();
    PENDINGADD = 0;
    RECORDCHANGED = 0;
    FREE(ALLQUEUE);
    FREE(TABQUEUE);
}

// The commands that need an open catalogue follow whether one is.
void enableCatalogueCommands(bool open) {
    openFlag() = open;
    enableNewAndDuplicate(open);
    auto set = open ? ENABLE : DISABLE;
    set(W::BOOKFIND, 0);
    set(W::FIND, 0);
    set(W::LISTBYTITLE, 0);
}

// A new catalogue: the file created and its blank header record added, stamped now.
bool createCatalogue() {
    CREATE(QUILLERY);
    CHECKERROR("Can't Create File");
    if (errorCode() != ErrorCode::kNone) return false;
    OPEN(QUILLERY, kDefaultAccessMode);
    CHECKERROR("Can't Open New File");
    if (errorCode() != ErrorCode::kNone) return false;
    CLEAR(QUILLERY);
    QLY.setCREATED({TODAY(), CLOCK()});
    QLY.setCHANGED(QLY.CREATED());
    ADD(QUILLERY);
    CHECKERROR("Can't Add First Record");
    CLOSE(QUILLERY);
    return true;
}

// The file access warning for a catalogue that stays closed. A catalogue this user may only
// read is refused the same way as one another program keeps to itself; the warning says which.
void reportOpenFailure() {
    const std::string name(QUILLERYFILE.clipped());
    const bool refused = errorCode() == ErrorCode::kAccessDenied || errorCode() == kWriteProtect;
    if (refused && canOnlyBeRead(name)) {
        saveCurrentError();
        SAVEERROR = std::string(SAVEERROR.clipped()) + ": the catalogue can only be read";
    }
    STANDARDWARNING(kFileAccessWarning, name);
}

// Opens QUILLERYFILE for reading and writing, denying writes to others; a missing file is
// created once. Anything else that keeps it closed is reported, and nothing is created over it.
bool openCatalogueFile() {
    if (!catalogueFitToOpen()) return false;
    OPEN(QUILLERY, kDefaultAccessMode);
    if (errorCode() == ErrorCode::kFileNotFound) {
        if (!createCatalogue()) return false;
        setCaption(true);
        OPEN(QUILLERY, kDefaultAccessMode);
    }
    if (errorCode() == ErrorCode::kNone) return true;
    reportOpenFailure();
    return false;
}

bool isPurged() {
    return QLY.DELETED != 0 ||
           (QLY.LASTNAME.isBlank() && QLY.FIRSTNAME.isBlank() && QLY.TITLE.isBlank());
}

}  // namespace

bool catalogueIsOpen() {
    return openFlag();
}

void readCatalogueEntries(bool collectCategories) {
    FREE(ALLQUEUE);
    FREE(TABQUEUE);
    if (!beginCatalogueTransaction("Can't Read Quillery")) return;
    SET(QUILLERY);
    NEXT(QUILLERY);  // the header record is never listed
    for (NEXT(QUILLERY); errorCode() == ErrorCode::kNone; NEXT(QUILLERY)) {
        if (isPurged()) {
            DELETE(QUILLERY);
            CHECKERROR("Can't Purge Quillery");
            continue;
        }
        if (collectCategories) addCategoryOfRecord();
        INSERTQUEUE();
    }
    if (errorCode() != ErrorCode::kRecordNotAvailable) CHECKERROR("Can't Read Quillery");
    commitCatalogueTransaction("Can't Purge Quillery");
}

void showNoCatalogue() {
    resetWindow();
    enableCatalogueCommands(false);
    setCaption(false);
    selectListRow(firstShownRow());
    DISPLAYSELECTION();
}

bool OPENQUILLERY() {
    CLOSE(QUILLERY);  // a listing may have left it open, or another catalogue is
    setCaption(true);
    resetWindow();
    const bool open = openCatalogueFile();
    setCaption(open);
    enableCatalogueCommands(open);
    if (open) {
        readCatalogueEntries(true);
        createCategoryTabs();
    }
    selectListRow(firstShownRow());
    DISPLAYSELECTION();
    return open;
}

}  // namespace quillery
