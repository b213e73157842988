// A book the service found, as a catalogue entry: mapped as an import maps a service's export,
// with the same report of what did not fit.
#pragma once

#include <string_view>

#include "app/exchange/import_report.h"
#include "app/lookup/book_answers.h"
#include "app/quillery_record.h"

namespace quillery::lookup {

// The entry for `book`, found by `isbn` (tidied): the first author in sortable form, the
// title, publish date, the publishers in Other, the further authors, page count and subjects
// in the note. `category` files it; `now` stamps it. Findings go to `report` under `title`.
QuilleryRecord entryOfFoundBook(const FoundBook& book, std::string_view isbn,
                                std::string_view category, QuilleryStamp now,
                                exchange::ImportReport& report);

// An entry holding only `isbn`, for a book the service did not know: "ISBN <isbn>" stands as
// its title, so that it is listed and can be found again later.
QuilleryRecord entryOfUnknownBook(std::string_view isbn, std::string_view category,
                                  QuilleryStamp now);

}  // namespace quillery::lookup
