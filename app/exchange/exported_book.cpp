// Catalogue entries seen as export values.
#include "app/exchange/exported_book.h"

#include <algorithm>

#include "app/catalogue_columns.h"

namespace quillery::exchange {

namespace {

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

ExportedBook::ExportedBook(const QuilleryRecord& record)
    : record_(record), note_(ContentsNote::read(field("CONTENTS"))) {}

std::string ExportedBook::field(std::string_view name) const {
    return formatColumnValue(*findCatalogueColumn(name), record_);
}

std::string ExportedBook::authorPlain() const {
    const std::string last = field("LASTNAME"), first = field("FIRSTNAME");
    if (first.empty() || last.empty()) return first + last;
    return first + " " + last;
}

std::string ExportedBook::authorSortable() const {
    const std::string last = field("LASTNAME"), first = field("FIRSTNAME");
    if (first.empty()) return last;
    return last + ", " + first;
}

std::string ExportedBook::rating() const {
    const std::string rating = field("RATING");
    return rating.size() == 1 && rating[0] >= '1' && rating[0] <= '5' ? rating : std::string();
}

std::string ExportedBook::isbn13() const {
    const std::string isbn = field("ISBN");
    return isbn.size() == 13 && allDigits(isbn) ? isbn : std::string();
}

std::string ExportedBook::isbn10() const {
    return isbn13().empty() ? field("ISBN") : std::string();
}

}  // namespace quillery::exchange
