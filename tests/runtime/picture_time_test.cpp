// Time pictures: every numbered picture, the 12-hour clock around midnight and noon, fills,
// separators, the locale's time formats, and reading times back.
#include <gtest/gtest.h>

#include <string>

#include "runtime/dates.h"
#include "runtime/picture.h"
#include "tests/runtime/picture_test_support.h"

namespace quillery {
namespace {

using testing::PinnedPictureParamTest;
using testing::PinnedPictureTest;

// The time of day of h:m:s exactly, midnight included (which is 1, not the "no time" 0).
constexpr std::int32_t at(int h, int m, int s = 0) {
    return h * 360000 + m * 6000 + s * 100 + 1;
}

struct TimeCase {
    std::int32_t time;
    const char* picture;
    const char* expected;
};

void PrintTo(const TimeCase& c, std::ostream* os) {
    *os << c.time << " with " << c.picture;
}

class TimeFormat : public PinnedPictureParamTest<TimeCase> {};

TEST_P(TimeFormat, ShowsExactText) {
    const TimeCase& c = GetParam();
    EXPECT_EQ(FORMAT(c.time, c.picture), c.expected);
}

INSTANTIATE_TEST_SUITE_P(EdgeCases, TimeFormat,
                         ::testing::Values(TimeCase{4710001, "@T1", "13:05"},
                                           TimeCase{4710001, "@T3", " 1:05PM"}));

INSTANTIATE_TEST_SUITE_P(
    EveryPicture, TimeFormat,
    ::testing::Values(
        TimeCase{at(13, 5), "@T1", "13:05"}, TimeCase{at(0, 0), "@T1", " 0:00"},
        TimeCase{at(9, 7), "@T1", " 9:07"}, TimeCase{at(23, 59), "@T1", "23:59"},
        TimeCase{at(13, 5), "@T2", "1305"}, TimeCase{at(9, 7), "@T2", " 907"},
        TimeCase{at(13, 5, 9), "@T4", "13:05:09"}, TimeCase{at(0, 0), "@T4", " 0:00:00"},
        TimeCase{8640000, "@T4", "23:59:59"}, TimeCase{at(13, 5, 9) + 57, "@T4", "13:05:09"},
        TimeCase{at(13, 5, 9), "@T5", "130509"}, TimeCase{at(9, 7, 3), "@T5", " 90703"},
        TimeCase{at(13, 5, 9), "@T6", " 1:05:09PM"}, TimeCase{at(23, 59, 59), "@T6", "11:59:59PM"},
        TimeCase{at(13, 5), "@T7", "01:05 PM"}, TimeCase{at(9, 7), "@T7", "09:07 AM"},
        TimeCase{at(13, 5, 9), "@T8", "01:05:09 PM"}, TimeCase{at(13, 5), "t1", "13:05"},
        TimeCase{at(13, 5), "@t3", " 1:05PM"}));

INSTANTIATE_TEST_SUITE_P(
    TwelveHourClock, TimeFormat,
    ::testing::Values(TimeCase{at(0, 0), "@T3", "12:00AM"}, TimeCase{at(0, 59), "@T3", "12:59AM"},
                      TimeCase{at(1, 0), "@T3", " 1:00AM"}, TimeCase{at(11, 59), "@T3", "11:59AM"},
                      TimeCase{at(12, 0), "@T3", "12:00PM"}, TimeCase{at(12, 59), "@T3", "12:59PM"},
                      TimeCase{at(13, 0), "@T3", " 1:00PM"}, TimeCase{at(23, 59), "@T3", "11:59PM"},
                      TimeCase{at(0, 0), "@T6", "12:00:00AM"},
                      TimeCase{at(12, 0, 1), "@T6", "12:00:01PM"},
                      TimeCase{at(0, 0), "@T7", "12:00 AM"}, TimeCase{at(12, 0), "@T7", "12:00 PM"},
                      TimeCase{at(12, 59), "@T7", "12:59 PM"},
                      TimeCase{at(13, 0), "@T7", "01:00 PM"},
                      TimeCase{at(23, 59), "@T8", "11:59:00 PM"}));

INSTANTIATE_TEST_SUITE_P(
    FillsAndSeparators, TimeFormat,
    ::testing::Values(
        TimeCase{at(9, 7), "@T01", "09:07"}, TimeCase{at(9, 7, 3), "@T_4", " 9: 7: 3"},
        TimeCase{at(9, 7), "@T*1", "*9:*7"}, TimeCase{at(0, 5), "@T*3", "12:*5AM"},
        TimeCase{at(0, 0), "@T*2", "*0*0"}, TimeCase{at(10, 30), "@T*1", "10:30"},
        TimeCase{at(13, 5), "@T1.", "13.05"}, TimeCase{at(13, 5, 9), "@T4-", "13-05-09"},
        TimeCase{at(13, 5), "@T1_", "13 05"}, TimeCase{at(13, 5), "@T1`", "13,05"},
        TimeCase{at(13, 5), "@T7.", "01.05 PM"}, TimeCase{at(9, 7), "@T03.", "09.07AM"}));

TEST_F(PinnedPictureTest, TimesOutsideTheDayShowAsSpaces) {
    const int lengths[8] = {5, 4, 7, 8, 6, 10, 8, 11};
    for (int n = 1; n <= 8; ++n) {
        const std::string picture = "@T" + std::to_string(n);
        const std::string blank(static_cast<std::size_t>(lengths[n - 1]), ' ');
        for (std::int64_t time : {0, -1, 8640001}) {
            EXPECT_EQ(FORMAT(time, picture), blank) << picture << " " << time;
        }
        EXPECT_EQ(FORMAT(1, picture).size(), blank.size()) << picture;
        EXPECT_NE(FORMAT(1, picture), blank) << picture;
    }
}

TEST_F(PinnedPictureTest, InvalidTimePicturesGiveEmptyText) {
    for (const char* picture : {"@T", "@T0", "@T9", "@T12", "@T1x", "@T1<5", "@T#1"}) {
        EXPECT_EQ(FORMAT(at(13, 5), picture), "") << picture;
        EXPECT_EQ(DEFORMAT("13:05", picture), "") << picture;
    }
}

TEST_F(PinnedPictureTest, LocaleTimeFormats) {
    LocaleSettings locale = LocaleSettings::defaults();
    locale.timeFormat24 = 1;
    locale.timeLeadingZero = 0;
    locale.timeSeparator = ".";
    setLocaleSettings(locale);
    EXPECT_EQ(FORMAT(at(9, 7, 3), "@T7"), " 9.07");
    EXPECT_EQ(FORMAT(at(9, 7, 3), "@T8"), " 9.07.03");
    EXPECT_EQ(FORMAT(at(21, 7, 3), "@T7"), "21.07");
    EXPECT_EQ(DEFORMAT("21.07", "@T7"), std::to_string(at(21, 7)));

    // The system AM/PM texts serve @T7 and @T8; the runtime's own serve the others.
    locale.timeFormat24 = 0;
    locale.timeLeadingZero = 1;
    locale.timeSeparator = ":";
    locale.systemAm = "vm";
    locale.systemPm = "nm";
    locale.am = "XA";
    locale.pm = "YP";
    setLocaleSettings(locale);
    EXPECT_EQ(FORMAT(at(13, 5), "@T7"), "01:05 nM");
    EXPECT_EQ(FORMAT(at(1, 5), "@T7"), "01:05 vM");
    EXPECT_EQ(FORMAT(at(13, 5), "@T3"), " 1:05YM");
    EXPECT_EQ(FORMAT(at(1, 5), "@T3"), " 1:05XM");
    EXPECT_EQ(DEFORMAT("01:05 nM", "@T7"), std::to_string(at(13, 5)));
    EXPECT_EQ(DEFORMAT("12:05 vM", "@T7"), std::to_string(at(0, 5)));
    EXPECT_EQ(DEFORMAT(" 1:05YM", "@T3"), std::to_string(at(13, 5)));
    EXPECT_EQ(DEFORMAT(" 1:05nM", "@T3"), std::to_string(at(1, 5)));  // not this table's letter
}

struct DeformatTimeCase {
    const char* text;
    const char* picture;
    std::int32_t expected;  // a time of day, -1 or 0
};

void PrintTo(const DeformatTimeCase& c, std::ostream* os) {
    *os << "[" << c.text << "] with " << c.picture;
}

class TimeDeformat : public PinnedPictureParamTest<DeformatTimeCase> {};

TEST_P(TimeDeformat, GivesTheTimeOfDay) {
    const DeformatTimeCase& c = GetParam();
    EXPECT_EQ(DEFORMAT(c.text, c.picture), std::to_string(c.expected));
    EXPECT_EQ(deformatNumber(c.text, c.picture), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TimeDeformat,
    ::testing::Values(
        DeformatTimeCase{"", "@T1", 0}, DeformatTimeCase{"  :  ", "@T1", 0},
        DeformatTimeCase{"13:05", "@T1", at(13, 5)}, DeformatTimeCase{" 0:00", "@T1", 0},
        DeformatTimeCase{" 1:05PM", "@T3", at(13, 5)}, DeformatTimeCase{"12:00AM", "@T3", 0},
        DeformatTimeCase{"12:30AM", "@T3", at(0, 30)},
        DeformatTimeCase{"12:00PM", "@T3", at(12, 0)},
        DeformatTimeCase{"12:59PM", "@T3", at(12, 59)},
        DeformatTimeCase{" 1:00pm", "@T3", at(13, 0)},
        DeformatTimeCase{"11:59PM", "@T3", at(23, 59)},
        DeformatTimeCase{"11:59AM", "@T3", at(11, 59)}, DeformatTimeCase{"13:05", "@T3", at(13, 5)},
        DeformatTimeCase{"13:05PM", "@T3", -1}, DeformatTimeCase{"24:00", "@T1", -1},
        DeformatTimeCase{"23:60", "@T1", -1}, DeformatTimeCase{"13:05:60", "@T4", -1},
        DeformatTimeCase{"1305", "@T2", at(13, 5)}, DeformatTimeCase{"130509", "@T5", at(13, 5, 9)},
        DeformatTimeCase{"13", "@T1", at(13, 0)}, DeformatTimeCase{"9.07", "@T1.", at(9, 7)},
        DeformatTimeCase{"*9:*7", "@T*1", at(9, 7)},
        DeformatTimeCase{"11:59:59PM", "@T6", at(23, 59, 59)},
        DeformatTimeCase{"01:05:09 PM", "@T8", at(13, 5, 9)}));

// FORMAT then DEFORMAT gives the time back to the picture's precision; exact midnight reads as
// the all-zero time 0.
struct TimeRoundTrip {
    const char* picture;
    bool seconds;
};

void PrintTo(const TimeRoundTrip& c, std::ostream* os) {
    *os << c.picture;
}

class TimeRoundTrips : public PinnedPictureParamTest<TimeRoundTrip> {};

TEST_P(TimeRoundTrips, EveryMinuteOrSecondComesBack) {
    const TimeRoundTrip& c = GetParam();
    const CompiledPicture* picture = findPicture(c.picture);
    ASSERT_NE(picture, nullptr);
    std::string shown;
    std::string back;
    const int step = c.seconds ? 1 : 60;
    for (int second = 0; second < 24 * 3600; second += step) {
        const int h = second / 3600, m = second / 60 % 60, s = second % 60;
        const std::int32_t time = at(h, m, s) + 37;  // hundredths are not shown
        formatInto(shown, std::int64_t{time}, *picture);
        deformatInto(back, shown, *picture);
        const std::int32_t expected = second == 0 ? 0 : at(h, m, s);
        ASSERT_EQ(back, std::to_string(expected)) << c.picture << " [" << shown << "]";
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, TimeRoundTrips,
                         ::testing::Values(TimeRoundTrip{"@T1", false}, TimeRoundTrip{"@T2", false},
                                           TimeRoundTrip{"@T3", false}, TimeRoundTrip{"@T7", false},
                                           TimeRoundTrip{"@T*1.", false},
                                           TimeRoundTrip{"@T4", true}, TimeRoundTrip{"@T5", true},
                                           TimeRoundTrip{"@T6", true}, TimeRoundTrip{"@T8", true},
                                           TimeRoundTrip{"@T_6-", true}));

}  // namespace
}  // namespace quillery
