// The opening step every reader shares: an export's bytes as UTF-8 text without a byte-order
// mark. Files saved by spreadsheet programs come as UTF-16 with a byte-order mark; those are
// converted, so no reader sees a column named "B\0o\0o\0k".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/csv_format.h"

namespace quillery::exchange {

struct ExportText {
    std::string text;  // UTF-8 (or the bytes as they came), no byte-order mark
    std::optional<CsvProblem> problem;
};

ExportText decodeExportText(std::string_view bytes);

// Appends the UTF-8 form of code point `c`.
void appendUtf8(std::string& out, char32_t c);

}  // namespace quillery::exchange
