// The columns the book list shows when it is wide enough: each book column with its heading and
// width, which of them the person chose, and that choice as the window-state file keeps it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/column_orders.h"

namespace quillery {

struct ListColumnInfo {
    BookColumn column;
    std::string_view heading;  // as the heading and the heading's menu show it
    std::string_view name;     // as the window-state file keeps it
    int width;                 // dialog units
    bool rightAligned = false;
};

// Every column, in the order the list shows those chosen.
std::span<const ListColumnInfo> listColumnTable();
const ListColumnInfo& listColumnInfo(BookColumn column);

// The columns shown, in table order; never empty.
using ColumnChoice = std::vector<BookColumn>;
// Author, Title, Category, Rating, Location and Value.
ColumnChoice defaultColumnChoice();
// "Author,Title,Value"; read back by parseColumnChoice, which refuses (nothing) a text naming no
// column or a column it does not know.
std::string columnChoiceText(const ColumnChoice& choice);
std::optional<ColumnChoice> parseColumnChoice(std::string_view text);
// `choice` with `column` shown or no longer shown; the last column shown stays.
ColumnChoice toggledColumn(const ColumnChoice& choice, BookColumn column);

// The list format of the chosen columns, headings included.
std::string columnFormat(const ColumnChoice& choice);

}  // namespace quillery
