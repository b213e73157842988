// Comparing names regardless of case: setting keys, picture letters, font families, CSV columns
// and key names fold ASCII letters only; text in the catalogue's character set passes its own
// upper-case function.
#pragma once

#include <string_view>

namespace quillery {

constexpr char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// True when `a` and `b` are the same once `upper` has folded every character of both.
constexpr bool equalsIgnoringCase(std::string_view a, std::string_view b,
                                  char (*upper)(char) = asciiUpper) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upper(a[i]) != upper(b[i])) return false;
    }
    return true;
}

// True when `text` begins with `prefix` once `upper` has folded both (an empty prefix begins
// every text).
constexpr bool startsWithIgnoringCase(std::string_view text, std::string_view prefix,
                                      char (*upper)(char) = asciiUpper) {
    return text.size() >= prefix.size() &&
           equalsIgnoringCase(text.substr(0, prefix.size()), prefix, upper);
}

}  // namespace quillery
