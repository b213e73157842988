// Character tables from the values of the settings file.
#include "runtime/char_table_settings.h"

#include <algorithm>

namespace quillery {
namespace {

// The characters of `sequence` in order, each at its first place only.
std::vector<std::uint8_t> distinctCharacters(std::string_view sequence) {
    std::array<bool, 256> seen{};
    std::vector<std::uint8_t> chars;
    for (char ch : sequence) {
        const auto c = static_cast<std::uint8_t>(ch);
        if (!seen[c]) {
            seen[c] = true;
            chars.push_back(c);
        }
    }
    return chars;
}

CollationTable identityCollation() {
    CollationTable t;
    for (int c = 0; c < 256; ++c)
        t[c] = static_cast<std::uint8_t>(c);
    return t;
}

CollationTable fullSequence(const std::vector<std::uint8_t>& chars) {
    CollationTable t{};
    std::array<bool, 256> listed{};
    std::array<bool, 256> rankTaken{};
    std::uint8_t rank = 32;
    for (std::uint8_t c : chars) {
        if (rank == 127) rank = 128;  // 127 stays outside the printable ranks
        t[c] = rank;
        listed[c] = true;
        rankTaken[rank] = true;
        ++rank;
    }
    int freeRank = 0;
    for (int c = 0; c < 256; ++c) {
        if (listed[c]) continue;
        while (rankTaken[freeRank])
            ++freeRank;
        t[c] = static_cast<std::uint8_t>(freeRank++);
    }
    return t;
}

CollationTable reorderAmongOwnPositions(const std::vector<std::uint8_t>& chars) {
    CollationTable t = identityCollation();
    std::vector<std::uint8_t> positions = chars;
    std::sort(positions.begin(), positions.end());
    for (std::size_t i = 0; i < chars.size(); ++i)
        t[chars[i]] = positions[i];
    return t;
}

void pair(CaseTables& t, std::uint8_t upper, std::uint8_t lower) {
    t.upper[lower] = upper;
    t.lower[upper] = lower;
}

}  // namespace

CollationTable collationFromSequence(std::string_view sequence) {
    const std::vector<std::uint8_t> chars = distinctCharacters(sequence);
    if (chars.size() == kFullCollatingSequenceLength) return fullSequence(chars);
    return reorderAmongOwnPositions(chars);
}

CaseTables asciiCasePairs() {
    const CharTables defaults = CharTables::defaults();
    return {defaults.upper, defaults.lower};
}

CaseTables windowsCasePairs() {
    CaseTables t = asciiCasePairs();
    pair(t, 0x8A, 0x9A);  // S caron
    pair(t, 0x8C, 0x9C);  // OE
    pair(t, 0x8E, 0x9E);  // Z caron
    pair(t, 0x9F, 0xFF);  // Y diaeresis
    for (int c = 0xC0; c <= 0xDE; ++c) {
        if (c == 0xD7) continue;  // multiplication sign / division sign
        pair(t, static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c + 0x20));
    }
    return t;
}

CaseTables casePairsFrom(std::string_view upperList, std::string_view lowerList) {
    CaseTables t = asciiCasePairs();
    std::array<bool, 256> paired{};
    const std::size_t n = std::min(upperList.size(), lowerList.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto u = static_cast<std::uint8_t>(upperList[i]);
        const auto l = static_cast<std::uint8_t>(lowerList[i]);
        // Only the upper half is open to pairing, so A-Z/a-z can never be broken.
        if (u < 128 || l < 128 || u == l || paired[u] || paired[l]) continue;
        pair(t, u, l);
        paired[u] = paired[l] = true;
    }
    return t;
}

std::optional<std::vector<Digraph>> digraphsFrom(const std::vector<std::string>& items) {
    if (items.size() > kMaxDigraphs) return std::nullopt;
    std::vector<Digraph> digraphs;
    std::array<bool, 256> seen{};
    for (const std::string& item : items) {
        if (item.size() != 3) return std::nullopt;
        const Digraph d{static_cast<std::uint8_t>(item[0]), static_cast<std::uint8_t>(item[1]),
                        static_cast<std::uint8_t>(item[2])};
        if (seen[d.character]) continue;
        seen[d.character] = true;
        digraphs.push_back(d);
    }
    return digraphs;
}

}  // namespace quillery
