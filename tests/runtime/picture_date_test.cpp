// Date pictures: every numbered picture on several dates, fill characters, separator modifiers,
// century windows, the locale's date formats, and reading dates back.
#include <gtest/gtest.h>

#include <string>

#include "runtime/dates.h"
#include "runtime/picture.h"
#include "tests/runtime/picture_test_support.h"

namespace quillery {
namespace {

using testing::PinnedPictureParamTest;
using testing::PinnedPictureTest;

constexpr std::int32_t k1Jan2000 = 72687;
constexpr std::int32_t k31Dec2099 = 109211;
constexpr std::int32_t k1Jan1801 = 4;

struct DateCase {
    int year, month, day;
    const char* picture;
    const char* expected;
};

void PrintTo(const DateCase& c, std::ostream* os) {
    *os << c.year << "-" << c.month << "-" << c.day << " with " << c.picture;
}

class DateFormat : public PinnedPictureParamTest<DateCase> {};

TEST_P(DateFormat, ShowsExactText) {
    const DateCase& c = GetParam();
    const std::int32_t n = dayNumberOf(c.year, c.month, c.day);
    ASSERT_GT(n, 0);
    EXPECT_EQ(FORMAT(n, c.picture), c.expected);
}

INSTANTIATE_TEST_SUITE_P(EdgeCases, DateFormat,
                         ::testing::Values(DateCase{2000, 1, 1, "@D1", " 1/01/00"},
                                           DateCase{2000, 1, 1, "@D2", " 1/01/2000"},
                                           DateCase{2000, 1, 1, "@D6", " 1/01/2000"},
                                           DateCase{2000, 1, 1, "@D12", "20000101"},
                                           DateCase{2000, 1, 1, "@D1-", " 1-01-00"}));

INSTANTIATE_TEST_SUITE_P(
    EveryPicture, DateFormat,
    ::testing::Values(
        DateCase{2000, 1, 1, "@D1", " 1/01/00"}, DateCase{1998, 3, 5, "@D1", " 3/05/98"},
        DateCase{2099, 12, 31, "@D1", "12/31/99"}, DateCase{2010, 10, 10, "@D1", "10/10/10"},
        DateCase{1946, 7, 9, "@D1", " 7/09/46"}, DateCase{1801, 1, 1, "@D1", " 1/01/01"},
        DateCase{1998, 3, 5, "@D2", " 3/05/1998"}, DateCase{2099, 12, 31, "@D2", "12/31/2099"},
        DateCase{1801, 1, 1, "@D2", " 1/01/1801"}, DateCase{2000, 1, 1, "@D3", "Jan  1,2000"},
        DateCase{1998, 3, 5, "@D3", "Mar  5,1998"}, DateCase{2099, 12, 31, "@D3", "Dec 31,2099"},
        DateCase{2000, 1, 1, "@D4", "January  1, 2000     "},
        DateCase{1998, 3, 5, "@D4", "March  5, 1998       "},
        DateCase{2099, 12, 31, "@D4", "December 31, 2099    "},
        DateCase{2001, 9, 30, "@D4", "September 30, 2001   "},
        DateCase{2000, 1, 1, "@D5", " 1/01/00"}, DateCase{1998, 3, 5, "@D5", " 5/03/98"},
        DateCase{2099, 12, 31, "@D5", "31/12/99"}, DateCase{1998, 3, 5, "@D6", " 5/03/1998"},
        DateCase{2099, 12, 31, "@D6", "31/12/2099"}, DateCase{2000, 1, 1, "@D7", " 1 Jan 00"},
        DateCase{2099, 12, 31, "@D7", "31 Dec 99"}, DateCase{1998, 3, 5, "@D8", " 5 Mar 1998"},
        DateCase{2010, 10, 10, "@D8", "10 Oct 2010"}, DateCase{2000, 1, 1, "@D9", "00/01/01"},
        DateCase{1998, 3, 5, "@D9", "98/03/05"}, DateCase{2000, 1, 1, "@D10", "2000/01/01"},
        DateCase{2099, 12, 31, "@D10", "2099/12/31"}, DateCase{2000, 1, 1, "@D11", "000101"},
        DateCase{1998, 3, 5, "@D11", "980305"}, DateCase{1998, 3, 5, "@D12", "19980305"},
        DateCase{2000, 1, 1, "@D13", "01/00"}, DateCase{2099, 12, 31, "@D13", "12/99"},
        DateCase{1998, 3, 5, "@D14", "03/1998"}, DateCase{2000, 1, 1, "@D15", "00/01"},
        DateCase{1998, 3, 5, "@D15", "98/03"}, DateCase{2099, 12, 31, "@D16", "2099/12"},
        DateCase{2000, 1, 1, "@D17", "01/01/00"}, DateCase{1998, 3, 5, "@D17", "03/05/98"},
        DateCase{2000, 1, 1, "@D18", "Sat, January 01, 2000     "},
        DateCase{1998, 3, 5, "@D18", "Thu, March 05, 1998       "},
        DateCase{1801, 1, 1, "@D18", "Thu, January 01, 1801     "},
        // Letters in either case, with or without '@'.
        DateCase{1998, 3, 5, "d2", " 3/05/1998"}, DateCase{1998, 3, 5, "@d8", " 5 Mar 1998"}));

INSTANTIATE_TEST_SUITE_P(FillCharacters, DateFormat,
                         ::testing::Values(DateCase{1998, 3, 5, "@D01", "03/05/98"},
                                           DateCase{1998, 3, 5, "@D_1", " 3/ 5/98"},
                                           DateCase{1998, 3, 5, "@D*1", "*3/*5/98"},
                                           DateCase{2000, 1, 1, "@D*2", "*1/*1/2000"},
                                           DateCase{2000, 1, 1, "@D*12", "2000*1*1"},
                                           DateCase{2000, 1, 1, "@D010", "2000/01/01"},
                                           // Only leading zeros take the fill: 10 never reads "1_".
                                           DateCase{2010, 10, 10, "@D_1", "10/10/10"},
                                           DateCase{2000, 1, 1, "@D_11", " 0 1 1"},
                                           // An explicit fill pads the month name to its positions.
                                           DateCase{1998, 3, 5, "@D*4", "March******* *5, 1998"},
                                           DateCase{1998, 3, 5, "@D_4", "March         5, 1998"},
                                           DateCase{1998, 3, 5, "@D06", "05/03/1998"}));

INSTANTIATE_TEST_SUITE_P(
    SeparatorModifiers, DateFormat,
    ::testing::Values(
        DateCase{2000, 1, 1, "@D1.", " 1.01.00"}, DateCase{2000, 1, 1, "@D1_", " 1 01 00"},
        DateCase{2000, 1, 1, "@D1`", " 1,01,00"}, DateCase{2000, 1, 1, "@D10-", "2000-01-01"},
        DateCase{1998, 3, 5, "@D3-", "Mar  5,1998"},  // no separators to replace
        DateCase{2000, 1, 1, "@D17.", "01.01.00"}, DateCase{1998, 3, 5, "@D*6.", "*5.*3.1998"},
        DateCase{2000, 1, 1, "@D1<10-", " 1-01-00"}, DateCase{2000, 1, 1, "@D1>10", " 1/01/00"}));

TEST_F(PinnedPictureTest, InvalidDayNumbersShowAsSpaces) {
    const int lengths[18] = {8, 10, 11, 21, 8, 10, 9, 11, 8, 10, 6, 8, 5, 7, 5, 7, 8, 26};
    for (int n = 1; n <= 18; ++n) {
        const std::string picture = "@D" + std::to_string(n);
        const std::string blank(static_cast<std::size_t>(lengths[n - 1]), ' ');
        for (std::int64_t day : {0, 3, -1, 109212, 1 << 30}) {
            EXPECT_EQ(FORMAT(day, picture), blank) << picture << " " << day;
        }
        EXPECT_EQ(FORMAT(k1Jan1801, picture).size(), blank.size()) << picture;
        EXPECT_NE(FORMAT(k31Dec2099, picture), blank) << picture;
    }
    EXPECT_EQ(FORMAT(std::numeric_limits<double>::quiet_NaN(), "@D1"), "        ");
    EXPECT_EQ(FORMAT(72687.9, "@D1"), " 1/01/00");  // the day number's integer part
    EXPECT_EQ(FORMAT("72687", "@D2"), " 1/01/2000");
}

TEST_F(PinnedPictureTest, InvalidDatePicturesGiveEmptyText) {
    for (const char* picture : {"@D", "@D0", "@D19", "@D99", "@D123", "@D1x", "@D1<", "@D1>",
                                "@D1<100", "@D1--", "@D1/", "@D#1", "@D1<5x"}) {
        EXPECT_EQ(FORMAT(k1Jan2000, picture), "") << picture;
        EXPECT_EQ(DEFORMAT("1/1/00", picture), "") << picture;
    }
}

TEST_F(PinnedPictureTest, LocaleShortAndLongFormats) {
    LocaleSettings locale = LocaleSettings::defaults();
    locale.shortDatePattern = "d.M.yyyy";
    locale.longDatePattern = "dddd, d MMMM yyyy";
    setLocaleSettings(locale);
    const std::int32_t march5 = dayNumberOf(1998, 3, 5);
    EXPECT_EQ(FORMAT(march5, "@D17"), " 5. 3.1998");
    EXPECT_EQ(FORMAT(march5, "@D17-"), " 5- 3-1998");
    EXPECT_EQ(FORMAT(march5, "@D18"), "Thursday,  5 March 1998" + std::string(8, ' '));
    EXPECT_EQ(DEFORMAT(" 5. 3.1998", "@D17"), std::to_string(march5));
    EXPECT_EQ(DEFORMAT("Thursday,  5 March 1998", "@D18"), std::to_string(march5));

    locale.shortDatePattern = "dd-MMM-yy";
    locale.longDatePattern = "MM/dd/yy 'o''clock'";
    setLocaleSettings(locale);
    // The cached pictures follow the new formats.
    EXPECT_EQ(FORMAT(march5, "@D17"), "05-Mar-98");
    EXPECT_EQ(FORMAT(march5, "@D18"), "03/05/98 o'clock");
    EXPECT_EQ(DEFORMAT("05-MAR-98", "@D17"), std::to_string(march5));
}

TEST_F(PinnedPictureTest, LocaleMonthNamesAndAbbreviations) {
    LocaleSettings locale = LocaleSettings::defaults();
    locale.monthNames[2] = "M\xE4rz";
    locale.monthAbbrevs[2] = "Mrz";
    setLocaleSettings(locale);
    const std::int32_t march5 = dayNumberOf(1998, 3, 5);
    EXPECT_EQ(FORMAT(march5, "@D3"), "M\xE4r  5,1998");
    EXPECT_EQ(FORMAT(march5, "@D4"), "M\xE4rz  5, 1998" + std::string(8, ' '));
    EXPECT_EQ(DEFORMAT("Mrz  5,1998", "@D3"), std::to_string(march5));
    EXPECT_EQ(DEFORMAT("M\xE4r  5,1998", "@D3"), std::to_string(march5));
}

struct DeformatDateCase {
    const char* text;
    const char* picture;
    std::int32_t expected;  // a day number, -1 or 0
};

void PrintTo(const DeformatDateCase& c, std::ostream* os) {
    *os << "[" << c.text << "] with " << c.picture;
}

class DateDeformat : public PinnedPictureParamTest<DeformatDateCase> {};

TEST_P(DateDeformat, GivesTheDayNumber) {
    const DeformatDateCase& c = GetParam();
    EXPECT_EQ(DEFORMAT(c.text, c.picture), std::to_string(c.expected));
    EXPECT_EQ(deformatNumber(c.text, c.picture), c.expected);
}

const std::int32_t kMarch5th1998 = 72020;

INSTANTIATE_TEST_SUITE_P(
    Texts, DateDeformat,
    ::testing::Values(
        DeformatDateCase{"", "@D1", 0}, DeformatDateCase{"        ", "@D1", 0},
        DeformatDateCase{"  /  /  ", "@D1", 0}, DeformatDateCase{"March", "@D4", 0},
        DeformatDateCase{" 1/01/00", "@D1", k1Jan2000},
        DeformatDateCase{"1/1/2000", "@D1", k1Jan2000},
        DeformatDateCase{"01012000", "@D1", k1Jan2000},  // digits only, part by part
        DeformatDateCase{" 3/05/98", "@D1", kMarch5th1998}, DeformatDateCase{"2/30/98", "@D1", -1},
        DeformatDateCase{"13/01/98", "@D1", -1}, DeformatDateCase{"0/01/98", "@D1", -1},
        DeformatDateCase{"2/29/1900", "@D2", -1}, DeformatDateCase{"12/31/1800", "@D2", -1},
        DeformatDateCase{"1/1/2100", "@D2", -1}, DeformatDateCase{"12/", "@D1", -1},
        DeformatDateCase{"12/25", "@D1", -1}, DeformatDateCase{"Mar  5,1998", "@D3", kMarch5th1998},
        DeformatDateCase{"mar 5,1998", "@D3", kMarch5th1998},
        DeformatDateCase{"MARCH 5, 1998", "@D4", kMarch5th1998},
        DeformatDateCase{"Xyz 5,1998", "@D3", -1},
        DeformatDateCase{" 5 Mar 98", "@D7", kMarch5th1998},
        DeformatDateCase{" 5/03/1998", "@D6", kMarch5th1998},
        DeformatDateCase{"980305", "@D11", kMarch5th1998},
        DeformatDateCase{"19980305", "@D12", kMarch5th1998},
        DeformatDateCase{"98/03/05", "@D9", kMarch5th1998},
        DeformatDateCase{"03/98", "@D13", 72016}, DeformatDateCase{"1998/03", "@D16", 72016},
        DeformatDateCase{"Thu, March 05, 1998", "@D18", kMarch5th1998},
        DeformatDateCase{"*3/*5/98", "@D*1", kMarch5th1998},
        DeformatDateCase{" 3.05.98", "@D1.", kMarch5th1998},
        DeformatDateCase{"12/31/2099", "@D2", k31Dec2099},
        DeformatDateCase{" 1/01/1801", "@D2", k1Jan1801}));

// With the clock in 2026: default window [1946, 2045]; <10 gives [2016, 2115]; >10 gives
// [1937, 2036]; >0 gives [2007, 2106].
INSTANTIATE_TEST_SUITE_P(
    CenturyWindows, DateDeformat,
    ::testing::Values(
        DeformatDateCase{"1/1/45", "@D1", 89124}, DeformatDateCase{"1/1/46", "@D1", 52964},
        DeformatDateCase{"1/1/00", "@D1", k1Jan2000}, DeformatDateCase{"1/1/99", "@D1", 72322},
        DeformatDateCase{"1/1/46", "@D1<10", 89489}, DeformatDateCase{"1/1/16", "@D1<10", 78531},
        DeformatDateCase{"1/1/15", "@D1<10", -1},  // 2115
        DeformatDateCase{"1/1/36", "@D1>10", 85836}, DeformatDateCase{"1/1/37", "@D1>10", 49677},
        DeformatDateCase{"1/1/46", "@D1<0", 52964}, DeformatDateCase{"1/1/06", "@D1>0", -1},
        DeformatDateCase{"1/1/07", "@D1>0", 75244}, DeformatDateCase{"1/1/99", "@D1>0", 108847}));

TEST_F(PinnedPictureTest, CenturyWindowExpectationsAreTheDayNumbersOfTheYears) {
    // The table above spells its day numbers out; check them against the date routines.
    EXPECT_EQ(dayNumberOf(2045, 1, 1), 89124);
    EXPECT_EQ(dayNumberOf(1946, 1, 1), 52964);
    EXPECT_EQ(dayNumberOf(1999, 1, 1), 72322);
    EXPECT_EQ(dayNumberOf(2046, 1, 1), 89489);
    EXPECT_EQ(dayNumberOf(2016, 1, 1), 78531);
    EXPECT_EQ(dayNumberOf(2036, 1, 1), 85836);
    EXPECT_EQ(dayNumberOf(1937, 1, 1), 49677);
    EXPECT_EQ(dayNumberOf(2007, 1, 1), 75244);
    EXPECT_EQ(dayNumberOf(2099, 1, 1), 108847);
    EXPECT_EQ(dayNumberOf(1998, 3, 1), 72016);
    EXPECT_EQ(dayNumberOf(1998, 3, 5), kMarch5th1998);
}

// FORMAT then DEFORMAT over whole ranges of day numbers.
struct DateRoundTrip {
    const char* picture;
    int firstYear, lastYear;  // the range the picture can hold
    bool firstOfMonth;        // pictures without a day read back the 1st
};

void PrintTo(const DateRoundTrip& c, std::ostream* os) {
    *os << c.picture;
}

class DateRoundTrips : public PinnedPictureParamTest<DateRoundTrip> {};

TEST_P(DateRoundTrips, EveryDayComesBack) {
    const DateRoundTrip& c = GetParam();
    const CompiledPicture* picture = findPicture(c.picture);
    ASSERT_NE(picture, nullptr);
    const std::int32_t first = dayNumberOf(c.firstYear, 1, 1);
    const std::int32_t last = dayNumberOf(c.lastYear, 12, 31);
    std::string shown;
    std::string back;
    for (std::int32_t n = first; n <= last; ++n) {
        formatInto(shown, std::int64_t{n}, *picture);
        deformatInto(back, shown, *picture);
        const std::int32_t expected = c.firstOfMonth ? dayNumberOf(YEAR(n), MONTH(n), 1) : n;
        ASSERT_EQ(back, std::to_string(expected)) << c.picture << " [" << shown << "]";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, DateRoundTrips,
    ::testing::Values(
        DateRoundTrip{"@D2", 1801, 2099, false}, DateRoundTrip{"@D10", 1801, 2099, false},
        DateRoundTrip{"@D3", 1801, 2099, false}, DateRoundTrip{"@D4", 1801, 2099, false},
        DateRoundTrip{"@D6", 1801, 2099, false}, DateRoundTrip{"@D8", 1801, 2099, false},
        DateRoundTrip{"@D12", 1801, 2099, false}, DateRoundTrip{"@D18", 1801, 2099, false},
        DateRoundTrip{"@D*2-", 1801, 2099, false}, DateRoundTrip{"@D_4", 1801, 2099, false},
        DateRoundTrip{"@D1", 1946, 2045, false}, DateRoundTrip{"@D5.", 1946, 2045, false},
        DateRoundTrip{"@D7", 1946, 2045, false}, DateRoundTrip{"@D9", 1946, 2045, false},
        DateRoundTrip{"@D11", 1946, 2045, false}, DateRoundTrip{"@D17", 1946, 2045, false},
        DateRoundTrip{"@D1<10", 2016, 2099, false}, DateRoundTrip{"@D13", 1946, 2045, true},
        DateRoundTrip{"@D14", 1801, 2099, true}, DateRoundTrip{"@D15", 1946, 2045, true},
        DateRoundTrip{"@D16", 1801, 2099, true}));

}  // namespace
}  // namespace quillery
