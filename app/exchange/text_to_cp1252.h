// UTF-8 text brought into the catalogue's Windows-1252: every character the code page has is
// kept exactly; any other becomes its nearest plain form (a letter without its accent, a
// typographic space as a blank, a ligature as its letters) or, where there is none, '?'.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillery::exchange {

struct Cp1252Text {
    std::string text;          // Windows-1252
    std::size_t replaced = 0;  // characters the code page lacks, each replaced or dropped
    bool validUtf8 = true;     // false: `text` is empty and the input was not UTF-8
};

Cp1252Text textToCp1252(std::string_view utf8);

}  // namespace quillery::exchange
