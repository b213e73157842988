// The character tables every text comparison uses: the collation (character code to rank) and
// the upper/lower-case pairs. Text is single-byte Windows-1252 throughout the program.
//
// The tables start in character-code order with the pairs A-Z/a-z; the settings file
// (ZEMCOLSEQ, ZEMCASE, ZEMDIGRAPH) may change them once at start-up. Queues and the storage
// engine read them as given.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillery {

// A character that counts as two characters in case-blind comparisons (ZEMDIGRAPH).
struct Digraph {
    std::uint8_t character;
    std::uint8_t first;
    std::uint8_t second;
};

struct CharTables {
    std::array<std::uint8_t, 256> collation;  // character code -> rank
    std::array<std::uint8_t, 256> upper;      // character code -> upper-case character
    std::array<std::uint8_t, 256> lower;      // character code -> lower-case character
    std::vector<Digraph> digraphs;

    // Character-code order, A-Z paired with a-z, no digraphs.
    static CharTables defaults();
};

// The tables in force.
const CharTables& charTables();
// Replaces the tables in force (start-up and tests only).
void setCharTables(const CharTables& tables);

inline std::uint8_t collationRank(unsigned char c) {
    return charTables().collation[c];
}
inline unsigned char toUpperChar(unsigned char c) {
    return charTables().upper[c];
}
inline unsigned char toLowerChar(unsigned char c) {
    return charTables().lower[c];
}

// Compares two texts through the collation table; the shorter is taken as padded with
// spaces, so trailing spaces never make a difference. Returns <0, 0 or >0.
int collateCompare(std::string_view a, std::string_view b);

}  // namespace quillery
