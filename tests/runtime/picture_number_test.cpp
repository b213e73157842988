// Number and scientific pictures: layout, rounding, overflow, signs, currency, fills, and reading
// typed numbers back.
#include <gtest/gtest.h>
#include <ostream>

#include <string>

#include "runtime/picture.h"

namespace quillery {
namespace {

struct NumberCase {
    double value;
    const char* picture;
    const char* expected;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << c.value << " with " << c.picture;
}

class NumberFormat : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberFormat, ShowsExactText) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(FORMAT(c.value, c.picture), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, NumberFormat,
    ::testing::Values(NumberCase{42, "@N3", " 42"}, NumberCase{1234, "@N5", "1,234"},
                      NumberCase{12345, "@N5", "12345"}, NumberCase{123456, "@N5", "#####"},
                      NumberCase{0, "@N5B", "     "}, NumberCase{0, "@N5", "    0"},
                      NumberCase{1234.5, "@N6", " 1,235"}, NumberCase{99.5, "@N4", " 100"}));

INSTANTIATE_TEST_SUITE_P(
    WidthLimits, NumberFormat,
    ::testing::Values(NumberCase{0, "@N1", "0"}, NumberCase{9, "@N1", "9"},
                      NumberCase{10, "@N1", "#"}, NumberCase{9999, "@N4", "9999"},
                      NumberCase{10000, "@N4", "####"}, NumberCase{0.5, "@N4.2", "0.50"},
                      NumberCase{9.99, "@N4.2", "9.99"}, NumberCase{12.5, "@N4.2", "#.##"},
                      NumberCase{0.25, "@N3.2", ""},  // no room left for the units digit
                      NumberCase{5, "@N-2", " 5"}, NumberCase{-5, "@N-2", "-5"},
                      NumberCase{-10, "@N-2", " #"}));

INSTANTIATE_TEST_SUITE_P(
    NegativeSigns, NumberFormat,
    ::testing::Values(NumberCase{-42, "@N4", "  42"},  // no sign position, no sign shown
                      NumberCase{-42, "@N-4", " -42"}, NumberCase{42, "@N-4", "  42"},
                      NumberCase{-42, "@N4-", " 42-"}, NumberCase{42, "@N4-", " 42 "},
                      NumberCase{-42, "@N(5)", " (42)"}, NumberCase{42, "@N(5)", "  42 "},
                      NumberCase{-123, "@N(5)", "(123)"}, NumberCase{-42, "@N-04", "-042"},
                      NumberCase{-42, "@N-*5", "-**42"},
                      NumberCase{-1234.5, "@N-10.2", " -1,234.50"},
                      NumberCase{-1234.5, "@N(11.2)", " (1,234.50)"},
                      NumberCase{-1234.5, "@N10.2-", " 1,234.50-"},
                      NumberCase{-0.004, "@N-5.2", " 0.00"},  // rounds to zero: no sign
                      NumberCase{-1234, "@N-4", " ###"}));

INSTANTIATE_TEST_SUITE_P(
    Rounding, NumberFormat,
    ::testing::Values(NumberCase{9.995, "@N5.2", "10.00"}, NumberCase{-9.995, "@N-6.2", "-10.00"},
                      NumberCase{9.995, "@N4.2", "#.##"}, NumberCase{0.5, "@N1", "1"},
                      NumberCase{0.4999, "@N1", "0"}, NumberCase{2.5, "@N1", "3"},
                      NumberCase{-0.5, "@N-2", "-1"}, NumberCase{1.005, "@N4.2", "1.01"},
                      NumberCase{0.125, "@N5.2", " 0.13"}, NumberCase{999.5, "@N5", "1,000"},
                      NumberCase{99999.5, "@N6", "100000"}, NumberCase{0.999, "@N4.2", "1.00"},
                      NumberCase{12.3, "@N6.3", "12.300"}));

INSTANTIATE_TEST_SUITE_P(GroupingGivenUpFromTheLeft, NumberFormat,
                         ::testing::Values(NumberCase{1234567, "@N9", "1,234,567"},
                                           NumberCase{12345678, "@N9", "12345,678"},
                                           NumberCase{123456789, "@N9", "123456789"},
                                           NumberCase{1234567890, "@N9", "#########"},
                                           NumberCase{12345678, "@N10", "12,345,678"},
                                           NumberCase{123456789, "@N10", "123456,789"},
                                           NumberCase{1234567, "@N10.2", "1234567.00"}));

INSTANTIATE_TEST_SUITE_P(ImpliedDecimal, NumberFormat,
                         ::testing::Values(NumberCase{123.45, "@N8v2", "   12345"},
                                           NumberCase{0.05, "@N5V2", "  005"},
                                           NumberCase{1234.5, "@N7`v2", "1,23450"},
                                           NumberCase{1234.5, "@N9.v2", "  1.23450"},
                                           NumberCase{-1.5, "@N-5v2", " -150"}));

INSTANTIATE_TEST_SUITE_P(Currency, NumberFormat,
                         ::testing::Values(NumberCase{1234.5, "@N$10.2", " $1,234.50"},
                                           NumberCase{-1234.5, "@N$-10.2", "$-1,234.50"},
                                           NumberCase{5, "@N$-10.2", "     $5.00"},
                                           NumberCase{-5, "@N$-10.2", "    $-5.00"},
                                           NumberCase{12, "@N5$", "  12$"},
                                           NumberCase{1234.5, "@N~EUR~12`2", " EUR1.234,50"},
                                           NumberCase{1234.5, "@N12.2~ DM~", " 1,234.50 DM"},
                                           NumberCase{-1234.5, "@N$(12.2)", " $(1,234.50)"},
                                           NumberCase{-7, "@N(8.2)~kr~", "(7.00)kr"},
                                           NumberCase{1234.5, "@N$*10.2", "$*1,234.50"},
                                           NumberCase{5, "@N$*10.2", "$*****5.00"}));

INSTANTIATE_TEST_SUITE_P(
    FillsAndSeparators, NumberFormat,
    ::testing::Values(
        NumberCase{1234, "@N*9", "****1,234"}, NumberCase{12, "@N*9", "*******12"},
        NumberCase{1234567, "@N*9", "1,234,567"}, NumberCase{12, "@N09", "000000012"},
        NumberCase{1234567, "@N09", "001234567"}, NumberCase{1234567, "@N_9", "  1234567"},
        NumberCase{1234, "@N09.", "00001.234"}, NumberCase{1234567, "@N_9`", "1,234,567"},
        NumberCase{1234567.891, "@N12.`2", "1.234.567,89"},
        NumberCase{1234567.5, "@N12_.2", "1 234 567.50"}, NumberCase{1234.5, "@N8`2", "1.234,50"},
        NumberCase{3.25, "@N6_2", "  3 25"}, NumberCase{0, "@N*5B", "     "},
        NumberCase{0.001, "@N5B", "    0"}));  // only a zero value blanks

INSTANTIATE_TEST_SUITE_P(Scientific, NumberFormat,
                         ::testing::Values(NumberCase{12345.678, "@E12.3", "   1.235e+04"},
                                           NumberCase{-0.000123, "@E12.2", "   -1.23e-04"},
                                           NumberCase{0, "@E9", "    0e+00"},
                                           NumberCase{0, "@E9B", "         "},
                                           NumberCase{1e100, "@E7", " 1e+100"},
                                           NumberCase{-1.5e100, "@E8.1", "########"},
                                           NumberCase{1234.5, "@E10`2", "  1,23e+03"},
                                           NumberCase{-2, "@e8.1", "-2.0e+00"}));

TEST(NumberFormat, WidestPictureHoldsOneDigitRightAligned) {
    EXPECT_EQ(FORMAT(1, "@N255"), std::string(254, ' ') + "1");
    EXPECT_EQ(FORMAT(-1, "@N-255"), std::string(253, ' ') + "-1");
}

TEST(NumberFormat, IntegerOverloadsKeepEveryDigit) {
    // 2^53 + 1 has no double; the integer path must not round it.
    EXPECT_EQ(FORMAT(std::int64_t{9007199254740993}, "@N16"), "9007199254740993");
    EXPECT_EQ(FORMAT(std::int64_t{-9223372036854775807 - 1}, "@N-20"), "-9223372036854775808");
    EXPECT_EQ(FORMAT(42, "@N3"), " 42");
}

TEST(NumberFormat, TextValuesAreReadAsNumbersFirst) {
    EXPECT_EQ(FORMAT("1234.5", "@N6"), " 1,235");
    EXPECT_EQ(FORMAT("  -42", "@N-4"), " -42");
    EXPECT_EQ(FORMAT("+7", "@N2"), " 7");
    EXPECT_EQ(FORMAT("", "@N3"), "  0");
    EXPECT_EQ(FORMAT("abc", "@N3"), "  0");
}

TEST(NumberFormat, NotFiniteValuesOverflow) {
    EXPECT_EQ(FORMAT(std::numeric_limits<double>::infinity(), "@N-5.1"), " ##.#");
    EXPECT_EQ(FORMAT(std::numeric_limits<double>::quiet_NaN(), "@N3"), "###");
    EXPECT_EQ(FORMAT(std::numeric_limits<double>::infinity(), "@E9"), "#########");
}

TEST(NumberFormat, FormatIntoReusesTheBuffer) {
    const CompiledPicture* picture = findPicture("@N-8.2");
    ASSERT_NE(picture, nullptr);
    std::string out = "previous text that is longer";
    formatInto(out, -3.5, *picture);
    EXPECT_EQ(out, "   -3.50");
    formatInto(out, std::int64_t{12}, *picture);
    EXPECT_EQ(out, "   12.00");
}

struct DeformatCase {
    const char* text;
    const char* picture;
    const char* expected;
};

void PrintTo(const DeformatCase& c, std::ostream* os) {
    *os << "[" << c.text << "] with " << c.picture;
}

class NumberDeformat : public ::testing::TestWithParam<DeformatCase> {};

TEST_P(NumberDeformat, KeepsSignDigitsAndPoint) {
    const DeformatCase& c = GetParam();
    EXPECT_EQ(DEFORMAT(c.text, c.picture), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumberDeformat,
    ::testing::Values(
        DeformatCase{" -1,234.50", "@N-10.2", "-1234.50"},
        DeformatCase{"(1,234.50)", "@N(10.2)", "-1234.50"},
        DeformatCase{" 1,234.50-", "@N10.2-", "-1234.50"},
        DeformatCase{" EUR1.234,50", "@N~EUR~12`2", "1234.50"},
        DeformatCase{"  0.50", "@N6.2", "0.50"}, DeformatCase{"    0", "@N5", "0"},
        DeformatCase{"00042", "@N05", "42"}, DeformatCase{"", "@N5", ""},
        DeformatCase{"abc", "@N5", ""}, DeformatCase{"-0.00", "@N-5.2", "0.00"},
        DeformatCase{"****1,234", "@N*9", "1234"},
        DeformatCase{"1.2.3", "@N6.2", "1.23"},  // one decimal point only
        DeformatCase{".5", "@N4.2", "0.5"}, DeformatCase{"   12345", "@N8v2", "123.45"},
        DeformatCase{"5", "@N5v2", "0.05"}, DeformatCase{"  1.23450", "@N9.v2", "1234.50"},
        DeformatCase{"1.5", "@N5v2", "1.5"}, DeformatCase{"   1.235e+04", "@E12.3", "1.235e+04"},
        DeformatCase{"  -1.23E-04", "@E12.2", "-1.23e-04"},
        DeformatCase{"1,5e3", "@E10`1", "1.5e3"},
        // Currency texts are passed over, even when they hold digits or signs.
        DeformatCase{"  A-1  12.50", "@N~A-1~10.2", "12.50"},
        // A space decimal character counts only between digits.
        DeformatCase{" SEK  -12 34", "@N~ SEK~-12_2", "-12.34"}));

TEST(NumberDeformat, TypedValueIsANumber) {
    EXPECT_DOUBLE_EQ(deformatNumber(" -1,234.50", "@N-10.2"), -1234.5);
    EXPECT_DOUBLE_EQ(deformatNumber("   1.235e+04", "@E12.3"), 12350);
    EXPECT_EQ(deformatNumber("", "@N5"), 0);
    EXPECT_EQ(deformatNumber("12", "@Nbad"), 0);
}

// FORMAT then DEFORMAT gives back the value rounded to the picture's decimals.
struct RoundTripPicture {
    const char* picture;
    int decimals;
};

void PrintTo(const RoundTripPicture& p, std::ostream* os) {
    *os << p.picture;
}

class NumberRoundTrip : public ::testing::TestWithParam<RoundTripPicture> {};

TEST_P(NumberRoundTrip, EveryHundredthComesBack) {
    const RoundTripPicture& p = GetParam();
    const CompiledPicture* picture = findPicture(p.picture);
    ASSERT_NE(picture, nullptr);
    const double scale = p.decimals == 2 ? 100.0 : 1.0;
    std::string shown;
    for (int k = -250000; k <= 250000; k += 37) {
        const double value = k / scale;
        formatInto(shown, value, *picture);
        ASSERT_EQ(deformatNumber(shown, *picture), value) << p.picture << " [" << shown << "]";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, NumberRoundTrip,
    ::testing::Values(RoundTripPicture{"@N-12.2", 2}, RoundTripPicture{"@N(13.2)", 2},
                      RoundTripPicture{"@N12.2-", 2}, RoundTripPicture{"@N$-12.2", 2},
                      RoundTripPicture{"@N-12.`2", 2}, RoundTripPicture{"@N-*12.2", 2},
                      RoundTripPicture{"@N-012v2", 2}, RoundTripPicture{"@N-9", 0},
                      RoundTripPicture{"@N~ SEK~-12_2", 2}));

}  // namespace
}  // namespace quillery
