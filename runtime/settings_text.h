// Small text helpers shared by the readers of the settings file and the locale file: lines and
// blanks (keys are compared with runtime/case_compare.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillery::settings_text {

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

inline std::string_view trimTrailingBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

inline std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    return trimTrailingBlanks(s);
}

// The lines of `text`, split at LF, each without a trailing CR.
inline std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// Reads a whole file; false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& contents);

}  // namespace quillery::settings_text
