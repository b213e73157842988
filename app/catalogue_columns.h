// The columns of a catalogue CSV file: every field of the book record by its name without
// prefix, with the text form each value takes in the file (UTF-8 text, whole numbers, dates
// YYYY-MM-DD and times HH:MM:SS.hh), so that a record written out and read back is the same
// byte for byte.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "app/quillery_record.h"

namespace quillery {

enum class ColumnKind {
    kText,  // blank-padded Windows-1252 text; UTF-8 in the file, trailing blanks dropped
    kByte,  // unsigned byte, 0 to 255
    kDate,  // day number: YYYY-MM-DD when it is a date, else the number itself (0 = none)
    kTime,  // time of day: HH:MM:SS.hh when it is a time, else the number itself (0 = none)
};

struct CatalogueColumn {
    std::string_view name;  // as the header row names it, upper case
    ColumnKind kind;
    std::size_t offset;  // in the record as stored
    std::size_t width;   // bytes in the record
};

// Every field of the record, in the order an exported file has them: what people edit first,
// then what the program keeps for itself.
std::span<const CatalogueColumn> catalogueColumns();

// The column a header cell names: case-insensitive, surrounding blanks ignored, an optional
// "QLY:" prefix allowed. Null when there is none.
const CatalogueColumn* findCatalogueColumn(std::string_view name);

// The column's value in `record` as it is written to the file (UTF-8).
std::string formatColumnValue(const CatalogueColumn& column, const QuilleryRecord& record);

// Stores the file's `value` (UTF-8) in the column's field of `record`. An empty value is a blank
// text or a zero number. When the value cannot be held exactly, returns false with the reason
// in `problem` ("TITLE is 46 characters long; it holds at most 45") and leaves the field as it
// was.
[[nodiscard]] bool parseColumnValue(const CatalogueColumn& column, std::string_view value,
                                    QuilleryRecord& record, std::string& problem);

// Windows-1252 text of UTF-8 `utf8`, refusing rather than replacing: false with the reason in
// `problem` (naming `what`) when the text is not UTF-8 or holds a character Windows-1252 lacks.
[[nodiscard]] bool utf8ToCp1252Exactly(std::string_view utf8, std::string_view what,
                                       std::string& out, std::string& problem);

}  // namespace quillery
