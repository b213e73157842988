// The list's column orders: for each column the window can sort by, the order of the current
// books read through the catalogue's own key for that column, ready to apply to the list's rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "app/quillery_record.h"

namespace quillery {

// The columns the list can show and sort by, each with a key of the catalogue.
enum class BookColumn : std::uint8_t {
    Author,  // "Last, First": AUTHORKEY, equal last names by the rest of the name key
    Title,   // TITLEKEYKEY, equal titles by the rest of the title key
    Category,
    Rating,
    Location,
    Value,
    Isbn,
    PubDate,
    Condition,
    BuyDate,
    Edition,
    PrintDate,
    Other,
};
inline constexpr std::size_t kBookColumnCount = 13;

enum class SortDirection : std::uint8_t { Ascending, Descending };

// The key a column is read through.
QuilleryKey keyOfColumn(BookColumn column);
// The text a column shows for a book: its field clipped; for Author "Last, First" (either name
// alone when the other is blank).
std::string columnText(const QuilleryRecord& record, BookColumn column);

// Where each current book stands in one column's order. Books the key holds equal share a rank
// (except under Author and Title, where the rest of the name or title key tells them apart);
// books with a blank value, which the key does not hold, rank after all others in either
// direction.
class ColumnOrder {
  public:
    ColumnOrder() = default;

    BookColumn column() const { return column_; }
    SortDirection direction() const { return direction_; }
    // The rank of the book at record position `position`; lower ranks come first.
    std::uint32_t rankOf(std::int32_t position) const;
    // The rank every book with a blank value (and every position the key did not hold) has.
    std::uint32_t blankRank() const { return blankRank_; }
    // How many current books the key holds.
    std::size_t rankedBooks() const { return rankedBooks_; }

  private:
    friend class ColumnOrderBuilder;

    BookColumn column_ = BookColumn::Author;
    SortDirection direction_ = SortDirection::Ascending;
    std::vector<std::uint32_t> rankByPosition_;  // by record position; blankRank_ when unheld
    std::uint32_t blankRank_ = 0;
    std::size_t rankedBooks_ = 0;
};

// Reads the order of `column` through its key of the open catalogue QUILLERY, leaving out
// superseded versions. The record buffer is left as it was. Empty when the catalogue could not
// be read to the end (the current error says why).
std::optional<ColumnOrder> readColumnOrder(BookColumn column, SortDirection direction);

// The list's rows (record positions, in the list's usual order) rearranged by `order`: the
// indexes into `positions` in their new order. Rows of equal rank keep their usual order.
std::vector<std::size_t> orderedRows(std::span<const std::int32_t> positions,
                                     const ColumnOrder& order);

}  // namespace quillery
