// The ISBNs of imported entries looked over before they join a catalogue: each tidied and
// checked, an ISBN-10 turned into its ISBN-13 when the person asked for it, and every ISBN that
// a current book (or an earlier entry of the same import) already has named. Nothing is
// refused: a collector may keep two copies, and a wrong check digit may be the book's own.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "app/exchange/import_report.h"
#include "app/quillery_record.h"

namespace quillery::exchange {

// The books of a catalogue by ISBN: the first book found with each.
class IsbnIndex {
  public:
    // Notes `book` under its ISBN (tidied) unless it has none or one is noted already.
    void add(const QuilleryRecord& book);
    // "Title by Last, First" of the book noted under `isbn`; nullptr when there is none.
    const std::string* find(std::string_view isbn) const;

  private:
    std::unordered_map<std::string, std::string> books_;
};

// "The Histories by Herodotus" (UTF-8), as messages name a book.
std::string bookDescription(const QuilleryRecord& book);

struct IsbnReviewOptions {
    bool toIsbn13 = false;  // store an ISBN-10 as its ISBN-13
};

// Looks over the ISBNs of `imported.records` against `catalogue`, changing them in place and
// adding a report line for each one changed, questionable or already there.
void reviewImportedIsbns(ExchangeImport& imported, IsbnIndex catalogue,
                         const IsbnReviewOptions& options);

// `book`'s ISBN tidied, and converted when `toIsbn13`; false when the tidied ISBN (or the text
// as given) does not fit the field, which is then left as it was.
bool storeTidiedIsbn(QuilleryRecord& book, std::string_view typed, bool toIsbn13);

}  // namespace quillery::exchange
