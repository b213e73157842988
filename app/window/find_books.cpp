// The find window, the search over every current record and the find tab.
#include "app/window/find_books.h"

#include <vector>

#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "app/window/editing_cycle.h"
#include "app/window/entry_lists.h"
#include "app/window/find_tab.h"
#include "app/window/list_shape.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "runtime/char_tables.h"
#include "runtime/errors.h"
#include "runtime/window/message_box.h"
#include "runtime/window/window.h"
#include "storage/file_statements.h"

namespace quillery {

namespace W = displayquillery;
namespace F = getfindstring;

namespace {

constexpr char kFindCaption[] = "Find Matching Book Entries";
constexpr char kWindowIcon[] = "book.bmp";

constexpr ControlLayout kFindControls[] = {
    {.kind = ControlKind::Prompt, .text = "&Find what:", .at = {8, 9, 44, 10}},
    {.kind = ControlKind::Entry,
     .field = F::FINDSTRING,
     .at = {54, 8, 100, 12},
     .picture = "s20",
     .use = 1},
    {.kind = ControlKind::Check,
     .field = F::IGNORECASE,
     .text = "&Ignore Upper/Lower Case",
     .at = {54, 26, 100, 12},
     .use = 2},
    {.kind = ControlKind::Button,
     .field = F::OK,
     .text = "&OK",
     .at = {164, 7, 45, 14},
     .flags = ControlFlag::kDefault},
    {.kind = ControlKind::Button, .field = F::CANCEL, .text = "&Cancel", .at = {164, 25, 45, 14}},
};

// Result rows are kept in sort-key order: TAB:SORTKEY is field 2 of TABQUEUE.
constexpr int kBySortKey[] = {+AllField::SORTKEY};

// The record image as searched: every byte of the buffer, upper-cased when case is ignored.
std::string searchedImage() {
    CHG = QLY;
    const auto bytes = bytesOf(CHG);
    std::string image(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return IGNORECASE ? upperCased(image) : image;
}

// The row listing the entry in the buffer: by its name key, or by its title key without names.
TabRow matchRow() {
    TabRow row;
    row.POINTER = static_cast<std::int32_t>(POSITION(QUILLERY));
    if (QLY.NAMEKEY.isBlank()) {
        row.SORTKEY = QLY.TITLEKEY.view();
        row.KEYTYPE = 2;
    } else {
        row.SORTKEY = QLY.NAMEKEY.view();
        row.KEYTYPE = 1;
    }
    return row;
}

// Every current entry whose record image holds `text`, in file order. The record buffer is
// left as it was: it holds the entry shown.
std::vector<TabRow> matchingEntries(std::string_view text) {
    const QuilleryRecord shown = QLY;
    std::vector<TabRow> matches;
    SET(QUILLERY);
    NEXT(QUILLERY);  // the header record
    for (NEXT(QUILLERY); errorCode() == ErrorCode::kNone; NEXT(QUILLERY)) {
        if (QLY.DELETED != 0) continue;
        if (searchedImage().find(text) != std::string::npos) matches.push_back(matchRow());
    }
    QLY = shown;
    return matches;
}

}  // namespace

const WindowLayout kFindLayout{.module = "GETFINDSTRING",
                               .structure = "FIND",
                               .text = kFindCaption,
                               .at = {0, 0, 218, 44},
                               .flags = WindowFlag::kCentered,
                               .controls = kFindControls};

void GETFINDSTRING() {
    Window window(kFindLayout, {use(FINDSTRING), use(IGNORECASE)});
    OPEN(window);
    // Enter in the search text finds at once, as "&OK" does.
    ALERT(F::FINDSTRING, KEY::Enter);
    while (ACCEPT(window)) {
        PROP(0, Prop::Icon) = kWindowIcon;
        if (EVENT() == EVENT::CloseWindow) {
            FINDSTRING.clear();  // closing the window abandons the find as Cancel does
            continue;
        }
        if (EVENT() == EVENT::AlertKey && FIELD() == F::FINDSTRING) {
            FINDSTRING = PROP(F::FINDSTRING, Prop::Text).text();
            break;
        }
        if (EVENT() != EVENT::Accepted) continue;
        if (FIELD() == F::OK) break;
        if (FIELD() == F::CANCEL) {
            FINDSTRING.clear();
            break;
        }
    }
    CLOSE(window);
}

void findBooks() {
    if (!settlePendingWork()) return;
    GETFINDSTRING();
    if (FINDSTRING.isBlank()) return;
    const std::string label = findTabLabel(FINDSTRING.clipped());
    if (IGNORECASE) FINDSTRING = upperCased(FINDSTRING.view());

    const std::vector<TabRow> matches = matchingEntries(FINDSTRING.clipped());
    if (matches.empty()) {
        MESSAGE("No Matching Books Were Found", kFindCaption);
        if (PENDINGFIND != 0) {
            removeFindTab();
            POST(EVENT::NewSelection, W::SHEET);
        }
        return;
    }
    TAB = TabRow{};
    FREE(TABQUEUE);
    for (const TabRow& row : matches) {
        TAB = row;
        ADD(TABQUEUE, kBySortKey);
    }
    showFindTab(label);
    bindListToFindResults();
    selectListRow(firstShownRow());
    DISPLAYSELECTION();
}

}  // namespace quillery
