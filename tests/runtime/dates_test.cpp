// Day numbers, DATE normalisation, the century window, times of day and the local clock,
// checked against the standard library's calendar where it can serve as the model.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <optional>

#include "runtime/dates.h"
#include "runtime/runtime_options.h"

namespace quillery {
namespace {

namespace chr = std::chrono;

// Day number of a date by the standard library's calendar: days after 28 December 1800.
std::int64_t modelDayNumber(int y, int m, int d) {
    const chr::sys_days day0{chr::year{1800} / chr::December / 28};
    const chr::sys_days date{chr::year{y} / chr::month(static_cast<unsigned>(m)) /
                             chr::day(static_cast<unsigned>(d))};
    return (date - day0).count();
}

// The model of DATE's carrying: months beyond 12 move into later years, days beyond the month
// into later months, counted from the first of the (carried) month.
std::int64_t modelCarriedDayNumber(int month, int day, int year) {
    const chr::year_month ym =
        chr::year{year} / chr::January + chr::months{static_cast<long>(month) - 1};
    const chr::sys_days first{ym / 1};
    const chr::sys_days day0{chr::year{1800} / chr::December / 28};
    return (first - day0).count() + (day - 1);
}

LocalDateTime at(int year, int month, int day, int h = 0, int m = 0, int s = 0, int ms = 0) {
    return {year, month, day, h, m, s, ms};
}

class DatesTest : public ::testing::Test {
  protected:
    void SetUp() override { useClock(at(2026, 12, 8, 13, 5, 0, 0)); }
    // Installs a clock showing `now` until moved on (the century window reads its year anew);
    // the test's end puts the options before it back.
    void useClock(LocalDateTime now) {
        now_ = now;
        RuntimeOptions options = runtimeOptions();
        options.clock = [this] { return now_; };
        clock_.emplace(options);
    }
    void useSystemClock() {
        RuntimeOptions options = runtimeOptions();
        options.clock = {};
        clock_.emplace(options);
    }

