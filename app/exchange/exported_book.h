// A catalogue entry as an export writes it: its fields as UTF-8 and its contents note taken
// apart into the labelled parts an import made of it.
#pragma once

#include <string>
#include <string_view>

#include "app/exchange/contents_note.h"
#include "app/quillery_record.h"

namespace quillery::exchange {

class ExportedBook {
  public:
    explicit ExportedBook(const QuilleryRecord& record);

    // The text of catalogue column `name` ("OTHER", "PUBDATE", ...), trailing blanks dropped.
    std::string field(std::string_view name) const;
    std::string title() const { return field("TITLE"); }
    std::string category() const { return field("CATEGORY"); }
    // "First Last", or the one of them there is.
    std::string authorPlain() const;
    // "Last, First", or the one of them there is.
    std::string authorSortable() const;
    // The rating 1 to 5 as a digit, empty for a blank or any other rating.
    std::string rating() const;
    // The ISBN when it is thirteen digits, else empty.
    std::string isbn13() const;
    // Any other ISBN, as it stands.
    std::string isbn10() const;
    const ContentsNote& note() const { return note_; }

  private:
    const QuilleryRecord& record_;
    ContentsNote note_;
};

}  // namespace quillery::exchange
