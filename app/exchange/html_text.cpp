// Plain text from HTML.
#include "app/exchange/html_text.h"

#include <array>
#include <charconv>

#include "app/exchange/export_text.h"
#include "app/exchange/named_columns.h"

namespace quillery::exchange {

namespace {

struct Entity {
    std::string_view name;
    std::string_view text;
};
constexpr std::array kEntities{
    Entity{"amp", "&"},        Entity{"lt", "<"},          Entity{"gt", ">"},
    Entity{"quot", "\""},      Entity{"apos", "'"},        Entity{"nbsp", " "},
    Entity{"#39", "'"},        Entity{"hellip", "\u2026"}, Entity{"mdash", "\u2014"},
    Entity{"ndash", "\u2013"},
};

// Whether tag `name` (lower case, no attributes) ends a line of text.
bool breaksLine(std::string_view name) {
    if (name.starts_with('/')) name.remove_prefix(1);
    return name == "p" || name == "br" || name == "br/" || name == "div" || name == "li";
}

std::string lowerName(std::string_view tag) {
    std::string name;
    for (const char c : tag) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') break;
        name += c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    }
    return name;
}

// The text of entity `name` ("amp", "#233", "#x2019"); empty when unknown.
std::string entityText(std::string_view name) {
    for (const Entity& each : kEntities) {
        if (each.name == name) return std::string(each.text);
    }
    if (name.size() < 2 || name[0] != '#') return {};
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    unsigned code = 0;
    const auto [end, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
    if (ec != std::errc() || end != digits.data() + digits.size() || code == 0 || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF)) {
        return {};
    }
    std::string text;
    appendUtf8(text, static_cast<char32_t>(code));
    return text;
}

}  // namespace

std::string htmlAsText(std::string_view html) {
    std::string text;
    for (std::size_t i = 0; i < html.size();) {
        const char c = html[i];
        if (c == '<') {
            const std::size_t close = html.find('>', i);
            if (close == std::string_view::npos) break;
            if (breaksLine(lowerName(html.substr(i + 1, close - i - 1))) && !text.empty() &&
                !text.ends_with("\r\n")) {
                text += "\r\n";
            }
            i = close + 1;
        } else if (c == '&') {
            const std::size_t semicolon = html.find(';', i);
            const std::string entity = semicolon == std::string_view::npos || semicolon - i > 10
                                           ? std::string()
                                           : entityText(html.substr(i + 1, semicolon - i - 1));
            if (entity.empty()) {
                text += c;
                ++i;
            } else {
                text += entity;
                i = semicolon + 1;
            }
        } else if (c == '\r' || c == '\n') {
            if (!text.empty() && text.back() != ' ' && !text.ends_with("\r\n")) text += ' ';
            ++i;
        } else {
            text += c;
            ++i;
        }
    }
    return std::string(trimmed(text));
}

}  // namespace quillery::exchange
