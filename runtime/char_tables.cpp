// Default character tables and the collating comparison.
#include "runtime/char_tables.h"

namespace quillery {

CharTables CharTables::defaults() {
    CharTables t;
    for (int c = 0; c < 256; ++c) {
        t.collation[c] = static_cast<std::uint8_t>(c);
        t.upper[c] = static_cast<std::uint8_t>(c);
        t.lower[c] = static_cast<std::uint8_t>(c);
    }
    for (int c = 'a'; c <= 'z'; ++c) {
        t.upper[c] = static_cast<std::uint8_t>(c - 'a' + 'A');
        t.lower[c - 'a' + 'A'] = static_cast<std::uint8_t>(c);
    }
    return t;
}

namespace {
CharTables& tablesInForce() {
    static CharTables tables = CharTables::defaults();
    return tables;
}
}  // namespace

const CharTables& charTables() {
    return tablesInForce();
}

void setCharTables(const CharTables& tables) {
    tablesInForce() = tables;
}

int collateCompare(std::string_view a, std::string_view b) {
    const auto& rank = charTables().collation;
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const int d =
            rank[static_cast<unsigned char>(a[i])] - rank[static_cast<unsigned char>(b[i])];
        if (d != 0) return d;
    }
    // The longer value's first non-space extra byte decides, against a space.
    const std::string_view rest = a.size() > b.size() ? a.substr(common) : b.substr(common);
    const int sign = a.size() > b.size() ? 1 : -1;
    for (char c : rest) {
        if (c == ' ') continue;
        return sign * (rank[static_cast<unsigned char>(c)] - rank[static_cast<unsigned char>(' ')]);
    }
    return 0;
}

}  // namespace quillery
