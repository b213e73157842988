// The collating comparison over the character tables.
#include <gtest/gtest.h>

#include "runtime/char_tables.h"

namespace quillery {
namespace {

TEST(CollateCompare, TrailingSpacesNeverMatter) {
    EXPECT_EQ(collateCompare("ABC", "ABC   "), 0);
    EXPECT_EQ(collateCompare("ABC   ", "ABC"), 0);
    EXPECT_EQ(collateCompare("", "    "), 0);
}

TEST(CollateCompare, LongerValueComparesItsFirstNonSpaceExtraByteWithASpace) {
    EXPECT_GT(collateCompare("ABC  D", "ABC"), 0);
    EXPECT_LT(collateCompare("ABC", "ABC  D"), 0);
    // A control character ranks below a space.
    EXPECT_LT(collateCompare("AB\x01", "AB"), 0);
}

TEST(CollateCompare, DefaultOrderIsCharacterCodeCaseSensitive) {
    EXPECT_LT(collateCompare("9", "A"), 0);
    EXPECT_LT(collateCompare("XYZ", "abc"), 0);
    EXPECT_GT(collateCompare("abc", "ABC"), 0);
}

TEST(CollateCompare, FollowsTheTableInForce) {
    CharTables reversed = CharTables::defaults();
    for (int c = 0; c < 256; ++c)
        reversed.collation[c] = static_cast<std::uint8_t>(255 - c);
    setCharTables(reversed);
    EXPECT_GT(collateCompare("A", "B"), 0);
    setCharTables(CharTables::defaults());
    EXPECT_LT(collateCompare("A", "B"), 0);
}

TEST(CharTables, DefaultsPairOnlyAsciiLetters) {
    const CharTables t = CharTables::defaults();
    EXPECT_EQ(t.upper['q'], 'Q');
    EXPECT_EQ(t.lower['Q'], 'q');
    EXPECT_EQ(t.upper[0xE9], 0xE9);
    EXPECT_EQ(t.upper['1'], '1');
}

}  // namespace
}  // namespace quillery
