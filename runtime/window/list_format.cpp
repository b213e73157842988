// Parsing list column formats.
#include "runtime/window/list_format.h"

#include <cctype>

namespace quillery {
namespace {

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Reads a whole number at `i`, advancing past it; caps it so that no text overflows.
int readNumber(std::string_view text, std::size_t& i) {
    int value = 0;
    while (i < text.size() && isDigit(text[i])) {
        if (value < 1000000) value = value * 10 + (text[i] - '0');
        ++i;
    }
    return value;
}

// Reads up to the closing `delimiter`; the whole rest when it is missing.
std::string readUntil(std::string_view text, std::size_t& i, char delimiter) {
    const std::size_t end = text.find(delimiter, i);
    const std::size_t stop = end == std::string_view::npos ? text.size() : end;
    std::string part(text.substr(i, stop - i));
    i = end == std::string_view::npos ? text.size() : end + 1;
    return part;
}

}  // namespace

std::vector<ListColumn> parseListFormat(std::string_view format) {
    std::vector<ListColumn> columns;
    std::size_t i = 0;
    ListColumn* column = nullptr;
    while (i < format.size()) {
        const char c = format[i];
        if (isDigit(c)) {
            columns.push_back(ListColumn{});
            column = &columns.back();
            column->width = readNumber(format, i);
            continue;
        }
        ++i;
        if (column == nullptr) continue;  // group brackets and headers before any column
        switch (std::toupper(static_cast<unsigned char>(c))) {
            case 'L':
            case 'R':
            case 'C':
            case 'D':
                column->align = static_cast<char>(std::toupper(c));
                break;
            case '(':
                column->indent = readNumber(format, i);
                if (i < format.size() && format[i] == ')') ++i;
                break;
            case '~':
                column->header = readUntil(format, i, '~');
                break;
            case '@':
                column->picture = readUntil(format, i, '@');
                break;
            case '#':
                column->field = readNumber(format, i);
                if (i < format.size() && format[i] == '#') ++i;
                break;
            default:
                break;  // flags such as | M _ / and brackets
        }
    }
    return columns;
}

}  // namespace quillery
