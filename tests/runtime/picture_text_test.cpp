// String, pattern and key-in pictures; invalid pictures; picture spelling and the cache.
#include <gtest/gtest.h>

#include <string>

#include "runtime/picture.h"
#include "tests/runtime/picture_test_support.h"

namespace quillery {
namespace {

using testing::PinnedPictureTest;

struct TextCase {
    const char* value;
    const char* picture;
    std::string expected;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << "[" << c.value << "] with " << c.picture;
}

class TextFormat : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextFormat, ShowsExactText) {
    const TextCase& c = GetParam();
    EXPECT_EQ(FORMAT(c.value, c.picture), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Strings, TextFormat,
                         ::testing::Values(TextCase{"catalogue", "@S5", "catal"},
                                           TextCase{"ab", "@S5", "ab   "},
                                           TextCase{"", "@S3", "   "}, TextCase{"xyz", "@S1", "x"},
                                           TextCase{"Title", "s15", "Title          "},
                                           TextCase{"\xE9t\xE9", "@s4", "\xE9t\xE9 "},
                                           TextCase{"12345", "@S5", "12345"}));

INSTANTIATE_TEST_SUITE_P(KeyIn, TextFormat,
                         ::testing::Values(TextCase{"AB-12x", "@K@@-##?K", "AB-12x"},
                                           TextCase{"ABCDEFGH", "@K@@-##?K", "ABCDEF"},
                                           TextCase{"A", "@K@@-##?K", "A     "},
                                           TextCase{"x", "@K\\##K", "x "},
                                           TextCase{"abc", "k^^^^k", "abc "}));

INSTANTIATE_TEST_SUITE_P(
    TextsForNumberPictures, TextFormat,
    ::testing::Values(TextCase{"5551234567", "@P(###)###-####P", "(555)123-4567"},
                      TextCase{"42", "@P###P", "042"}, TextCase{"1234.5", "@N6", " 1,235"}));

TEST(StringFormat, NumbersBecomeTheirPlainDecimalText) {
    EXPECT_EQ(FORMAT(42, "@S5"), "42   ");
    EXPECT_EQ(FORMAT(1234.5, "@S8"), "1234.5  ");
    EXPECT_EQ(FORMAT(-0.25, "@S6"), "-0.25 ");
    EXPECT_EQ(FORMAT(std::int64_t{-7}, "@S3"), "-7 ");
    EXPECT_EQ(FORMAT(1e20, "@S25"), "100000000000000000000    ");
    EXPECT_EQ(FORMAT(42, "@K####K"), "42  ");
}

TEST(StringFormat, WidestPictureCutsAt255) {
    const std::string longText(300, 'q');
    EXPECT_EQ(FORMAT(longText, "@S255"), std::string(255, 'q'));
    EXPECT_EQ(FORMAT("a", "@S255"), "a" + std::string(254, ' '));
}

TEST(StringDeformat, GivesTheTextUnchanged) {
    EXPECT_EQ(DEFORMAT("  ab  ", "@S6"), "  ab  ");
    EXPECT_EQ(DEFORMAT("longer than the picture", "@S3"), "longer than the picture");
    EXPECT_EQ(DEFORMAT("", "@S3"), "");
}

struct PatternCase {
    double value;
    const char* picture;
    const char* expected;
};

void PrintTo(const PatternCase& c, std::ostream* os) {
    *os << c.value << " with " << c.picture;
}

class PatternFormat : public ::testing::TestWithParam<PatternCase> {};

TEST_P(PatternFormat, ShowsExactText) {
    const PatternCase& c = GetParam();
    EXPECT_EQ(FORMAT(c.value, c.picture), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, PatternFormat,
    ::testing::Values(PatternCase{5551234567.0, "@P(###)###-####P", "(555)123-4567"},
                      PatternCase{42, "@P<<#P", " 42"}, PatternCase{0, "@P<<<P", "   "},
                      PatternCase{0, "@P<<#P", "  0"}, PatternCase{7, "@P##-##P", "00-07"},
                      PatternCase{1234, "@P<#-##P", "12-34"}, PatternCase{102, "@P<<<<P", " 102"},
                      PatternCase{12345, "@P###P", "###"}, PatternCase{-42, "@P###P", "042"},
                      PatternCase{42.9, "@P###P", "042"}, PatternCase{5, "p##p", "05"},
                      PatternCase{7, "@PNo. ###P", "No. 007"}, PatternCase{7, "@PP-##P", "P-07"},
                      PatternCase{1002, "@P<<<<<<P", "  1002"}));

TEST(PatternDeformat, KeepsTheDigitsAtDigitPositions) {
    EXPECT_EQ(DEFORMAT("(555)123-4567", "@P(###)###-####P"), "5551234567");
    EXPECT_EQ(DEFORMAT("  0", "@P<<#P"), "0");
    EXPECT_EQ(DEFORMAT(" 42", "@P<<#P"), "42");
    EXPECT_EQ(DEFORMAT("00-07", "@P##-##P"), "7");
    EXPECT_EQ(DEFORMAT("", "@P##P"), "");
    EXPECT_EQ(DEFORMAT("1o. 007", "@PNo. ###P"), "7");  // a digit at a literal is not data
    EXPECT_EQ(deformatNumber("(555)123-4567", "@P(###)###-####P"), 5551234567.0);
}

TEST(PatternRoundTrip, EveryValueComesBack) {
    const CompiledPicture* picture = findPicture("@P<<#-###P");
    ASSERT_NE(picture, nullptr);
    std::string shown;
    for (int value = 0; value < 1000000; value += 7) {
        formatInto(shown, std::int64_t{value}, *picture);
        ASSERT_EQ(deformatNumber(shown, *picture), value) << shown;
    }
}

TEST(KeyInDeformat, KeepsTypedCharacters) {
    EXPECT_EQ(DEFORMAT("AB-12x", "@K@@-##?K"), "AB12x");
    EXPECT_EQ(DEFORMAT("abcde", "@K@^_?|K"), "abcd");  // '|' positions are not kept
    EXPECT_EQ(DEFORMAT("@x", "@K\\@@K"), "x");         // an escaped '@' is a literal
    EXPECT_EQ(DEFORMAT("1a", "@K##K"), "1");
    EXPECT_EQ(DEFORMAT("A", "@K@@@K"), "A");
    EXPECT_EQ(DEFORMAT("", "@K@@@K"), "");
}

TEST(InvalidPictures, FormatAndDeformatToEmptyText) {
    for (const char* picture :
         {"",        "@",    "@X5",   "@Q5",     "5",     "@N",     "@N0",     "@N256",
          "@N1000",  "@N-1", "@N3.2", "@N(5",    "@N5)",  "@N(5-)", "@N-5-",   "@N$5$",
          "@N~EUR5", "@N5x", "@NB",   "@N5.2.3", "@N5v",  "@N5vv2", "@E6",     "@E7.1",
          "@E",      "@E9x", "@S",    "@S0",     "@S256", "@Sx",    "@S5x",    "@S1234",
          "@P##",    "@P",   "@PP",   "@P##K",   "@K##",  "@KK",    "@K##\\K", "@K"}) {
        EXPECT_EQ(FORMAT(1.5, picture), "") << picture;
        EXPECT_EQ(FORMAT(std::int64_t{7}, picture), "") << picture;
        EXPECT_EQ(FORMAT("text", picture), "") << picture;
        EXPECT_EQ(DEFORMAT("12", picture), "") << picture;
        EXPECT_EQ(findPicture(picture), nullptr) << picture;
    }
}

TEST(PictureSpelling, AtSignAndLetterCaseDoNotMatter) {
    for (const char* picture : {"@N5", "@n5", "N5", "n5"}) {
        EXPECT_EQ(FORMAT(1234, picture), "1,234") << picture;
        EXPECT_EQ(DEFORMAT("1,234", picture), "1234") << picture;
    }
    EXPECT_EQ(FORMAT(72687, "d1"), " 1/01/00");
    EXPECT_EQ(FORMAT(4710001, "T1"), "13:05");
    EXPECT_EQ(FORMAT(5, "@E9.1b"), "  5.0e+00");
    EXPECT_EQ(FORMAT(0, "@n5b"), "     ");
}

TEST(PictureSpelling, TrailingBlanksOfAStoredPictureAreIgnored) {
    // Layouts keep their pictures in blank-padded fields.
    EXPECT_EQ(FORMAT("abcdef", "s5   "), "abcde");
    EXPECT_EQ(FORMAT(1234, "N5 "), "1,234");
    EXPECT_EQ(FORMAT(72687, "d1          "), " 1/01/00");
    EXPECT_EQ(FORMAT(42, "@P# #P  "), "4 2");
    EXPECT_EQ(FORMAT(1, "   "), "");
}

TEST(PictureCache, CompilesOncePerText) {
    const CompiledPicture* first = findPicture("@N-10.2");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(findPicture("@N-10.2"), first);
    EXPECT_EQ(first->kind, PictureKind::Number);
    EXPECT_EQ(first->length, 10);
    const CompiledPicture* date = findPicture("d2<20");
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->kind, PictureKind::Date);
    EXPECT_EQ(date->length, 10);
    EXPECT_EQ(date->centuryCutoff, 20);
    EXPECT_EQ(findPicture("@D2>20")->centuryCutoff, 79);
    EXPECT_EQ(findPicture("@D2")->centuryCutoff, 80);
    EXPECT_EQ(findPicture("@D2>0")->centuryCutoff, 19);
}

TEST_F(PinnedPictureTest, LocaleChangeRecompilesButKeepsOldPicturesAlive) {
    const CompiledPicture* before = findPicture("@D17");
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(before->length, 8);
    LocaleSettings locale = LocaleSettings::defaults();
    locale.shortDatePattern = "yyyy-MM-dd";
    setLocaleSettings(locale);
    const CompiledPicture* after = findPicture("@D17");
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->length, 10);
    EXPECT_EQ(before->length, 8);  // still readable by whoever holds it
    EXPECT_EQ(findPicture("@D17"), after);
    EXPECT_EQ(FORMAT(72687, "@D17"), "2000-01-01");
}

TEST_F(PinnedPictureTest, CompiledPositionsOfADatePicture) {
    const CompiledPicture* picture = findPicture("@D1");
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->positions.size(), 8u);
    const PicturePosition& month = picture->positions[0];
    EXPECT_EQ(month.code, PositionCode::Month);
    EXPECT_EQ(month.fill, ' ');
    EXPECT_EQ(picture->positions[1].fill, '0');
    EXPECT_EQ(picture->positions[2].code, PositionCode::Separator);
    EXPECT_EQ(picture->positions[2].fill, '/');
    EXPECT_EQ(findPicture("@D1-")->positions[2].fill, '-');
}

TEST(NumberPicture, CompiledPositionsLayOutFromTheRight) {
    const CompiledPicture* picture = findPicture("@N$-9.2");
    ASSERT_NE(picture, nullptr);
    // $ - d , d d d . d d  -> one currency, one sign, 4 integer positions with no grouping.
    const char* expectedCodes = "CSBBBDPDD";
    ASSERT_EQ(picture->positions.size(), 9u);
    for (std::size_t i = 0; i < 9; ++i) {
        const PositionCode code = picture->positions[i].code;
        const char letter = code == PositionCode::Currency       ? 'C'
                            : code == PositionCode::Sign         ? 'S'
                            : code == PositionCode::BlankDigit   ? 'B'
                            : code == PositionCode::Digit        ? 'D'
                            : code == PositionCode::DecimalPoint ? 'P'
                            : code == PositionCode::Grouping     ? 'G'
                                                                 : '?';
        EXPECT_EQ(letter, expectedCodes[i]) << i;
    }
    EXPECT_EQ(picture->number.decimals, 2);
    EXPECT_EQ(picture->number.negative, NegativeStyle::LeadingMinus);
}

}  // namespace
}  // namespace quillery
