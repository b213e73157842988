// Filtering the list as a text is typed: each key press narrows the answer to the last one
// when it can, so that typing stays quick however many books the list holds.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/book_text_index.h"

namespace quillery {

// The rows that hold a text typed key by key: when the text only grew since the last answer
// over the same rows and the index has not changed, only the rows of that answer are searched.
class TypedFilter {
  public:
    // The indexes of the rows whose books hold `typed`, in row order.
    const std::vector<std::uint32_t>& rowsHolding(const BookTextIndex& index,
                                                  std::span<const std::int32_t> rows,
                                                  std::string_view typed);
    // Forgets the last answer: the next text is searched over all rows.
    void forget();

  private:
    bool canNarrow(const BookTextIndex& index, std::span<const std::int32_t> rows,
                   std::string_view text) const;

    bool answered_ = false;
    std::uint64_t generation_ = 0;
    std::vector<std::int32_t> rows_;
    std::string text_;
    std::vector<std::uint32_t> answer_;
};

}  // namespace quillery