    LocalDateTime now_;
    std::optional<ScopedRuntimeOptions> clock_;
};

TEST_F(DatesTest, RangeEndsAndDaysJustOutside) {
    EXPECT_EQ(DATE(1, 1, 1801), 4);
    EXPECT_EQ(DATE(12, 31, 2099), 109211);
    EXPECT_EQ(DATE(12, 31, 1800), -1);
    EXPECT_EQ(DATE(1, 1, 2100), -1);
    EXPECT_EQ(DATE(12, 31, 1900), 36527);
    EXPECT_EQ(DATE(1, 1, 2000), 72687);
    EXPECT_EQ(kFirstDayNumber, 4);
    EXPECT_EQ(kLastDayNumber, 109211);
}

TEST_F(DatesTest, TwentyNinthOfFebruary) {
    EXPECT_EQ(DATE(2, 28, 1900), 36221);
    EXPECT_EQ(DATE(2, 29, 1900), 36222);  // 1900 has none: carried to 1 March
    EXPECT_EQ(DATE(3, 1, 1900), 36222);
    EXPECT_EQ(dayNumberOf(1900, 2, 29), -1);
    const std::int32_t leapDay = DATE(2, 29, 2000);
    EXPECT_EQ(YEAR(leapDay), 2000);
    EXPECT_EQ(MONTH(leapDay), 2);
    EXPECT_EQ(DAY(leapDay), 29);
    EXPECT_EQ(leapDay, modelDayNumber(2000, 2, 29));
}

TEST_F(DatesTest, PartsAroundTheEndOf1900) {
    EXPECT_EQ(YEAR(36527), 1900);
    EXPECT_EQ(MONTH(36527), 12);
    EXPECT_EQ(DAY(36527), 31);
    EXPECT_EQ(YEAR(36528), 1901);
    EXPECT_EQ(MONTH(36528), 1);
    EXPECT_EQ(DAY(36528), 1);
}

TEST_F(DatesTest, PartsOfInvalidDayNumbersAreZero) {
    for (std::int32_t n : {0, 1, 3, -1, 109212, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(YEAR(n), 0);
        EXPECT_EQ(MONTH(n), 0);
        EXPECT_EQ(DAY(n), 0);
    }
}

TEST_F(DatesTest, EveryDayNumberMatchesTheCalendarBothWays) {
    const chr::sys_days day0{chr::year{1800} / chr::December / 28};
    for (std::int32_t n = kFirstDayNumber; n <= kLastDayNumber; ++n) {
        const chr::year_month_day ymd{day0 + chr::days{n}};
        const int y = static_cast<int>(ymd.year());
        const int m = static_cast<int>(static_cast<unsigned>(ymd.month()));
        const int d = static_cast<int>(static_cast<unsigned>(ymd.day()));
        ASSERT_EQ(YEAR(n), y) << n;
        ASSERT_EQ(MONTH(n), m) << n;
        ASSERT_EQ(DAY(n), d) << n;
        ASSERT_EQ(dayNumberOf(y, m, d), n) << y << '-' << m << '-' << d;
        ASSERT_EQ(DATE(m, d, y), n) << y << '-' << m << '-' << d;
    }
}

TEST_F(DatesTest, ExactDatesAreValidExactlyWhenTheCalendarHasThem) {
    for (int y = 1795; y <= 2105; ++y) {
        for (int m = 0; m <= 13; ++m) {
            for (int d = 0; d <= 32; ++d) {
                const bool inCalendar =
                    m >= 1 && m <= 12 && d >= 1 &&
                    chr::year_month_day{chr::year{y} / chr::month(static_cast<unsigned>(m)) /
                                        chr::day(static_cast<unsigned>(d))}
                        .ok();
                const bool valid = inCalendar && y >= 1801 && y <= 2099;
                const std::int32_t n = dayNumberOf(y, m, d);
                if (valid) {
                    ASSERT_EQ(n, modelDayNumber(y, m, d)) << y << '-' << m << '-' << d;
                } else {
                    ASSERT_EQ(n, -1) << y << '-' << m << '-' << d;
                }
            }
        }
    }
}

TEST_F(DatesTest, LeapYearsAndMonthLengths) {
    struct Case {
        int year;
        bool leap;
    };
    for (Case c : {Case{1801, false}, Case{1804, true}, Case{1896, true}, Case{1900, false},
                   Case{1904, true}, Case{2000, true}, Case{2026, false}, Case{2096, true}}) {
        EXPECT_EQ(isLeapYear(c.year), c.leap) << c.year;
        EXPECT_EQ(daysInMonth(c.year, 2), c.leap ? 29 : 28) << c.year;
    }
    const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(daysInMonth(2026, m), lengths[m - 1]);
    EXPECT_EQ(daysInMonth(2026, 0), 0);
    EXPECT_EQ(daysInMonth(2026, 13), 0);
}

TEST_F(DatesTest, DateCarriesMonthsAndDaysForward) {
    struct Case {
        int month, day, year;
        int y, m, d;  // the date it must land on
    };
    const Case cases[] = {
        {13, 1, 1998, 1999, 1, 1},   {2, 30, 1998, 1998, 3, 2},    {25, 1, 1998, 2000, 1, 1},
        {12, 32, 1999, 2000, 1, 1},  {1, 366, 2000, 2000, 12, 31}, {1, 367, 2000, 2001, 1, 1},
        {2, 29, 1900, 1900, 3, 1},   {14, 29, 1999, 2000, 2, 29},  {12, 32, 1800, 1801, 1, 1},
        {1, 400, 1800, 1801, 2, 4},  {24, 31, 2098, 2099, 12, 31}, {1, 1000, 1990, 1992, 9, 26},
        {120, 1, 1990, 1999, 12, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.month << '/' << c.day << '/' << c.year);
        EXPECT_EQ(DATE(c.month, c.day, c.year), modelDayNumber(c.y, c.m, c.d));
        EXPECT_EQ(DATE(c.month, c.day, c.year), modelCarriedDayNumber(c.month, c.day, c.year));
    }
}

TEST_F(DatesTest, DateCarryingAgreesWithTheModelOverAWideGrid) {
    for (int year = 1790; year <= 2101; year += 3) {
        for (int month = 1; month <= 40; month += 3) {
            for (int day = 1; day <= 800; day += 7) {
                const std::int64_t model = modelCarriedDayNumber(month, day, year);
                const std::int64_t expected =
                    model >= kFirstDayNumber && model <= kLastDayNumber ? model : -1;
                ASSERT_EQ(DATE(month, day, year), expected) << month << '/' << day << '/' << year;
            }
        }
    }
}

TEST_F(DatesTest, DateRejectsWhatCannotBeCarried) {
    EXPECT_EQ(DATE(0, 1, 2000), -1);
    EXPECT_EQ(DATE(-1, 1, 2000), -1);
    EXPECT_EQ(DATE(1, 0, 2000), -1);
    EXPECT_EQ(DATE(1, -5, 2000), -1);
    EXPECT_EQ(DATE(1, 1, -1), -1);
    EXPECT_EQ(DATE(12, 32, 2099), -1);
    EXPECT_EQ(DATE(13, 1, 2099), -1);
    EXPECT_EQ(DATE(1, INT_MAX, 1801), -1);
    EXPECT_EQ(DATE(INT_MAX, 1, 2000), -1);
    EXPECT_EQ(DATE(INT_MAX, INT_MAX, INT_MAX), -1);
    EXPECT_EQ(DATE(1, INT_MAX, 100), -1);
    EXPECT_EQ(DATE(1, 1, 1000), -1);
}

TEST_F(DatesTest, CenturyWindowWithTheDefaultCutoffIn2026) {
    struct Case {
        int yy, year;
    };
    for (Case c : {Case{45, 2045}, Case{46, 1946}, Case{50, 1950}, Case{0, 2000}, Case{99, 1999},
                   Case{26, 2026}, Case{1, 2001}}) {
        EXPECT_EQ(expandTwoDigitYear(c.yy), c.year) << c.yy;
    }
    EXPECT_EQ(DATE(1, 1, 45), DATE(1, 1, 2045));
    EXPECT_EQ(DATE(1, 1, 46), DATE(1, 1, 1946));
    EXPECT_EQ(DATE(2, 29, 0), DATE(2, 29, 2000));
    EXPECT_EQ(MONTH(DATE(2, 29, 0)), 2);
}

TEST_F(DatesTest, CenturyWindowWithOtherCutoffs) {
    struct Case {
        int cutoff, yy, year;
    };
    const Case cases[] = {
        {0, 26, 2026},  {0, 25, 2125},  {0, 99, 2099},  {99, 26, 2026}, {99, 27, 1927},
        {50, 75, 2075}, {50, 76, 1976}, {10, 15, 2115}, {10, 16, 2016}, {80, 45, 2045},
    };
    for (const Case& c : cases)
        EXPECT_EQ(expandTwoDigitYear(c.yy, c.cutoff), c.year) << c.cutoff;
    for (int cutoff = 0; cutoff <= 99; ++cutoff) {
        for (int yy = 0; yy <= 99; ++yy) {
            const int year = expandTwoDigitYear(yy, cutoff);
            ASSERT_EQ(year % 100, yy);
            ASSERT_GE(year, 2026 - cutoff);
            ASSERT_LE(year, 2026 + 99 - cutoff);
        }
    }
}

TEST_F(DatesTest, CenturyWindowLeavesOtherYearsAlone) {
    EXPECT_EQ(expandTwoDigitYear(100), 100);
    EXPECT_EQ(expandTwoDigitYear(1999), 1999);
    EXPECT_EQ(expandTwoDigitYear(-3), -3);
}

TEST_F(DatesTest, CurrentYearIsReadOnceForTheWholeRun) {
    EXPECT_EQ(expandTwoDigitYear(46), 1946);
    now_ = at(2031, 1, 1);  // the clock moves on; the window does not
    EXPECT_EQ(expandTwoDigitYear(46), 1946);
    EXPECT_EQ(expandTwoDigitYear(50), 1950);
    useClock(now_);  // options installed again: the year is read anew
    EXPECT_EQ(expandTwoDigitYear(46), 2046);
    EXPECT_EQ(expandTwoDigitYear(51), 1951);
}

TEST_F(DatesTest, TimeOfDayFromHoursMinutesAndSeconds) {
    struct Case {
        int h, m, s, cs;
        std::int32_t time;
    };
    const Case cases[] = {
        {13, 5, 0, 0, 4710001}, {0, 0, 0, 0, 0},   {0, 0, 0, 1, 2},   {23, 59, 59, 99, 8640000},
        {24, 0, 0, 0, -1},      {0, 60, 0, 0, -1}, {0, 0, 60, 0, -1}, {0, 0, 0, 100, -1},
        {-1, 0, 0, 0, -1},      {0, -1, 0, 0, -1}, {0, 0, -1, 1, -1}, {0, 0, 0, -1, -1},
        {12, 0, 0, 0, 4320001}, {0, 0, 1, 0, 101},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(timeOfDay(c.h, c.m, c.s, c.cs), c.time)
            << c.h << ':' << c.m << ':' << c.s << '.' << c.cs;
    }
}

TEST_F(DatesTest, EveryTimeOfDaySplitsAndJoinsAgain) {
    const TimeFields first = timeFields(1);
    EXPECT_EQ(first.hours + first.minutes + first.seconds + first.hundredths, 0);
    for (std::int32_t t = 2; t <= 8640000; ++t) {
        const TimeFields p = timeFields(t);
        ASSERT_EQ(p.hours * 360000 + p.minutes * 6000 + p.seconds * 100 + p.hundredths + 1, t);
        ASSERT_EQ(timeOfDay(p.hours, p.minutes, p.seconds, p.hundredths), t);
    }
    const TimeFields p = timeFields(4710001);
    EXPECT_EQ(p.hours, 13);
    EXPECT_EQ(p.minutes, 5);
    EXPECT_EQ(p.seconds, 0);
    EXPECT_EQ(p.hundredths, 0);
}

TEST_F(DatesTest, TimeFieldsOfInvalidTimesAreZero) {
    for (std::int32_t t : {0, -1, 8640001, INT_MAX, INT_MIN}) {
        const TimeFields p = timeFields(t);
        EXPECT_EQ(p.hours, 0) << t;
        EXPECT_EQ(p.minutes, 0) << t;
        EXPECT_EQ(p.seconds, 0) << t;
        EXPECT_EQ(p.hundredths, 0) << t;
    }
}

TEST_F(DatesTest, TodayAndClockReadTheInstalledClock) {
    EXPECT_EQ(TODAY(), modelDayNumber(2026, 12, 8));
    EXPECT_EQ(CLOCK(), 4710001);
    struct Case {
        LocalDateTime now;
        std::int32_t clock;
    };
    const Case cases[] = {
        {at(2026, 1, 1, 13, 5, 0, 9), 4710001},  // milliseconds / 10 drops the rest
        {at(2026, 1, 1, 13, 5, 0, 999), 4710100},
        {at(2026, 1, 1, 23, 59, 59, 999), 8640000},
        {at(2026, 1, 1, 0, 0, 0, 0), 1},  // midnight is a time, not "no time"
        {at(2026, 1, 1, 0, 0, 0, 10), 2},
        {at(2026, 1, 1, 23, 59, 60, 500), 8639951},  // a leap second reads as the 59th
    };
    for (const Case& c : cases) {
        useClock(c.now);
        EXPECT_EQ(CLOCK(), c.clock)
            << c.now.hours << ':' << c.now.seconds << '.' << c.now.milliseconds;
    }
}

TEST_F(DatesTest, TodayOutsideTheValidRangeIsNoDate) {
    useClock(at(2100, 1, 1));
    EXPECT_EQ(TODAY(), 0);
    useClock(at(1800, 12, 31));
    EXPECT_EQ(TODAY(), 0);
    useClock(at(2099, 12, 31));
    EXPECT_EQ(TODAY(), kLastDayNumber);
}

TEST_F(DatesTest, SystemClockGivesAValidDateAndTime) {
    useSystemClock();
    const std::int32_t today = TODAY();
    EXPECT_GE(today, kFirstDayNumber);
    EXPECT_LE(today, kLastDayNumber);
    const std::int32_t now = CLOCK();
    EXPECT_GE(now, 1);
    EXPECT_LE(now, 8640000);
    // The local calendar date, within a day of the UTC one.
    const auto utcDays = chr::floor<chr::days>(chr::system_clock::now());
    const chr::sys_days day0{chr::year{1800} / chr::December / 28};
    EXPECT_LE(std::abs((utcDays - day0).count() - today), 1);
}

}  // namespace
}  // namespace quillery
