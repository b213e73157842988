// Builds the character tables the settings file asks for: a collating sequence from a list of
// characters (ZEMCOLSEQ), upper/lower-case pairs (ZEMCASE) and digraphs (ZEMDIGRAPH).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/char_tables.h"

namespace quillery {

using CollationTable = std::array<std::uint8_t, 256>;
using CaseTable = std::array<std::uint8_t, 256>;

// A list of this many distinct characters gives every printable character a new rank.
inline constexpr std::size_t kFullCollatingSequenceLength = 222;
inline constexpr std::size_t kMaxDigraphs = 16;

// The collation for `sequence`, starting from character-code order. A character listed twice
// counts at its first place only. When exactly 222 distinct characters remain they take the
// ranks 32-126 (first 95) and 128-254 (the other 127) in the order listed, and the characters
// not listed take the ranks left over in code order (with the usual list, 0-31, 127 and 255
// keep their own). Otherwise the listed characters are reordered among their own code
// positions and every other character keeps its position. Either way the result is a
// permutation, so no two characters ever rank equal.
CollationTable collationFromSequence(std::string_view sequence);

// Case tables with only A-Z paired with a-z.
struct CaseTables {
    CaseTable upper;
    CaseTable lower;
};
CaseTables asciiCasePairs();
// A-Z/a-z plus the Windows-1252 letter pairs: S/Z with caron, OE, Y with diaeresis, and
// 0xC0-0xDE with 0xE0-0xFE except the multiplication and division signs.
CaseTables windowsCasePairs();
// A-Z/a-z plus the pairs upperList[i]/lowerList[i] where both characters lie in 128-255. A
// character already paired earlier in the lists keeps its first partner. Requires: the two
// lists have equal length.
CaseTables casePairsFrom(std::string_view upperList, std::string_view lowerList);

// Digraphs from three-character items (the character, then the two it counts as). nullopt when
// there are more than 16 items or an item is not three characters long. A character given
// twice keeps its first expansion.
std::optional<std::vector<Digraph>> digraphsFrom(const std::vector<std::string>& items);

}  // namespace quillery
