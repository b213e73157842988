// Tab-separated values as LibraryThing exchanges them: one row a line, values split at each
// tab, no quoting. Line ends are CR LF, LF or a lone CR; a UTF-8 byte order mark at the start
// is skipped and blank lines at the end are dropped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/csv_format.h"

namespace quillery::exchange {

std::vector<CsvRow> parseTabSeparated(std::string_view text);

// Appends one row ending in CR LF. A tab or line break inside a value, which the format
// cannot hold, becomes a blank.
void appendTabSeparatedRow(std::string& out, const std::vector<std::string>& values);

}  // namespace quillery::exchange
