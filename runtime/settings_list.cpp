// Splitting a settings value into its items.
#include "runtime/settings_list.h"

#include "runtime/settings_text.h"

namespace quillery {
namespace {

bool isQuote(char c) {
    return c == '\'' || c == '"';
}

// Reads the quoted item that opens at value[i] (the quote) and moves i past its closing quote.
std::string readQuoted(std::string_view value, std::size_t& i) {
    const char quote = value[i++];
    std::string item;
    while (i < value.size()) {
        const char c = value[i++];
        if (c != quote) {
            item.push_back(c);
        } else if (i < value.size() && value[i] == quote) {
            item.push_back(quote);  // doubled: one quote inside the item
            ++i;
        } else {
            break;
        }
    }
    return item;
}

}  // namespace

std::vector<std::string> splitSettingsList(std::string_view value) {
    std::vector<std::string> items;
    if (settings_text::trimBlanks(value).empty()) return items;
    std::size_t i = 0;
    while (true) {
        while (i < value.size() && settings_text::isBlank(value[i]))
            ++i;
        const std::size_t comma = value.find(',', i);
        if (i < value.size() && isQuote(value[i])) {
            items.push_back(readQuoted(value, i));
            // Whatever follows the closing quote up to the next comma is not part of the item.
            const std::size_t next = value.find(',', i);
            if (next == std::string_view::npos) break;
            i = next + 1;
            continue;
        }
        const std::string_view raw =
            value.substr(i, comma == std::string_view::npos ? value.npos : comma - i);
        items.emplace_back(settings_text::trimBlanks(raw));
        if (comma == std::string_view::npos) break;
        i = comma + 1;
    }
    return items;
}

}  // namespace quillery
