// Names compared regardless of case: ASCII folding by default, a caller's folding when given.
#include <gtest/gtest.h>

#include "runtime/case_compare.h"

namespace quillery {
namespace {

TEST(CaseCompare, FoldsAsciiLettersOnly) {
    EXPECT_TRUE(equalsIgnoringCase("ZemColSeq", "ZEMCOLSEQ"));
    EXPECT_TRUE(equalsIgnoringCase("", ""));
    EXPECT_FALSE(equalsIgnoringCase("AUTHORKEY", "AUTHORKE"));
    EXPECT_FALSE(equalsIgnoringCase("@", "`"));  // neighbours of 'A' and 'a' are not letters
    EXPECT_FALSE(equalsIgnoringCase("[", "{"));
    EXPECT_FALSE(equalsIgnoringCase("\xE9", "\xC9"));  // é and É: not ASCII, not folded
}

TEST(CaseCompare, PrefixNeedsTheWholePrefix) {
    EXPECT_TRUE(startsWithIgnoringCase("qly:TITLE", "QLY:"));
    EXPECT_TRUE(startsWithIgnoringCase("QLY", ""));
    EXPECT_FALSE(startsWithIgnoringCase("QL", "QLY"));
    EXPECT_FALSE(startsWithIgnoringCase("QLX:", "QLY:"));
}

char latinUpper(char c) {
    return c == '\xE9' ? '\xC9' : asciiUpper(c);
}

TEST(CaseCompare, UsesTheFoldingGiven) {
    EXPECT_TRUE(equalsIgnoringCase("f\xE9vrier", "F\xC9VRIER", latinUpper));
    EXPECT_TRUE(startsWithIgnoringCase("f\xE9vrier", "F\xC9V", latinUpper));
}

}  // namespace
}  // namespace quillery
