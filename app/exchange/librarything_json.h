// LibraryThing's JSON export (one object keyed by book id) seen as the rows of its
// tab-separated export, so one reader serves both: each book a row under the same column
// names, starting on the line its object starts on.
#pragma once

#include <string_view>
#include <vector>

#include "app/csv_format.h"

namespace quillery::exchange {

// Whether `text` is JSON: its first character other than a blank opens an object or a list.
bool isLibraryThingJson(std::string_view text);

// The header row and one row per book; false and `problem` when the JSON is malformed or is
// not a set of books.
bool readLibraryThingJson(std::string_view text, std::vector<CsvRow>& rows, CsvProblem& problem);

}  // namespace quillery::exchange
