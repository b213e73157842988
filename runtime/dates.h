// Dates as day numbers and times of day as hundredths of a second, both plain 32-bit integers.
//
// A day number counts the days after 28 December 1800: 4 is 1 January 1801 and 109211 is
// 31 December 2099, 0 means no date. A time of day is hours*360000 + minutes*6000 +
// seconds*100 + hundredths + 1, so 0 means no time.
#pragma once

#include <cstdint>
#include <functional>

namespace quillery {

inline constexpr std::int32_t kFirstDayNumber = 4;      // 1 January 1801
inline constexpr std::int32_t kLastDayNumber = 109211;  // 31 December 2099
inline constexpr int kDefaultCenturyCutoff = 80;

// Day number of month/day/year after normalising month and day overflow (DATE(13, 1, 1998) is
// 1 January 1999); a year below 100 is placed by the century window. -1 when invalid.
std::int32_t DATE(int month, int day, int year);
// Fields of a day number; 0 for anything outside 4..109211.
int DAY(std::int32_t dayNumber);
int MONTH(std::int32_t dayNumber);
int YEAR(std::int32_t dayNumber);

// Day number of an exact date (no normalisation); -1 when invalid.
std::int32_t dayNumberOf(int year, int month, int day);
bool isLeapYear(int year);
int daysInMonth(int year, int month);

// Time of day from its fields: 0 when all fields are 0, -1 when a field is out of range.
std::int32_t timeOfDay(int hours, int minutes, int seconds, int hundredths);
struct TimeFields {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int hundredths = 0;
};
// Fields of a time of day (1..8640000); all zero for 0 or anything out of range.
TimeFields timeFields(std::int32_t time);

// The four-digit year of a two-digit year `yy` under the century window with `cutoff`: the
// year in [Y - cutoff, Y + 99 - cutoff] ending in yy, Y being the current year read once.
int expandTwoDigitYear(int yy, int cutoff = kDefaultCenturyCutoff);

// The local date and time.
std::int32_t TODAY();
std::int32_t CLOCK();

// The local date and time as a clock gives it. The clock read is the one of the runtime's
// options (runtime/runtime_options.h), the system clock unless another is installed.
struct LocalDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int milliseconds = 0;
};
using ClockSource = std::function<LocalDateTime()>;

namespace internal {
// Forgets the current year read for the century window, so the next use reads it again from the
// clock; setRuntimeOptions calls it when it installs a clock.
void forgetCenturyYear();
}  // namespace internal

}  // namespace quillery
