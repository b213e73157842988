// The entry lists: rows in and out of the queues, the active queue's binding, re-selection by
// sort key and the letter jump.
#include "app/window/entry_lists.h"

#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "app/window/listed_books.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "app/window/tab_selection.h"
#include "runtime/char_tables.h"
#include "runtime/errors.h"
#include "runtime/window/window.h"
#include "storage/file_statements.h"
#include "support/check_error.h"

namespace quillery {

namespace W = displayquillery;

namespace {

// Points the ACT: references at the row buffer `row` with `sortField` as the shown key.
template <class Row>
void bindActive(Queue& queue, Row& row, int sortField) {
    ACTQUEUE = &queue;
    ACT.POINTER = &row.POINTER;
    ACT.NAMEKEY = &row.NAMEKEY;
    ACT.TITLEKEY = &row.TITLEKEY;
    ACT.KEYTYPE = &row.KEYTYPE;
    ACT.sortField = sortField;
    switch (sortField) {
        case AllField::TITLEKEY:
            ACT.SORTKEY = &row.TITLEKEY;
            break;
        case AllField::NAMEKEY:
            ACT.SORTKEY = &row.NAMEKEY;
            break;
        default:
            ACT.SORTKEY = &row.SORTKEY;
            break;
    }
    bindList(W::BOOKLIST, queue, sortField);
}

int listedKeyField() {
    return LISTBYTITLE ? AllField::TITLEKEY : AllField::NAMEKEY;
}

// Removes every row of `position` from `queue`, reporting queue failures as they come.
template <class Row>
void removeRowsOf(Queue& queue, Row& row, std::int32_t position) {
    for (std::uint32_t i = 1; i <= RECORDS(queue);) {
        GET(queue, i);
        if (errorCode() != ErrorCode::kNone) {
            CHECKERROR("Can't Get Book Element");
            ++i;
            continue;
        }
        if (row.POINTER != position) {
            ++i;
            continue;
        }
        DELETE(queue);
        if (errorCode() != ErrorCode::kNone) {
            CHECKERROR("Can't Delete Book Element");
            ++i;
        }
    }
}

}  // namespace

void bindListToAllQueue() {
    bindActive(ALLQUEUE, ALL, listedKeyField());
}

void bindListToTabQueue() {
    bindActive(TABQUEUE, TAB, listedKeyField());
}

void bindListToFindResults() {
    bindActive(TABQUEUE, TAB, AllField::SORTKEY);
}

std::string_view listedNameKey() {
    return QLY.NAMEKEY.isBlank() ? QLY.TITLEKEY.view() : QLY.NAMEKEY.view();
}

void INSERTQUEUE() {
    ALL = AllRow{};
    ALL.CATEGORY = QLY.CATEGORY.view();
    ALL.POINTER = static_cast<std::int32_t>(POSITION(QUILLERY));
    ALL.NAMEKEY = listedNameKey();
    ALL.TITLEKEY = QLY.TITLEKEY.view();
    // A list built afresh starts from an empty queue: what was remembered of it goes.
    if (RECORDS(ALLQUEUE) == 0) forgetListedBooks();
    ADD(ALLQUEUE, {listedKeyField()});
    rememberListedBook(ALL.POINTER, QLY);
}

void removeEntryRows(std::int32_t position) {
    removeRowsOf(ALLQUEUE, ALL, position);
    forgetListedBook(position);
}

void DELETEQUEUE(std::int32_t position) {
    removeEntryRows(position);
    if (PENDINGFIND != 0) {
        // The find tab's rows are matches, not a category: they lose the entry and no more.
        removeRowsOf(TABQUEUE, TAB, position);
    } else if (!(CURRENTTEXT == "ALL")) {
        BUILDTABQUEUE();
    }
}

void BUILDTABQUEUE() {
    TAB = TabRow{};
    FREE(TABQUEUE);
    const std::uint32_t rows = RECORDS(ALLQUEUE);
    for (std::uint32_t i = 1; i <= rows; ++i) {
        GET(ALLQUEUE, i);
        if (!(ALL.CATEGORY == CURRENTTEXT)) continue;
        TAB.POINTER = ALL.POINTER;
        TAB.SORTKEY = ALL.SORTKEY;
        TAB.NAMEKEY = ALL.NAMEKEY;
        TAB.TITLEKEY = ALL.TITLEKEY;
        TAB.KEYTYPE = ALL.KEYTYPE;
        ADD(TABQUEUE);
    }
    if (RECORDS(TABQUEUE) == 0) {
        selectTab(W::ALL);
        POST(EVENT::NewSelection, W::SHEET);
    }
}

void SELECTCURRENTENTRY() {
    // Rows can share a sort key (a duplicated entry, say): the entry itself is preferred to the
    // first row with its key, unless another row was chosen.
    const bool chosenRow = !NEWSORTKEY.isBlank();
    if (chosenRow) CURRENTSORTKEY = NEWSORTKEY;
    const std::uint32_t rows = RECORDS(*ACTQUEUE);
    std::uint32_t found = 0;
    for (std::uint32_t i = 1; i <= rows; ++i) {
        GET(*ACTQUEUE, i);
        if (!(*ACT.SORTKEY == CURRENTSORTKEY)) continue;
        if (found == 0) found = i;
        if (chosenRow || *ACT.POINTER == CURRENTPOINTER) {
            found = i;
            break;
        }
    }
    if (found != 0) selectListRow(static_cast<int>(found));
}

std::int32_t letterOf(std::string_view sortKey) {
    const auto first = static_cast<unsigned char>(sortKey.empty() ? ' ' : sortKey.front());
    return static_cast<std::int32_t>(toUpperChar(first)) - 64;
}

bool readSelectedRow() {
    const int row = selectedListRow();
    if (row <= 0) return false;
    GET(*ACTQUEUE, row);
    return errorCode() == ErrorCode::kNone;
}

void selectListRow(int row) {
    PROP(W::BOOKLIST, Prop::Choice) = row;
}

int selectedListRow() {
    DISPLAY(W::BOOKLIST);  // rows added or removed since show, and the selection follows
    return CHOICE(W::BOOKLIST);
}

}  // namespace quillery
