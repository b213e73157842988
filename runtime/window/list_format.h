// The column format string of list boxes: "[16607L(2)]", "80L(2)|M~Title~@s45@#3#".
// Each column is a width in dialog units, an alignment letter (L, R, C, D), an optional
// indent in parentheses, and optional parts: ~header~, @picture@, #queue field#. Brackets
// group columns; flag letters this engine has no use for are skipped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillery {

struct ListColumn {
    int width = 0;       // dialog units
    char align = 'L';    // L, R, C or D (decimal: right)
    int indent = 0;      // dialog units
    std::string header;  // Windows-1252
    std::string picture;
    int field = 0;  // queue field; 0: the one after the previous column's
};

std::vector<ListColumn> parseListFormat(std::string_view format);

}  // namespace quillery
