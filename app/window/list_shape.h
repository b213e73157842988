// The book list as the window shows it: one line a book, or the chosen columns when the list is
// wide enough; in the list's own order or in a column's order; every book of the tab, or only
// those whose entry holds the search box's text. The queues stay as they are (rows by name or
// title key); only what the list shows of them is arranged, so the list's row numbers remain
// the active queue's.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/column_orders.h"

namespace quillery {

// The list shows columns from this width on (dialog units); narrower, the one-line list.
inline constexpr int kColumnsFromWidth = 330;

// Forgets everything about the list as shown: a window opened afresh starts from here.
void forgetListShape();

// Brings the list in step with the window: columns or one line for the list's width, the
// columns chosen for the open catalogue, a column order read again after the catalogue changed,
// and the rows arranged. A catalogue other than the last one starts in the list's own order,
// unfiltered.
void shapeBookList();
bool listShowsColumns();

// The column shown at `shownColumn` (from 1); nothing when there is none.
std::optional<BookColumn> shownColumn(int shownColumn);
// Orders the list by `column`, ascending, or the other way when it is ordered by it already.
// False, with the order left as it was, when the catalogue's key could not be read.
bool orderListBy(BookColumn column);
// The column the list is ordered by; nothing in its own order.
std::optional<BookColumn> listOrderColumn();

// The heading menu: every column, ticked when shown ("+Author|-ISBN|..."), in table order.
std::string columnMenu();
// Shows or hides the `item`-th column of the menu (from 1) and keeps the choice for the
// catalogue.
void toggleColumnOfMenu(int item);

// The search box's text as last applied; setting it arranges the list again.
const std::string& listFilter();
void setListFilter(std::string_view text);

// The active queue's rows as the list shows them, in order; every row in queue order when the
// list is not arranged.
std::vector<std::uint32_t> shownQueueRows();
// The first and the last row the list shows (queue rows); 1 and the queue's last row when the
// list is not arranged, 0 when it shows none.
int firstShownRow();
int lastShownRow();
// True when the list shows its own order (not a column's).
bool listInOwnOrder();

}  // namespace quillery
