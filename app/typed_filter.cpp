// Narrowing as the text grows: every match of the longer text holds the shorter one, so the
// last answer is all that needs searching.
#include "app/typed_filter.h"

#include <algorithm>

namespace quillery {

bool TypedFilter::canNarrow(const BookTextIndex& index, std::span<const std::int32_t> rows,
                            std::string_view text) const {
    return answered_ && !text_.empty() && generation_ == index.generation() &&
           text.find(text_) != std::string_view::npos &&
           std::equal(rows.begin(), rows.end(), rows_.begin(), rows_.end());
}

const std::vector<std::uint32_t>& TypedFilter::rowsHolding(const BookTextIndex& index,
                                                           std::span<const std::int32_t> rows,
                                                           std::string_view typed) {
    const std::string text = searchText(typed, index.caseRule());
    if (canNarrow(index, rows, text)) {
        std::erase_if(answer_,
                      [&](std::uint32_t row) { return !index.bookHolds(rows[row], text); });
    } else {
        answer_ = index.rowsHolding(rows, text);
        rows_.assign(rows.begin(), rows.end());
    }
    answered_ = true;
    generation_ = index.generation();
    text_ = text;
    return answer_;
}

void TypedFilter::forget() {
    answered_ = false;
    answer_.clear();
    rows_.clear();
    text_.clear();
}

}  // namespace quillery
