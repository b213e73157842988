// Comma-separated values as the catalogue exchanges them: rows of text fields with quoted
// values, doubled quotes, embedded commas and line breaks, CRLF or LF line ends and an
// optional UTF-8 byte order mark. Bytes pass through unchanged; character sets are the
// caller's business.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillery {

struct CsvRow {
    int line = 0;  // the physical line the row starts on, from 1
    std::vector<std::string> fields;
};

// A fault found while reading, on the row starting at `line`.
struct CsvProblem {
    int line = 0;
    std::string message;
    // "line N: <message>"
    std::string text() const;
};

// Splits `text` into rows. A line end is CRLF, LF or a lone CR; inside a quoted value line
// ends are kept as they stand. Blank lines at the very end are dropped. Returns false and
// fills `problem` at the first malformed quote, leaving `rows` with the rows before it.
[[nodiscard]] bool parseCsv(std::string_view text, std::vector<CsvRow>& rows, CsvProblem& problem);

// Appends one row ending in `lineEnd`, quoting the fields that need it.
void appendCsvRow(std::string& out, const std::vector<std::string>& fields,
                  std::string_view lineEnd = "\r\n");
// One field as it is written: quoted (quotes doubled) when it holds a comma, a quote or a
// line break, or begins or ends with a blank, so that every reader keeps it whole.
std::string csvField(std::string_view value);

}  // namespace quillery
