// The book text index: each current book's record image, upper-cased when case is ignored,
// with long runs of blanks shortened so that 32,000 books stay small in memory.
#include "app/book_text_index.h"

#include <array>

#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "runtime/char_tables.h"
#include "runtime/errors.h"
#include "storage/file_statements.h"

namespace quillery {

namespace {

// The bytes of a record that are numbers, not text (the deleted flag, the two stamps, the list
// flag), read as zero bytes: no typed text holds one, so a text can neither match a stamp's bytes
// by chance nor run from one text field across a stamp into the next.
QuilleryRecord textFieldsOf(const QuilleryRecord& record) {
    QuilleryRecord text = record;
    text.DELETED = 0;
    text.setCREATED({0, 0});
    text.setCHANGED({0, 0});
    text.LISTBYTITLE = 0;
    return text;
}

// A book's text as searched: its record image, its numbers zeroed, upper-cased under IgnoreCase.
// A search text never ends in a blank and is at most kLongestSearchText long, so no match can
// span a run of blanks that long: it can only end one, with fewer blanks than the run has.
// Shortening every longer run to that length (padding and blank contents notes are mostly such
// runs) keeps every match and makes none.
std::string searchableImage(const QuilleryRecord& record, CaseRule rule) {
    const QuilleryRecord text = textFieldsOf(record);
    const std::array<std::uint8_t, 256>& upper = charTables().upper;
    const bool ignoreCase = rule == CaseRule::IgnoreCase;
    std::string image;
    image.reserve(kQuilleryRecordLength);
    std::size_t blanks = 0;
    for (const std::uint8_t byte : bytesOf(text)) {
        const char c = static_cast<char>(ignoreCase ? upper[byte] : byte);
        blanks = c == ' ' ? blanks + 1 : 0;
        if (blanks <= kLongestSearchText) image += c;
    }
    image.shrink_to_fit();
    return image;
}

// Keeps the record buffer through reads of other records: it holds the entry shown.
class KeptRecordBuffer {
  public:
    KeptRecordBuffer() : kept_(QLY) {}
    ~KeptRecordBuffer() { QLY = kept_; }
    KeptRecordBuffer(const KeptRecordBuffer&) = delete;
    KeptRecordBuffer& operator=(const KeptRecordBuffer&) = delete;

  private:
    QuilleryRecord kept_;
};

}  // namespace

std::string searchText(std::string_view typed, CaseRule rule) {
    std::string text(typed.substr(0, kLongestSearchText));
    text.erase(text.find_last_not_of(' ') + 1);
    if (rule == CaseRule::IgnoreCase) {
        for (char& c : text)
            c = static_cast<char>(toUpperChar(static_cast<unsigned char>(c)));
    }
    return text;
}

bool imageHolds(std::string_view image, std::string_view text) {
    return image.find(text) != std::string_view::npos;
}

void BookTextIndex::put(std::int32_t position, const QuilleryRecord& record) {
    if (record.DELETED != 0) {
        remove(position);
        return;
    }
    std::string& image = images_[position];
    textBytes_ -= image.size();
    image = searchableImage(record, rule_);
    textBytes_ += image.size();
    ++generation_;
}

void BookTextIndex::remove(std::int32_t position) {
    const auto held = images_.find(position);
    if (held == images_.end()) return;
    textBytes_ -= held->second.size();
    images_.erase(held);
    ++generation_;
}

void BookTextIndex::clear() {
    images_.clear();
    textBytes_ = 0;
    ++generation_;
}

bool BookTextIndex::fillFromCatalogue() {
    const KeptRecordBuffer kept;
    clear();
    SET(QUILLERY);
    NEXT(QUILLERY);  // the header record
    if (errorCode() != ErrorCode::kNone) return errorCode() == ErrorCode::kRecordNotAvailable;
    for (NEXT(QUILLERY); errorCode() == ErrorCode::kNone; NEXT(QUILLERY))
        put(static_cast<std::int32_t>(POSITION(QUILLERY)), QLY);
    return errorCode() == ErrorCode::kRecordNotAvailable;
}

void BookTextIndex::reread(std::int32_t position) {
    const KeptRecordBuffer kept;
    GET(QUILLERY, position);
    if (errorCode() == ErrorCode::kNone) {
        put(position, QLY);
    } else {
        remove(position);
    }
}

bool BookTextIndex::bookHolds(std::int32_t position, std::string_view text) const {
    const auto held = images_.find(position);
    return held != images_.end() && imageHolds(held->second, text);
}

std::vector<std::uint32_t> BookTextIndex::rowsHolding(std::span<const std::int32_t> rows,
                                                      std::string_view typed) const {
    const std::string text = searchText(typed, rule_);
    std::vector<std::uint32_t> matches;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (text.empty() || bookHolds(rows[i], text))
            matches.push_back(static_cast<std::uint32_t>(i));
    }
    return matches;
}

}  // namespace quillery
