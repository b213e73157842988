// The text of every current book held in memory, so that "which books hold this text" is
// answered as the list is typed into, without reading the catalogue again. A book's text is its
// record image, every field in record order as Find searches it, the derived keys and the
// contents note included; the bytes that hold numbers (the stamps and flags) count as zero
// bytes, which no typed text holds. Matching follows Find's rules: a plain substring test of
// the text with trailing blanks dropped, both sides upper-cased when case is ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/quillery_record.h"

namespace quillery {

// Find's two ways of comparing: as typed (its default), or with both sides upper-cased.
enum class CaseRule : std::uint8_t { MatchCase, IgnoreCase };

// The longest search text answered exactly; a longer one is cut to this length.
inline constexpr std::size_t kLongestSearchText = 40;

// A search text as Find reads it: trailing blanks dropped, upper-cased under IgnoreCase, and
// cut to kLongestSearchText.
std::string searchText(std::string_view typed, CaseRule rule);

// Whether a book's text `image` holds `text` (already prepared by searchText).
bool imageHolds(std::string_view image, std::string_view text);

class BookTextIndex {
  public:
    explicit BookTextIndex(CaseRule rule = CaseRule::MatchCase) : rule_(rule) {}

    CaseRule caseRule() const { return rule_; }

    // Holds `record`, at record position `position`, in place of what was held there; a
    // superseded version (DELETED set) is let go instead.
    void put(std::int32_t position, const QuilleryRecord& record);
    void remove(std::int32_t position);
    void clear();

    // Reads every current book of the open catalogue QUILLERY afresh, the header record aside.
    // The record buffer is left as it was. False when the catalogue could not be read to the
    // end (the current error says why); what was read is held.
    bool fillFromCatalogue();
    // Reads the record at `position` again after a save, an addition, a deletion or an undo:
    // held when it is a current book, let go when it is superseded or gone. The record buffer
    // is left as it was.
    void reread(std::int32_t position);

    bool holds(std::int32_t position) const { return images_.contains(position); }
    std::size_t size() const { return images_.size(); }
    // Bytes of book text held (the texts themselves, without the table's own overhead).
    std::size_t textBytes() const { return textBytes_; }
    // Counts the changes: an answer computed at one generation stays right until it changes.
    std::uint64_t generation() const { return generation_; }

    // Whether the book at `position` holds `text` (prepared by searchText); false for a
    // position not held.
    bool bookHolds(std::int32_t position, std::string_view text) const;
    // The indexes of the rows (record positions) whose books hold `typed`, in row order. A
    // blank text matches every row.
    std::vector<std::uint32_t> rowsHolding(std::span<const std::int32_t> rows,
                                           std::string_view typed) const;

  private:
    CaseRule rule_;
    std::unordered_map<std::int32_t, std::string> images_;
    std::size_t textBytes_ = 0;
    std::uint64_t generation_ = 0;
};

}  // namespace quillery
