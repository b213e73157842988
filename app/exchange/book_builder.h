// One book of an export becoming a catalogue entry: each value brought into the catalogue's
// code page and its field, cut only where the field ends, and whatever that changed reported
// against the book's line and title.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/csv_format.h"
#include "app/exchange/contents_note.h"
#include "app/exchange/import_report.h"
#include "app/quillery_record.h"

namespace quillery::exchange {

class BookBuilder {
  public:
    // `title` is the book's title as the file has it, for the report.
    BookBuilder(int line, std::string_view title, ImportReport& report);

    // Puts `value` (UTF-8, blanks around it dropped) into the text field of the catalogue
    // column `field` ("TITLE", "ISBN", ...); `from` is the export's column, for the report.
    void set(std::string_view field, std::string_view value, std::string_view from);
    // The last and first name from the sortable form "Last, First" or, without one, from the
    // plain "First Middle Last". A book with neither is filed under "Unknown" and reported.
    void setAuthor(std::string_view sortable, std::string_view plain, std::string_view from);
    // `value` is a rating from 0 to 5; 0 or empty leave the rating blank, a fraction is
    // dropped and reported. Fails for anything else.
    void setRating(std::string_view value, std::string_view from);
    // The creation stamp's date from `value` (see exportDate); empty keeps `now`. A value
    // that is no date fails, the message naming `forms`, the forms the export writes.
    void setAdded(std::string_view value, std::string_view from, std::string_view forms);

    // `value` as UTF-8 for the contents note: a cell that is not UTF-8 is read as
    // Windows-1252, and control characters other than tab and line ends are dropped; each is
    // reported, naming `from`.
    std::string checked(std::string_view value, std::string_view from);

    // The entry: the note written to CONTENTS, stamps, keys; or the first problem found.
    std::optional<CsvProblem> finish(const ContentsNote& note, QuilleryStamp now,
                                     QuilleryRecord& entry);

  private:
    // `value` as UTF-8 without control characters; `keepLayout` keeps tabs and line ends.
    std::string clean(std::string_view value, std::string_view from, bool keepLayout);
    void put(std::string_view field, std::string_view utf8, std::string_view from);
    void fail(std::string message);

    int line_;
    std::string title_;
    ImportReport& report_;
    QuilleryRecord record_{};
    std::int32_t addedDay_ = 0;
    std::size_t replaced_ = 0;
    std::vector<std::string> notUtf8_;  // the columns reported as not UTF-8
    std::optional<std::string> problem_;
};

// The day number of a date from 1801 to 2099 written YYYY/MM/DD or YYYY-MM-DD, or partly
// (YYYY-MM, YYYY: the first day of that month or year), any of them in brackets as
// LibraryThing writes them ("[2021-07-30]"); nullopt otherwise.
std::optional<std::int32_t> exportDate(std::string_view text);

// Whether `word` is a suffix that follows a name ("Jr.", "III").
bool isNameSuffix(std::string_view word);

// A date in brackets ("[2021-07-30]", "[2007]") without them; any other text as it stands.
std::string_view unbracketedDate(std::string_view text);
// `text` in brackets when it is a date, as LibraryThing writes its dates.
std::string bracketedDate(std::string_view text);

}  // namespace quillery::exchange
