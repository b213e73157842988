// Day numbers, times of day, the century window for two-digit years and the local clock.
#include "runtime/dates.h"

#include <chrono>
#include <ctime>
#include <optional>

#include "runtime/runtime_options.h"

namespace quillery {
namespace {

constexpr int kFirstYear = 1801;
constexpr int kLastYear = 2099;
constexpr int kDaysIn4Years = 1461;
constexpr std::int32_t kLastDayOf1900 = 36527;

constexpr int kMonthLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

constexpr std::int32_t kHundredthsPerHour = 360000;
constexpr std::int32_t kHundredthsPerMinute = 6000;
constexpr std::int32_t kHundredthsPerSecond = 100;
constexpr std::int32_t kLastTimeOfDay = 8640000;

// The fields of a day number.
struct DateFields {
    int year = 0;
    int month = 0;
    int day = 0;
};

LocalDateTime systemLocalNow() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto sinceEpoch = duration_cast<milliseconds>(now.time_since_epoch()).count();
    LocalDateTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.hours = local.tm_hour;
    t.minutes = local.tm_min;
    t.seconds = local.tm_sec;
    t.milliseconds = static_cast<int>(((sinceEpoch % 1000) + 1000) % 1000);
    return t;
}

LocalDateTime localNow() {
    const ClockSource& source = runtimeOptions().clock;
    return source ? source() : systemLocalNow();
}

// The current year for the century window, read from the clock at first use and kept, so a
// run that passes midnight on New Year's Eve places two-digit years the same way throughout.
std::optional<int>& centuryYear() {
    static std::optional<int> year;
    return year;
}

// Days from 1 January of year 0 (proleptic Gregorian) to the first of `month` in `year`; only
// used to carry overflowing days across months and years, where the months may leave the
// valid range before the days bring them back into it.
std::int64_t civilDaysToFirstOfMonth(std::int64_t year, int month) {
    // Counted from March so that the leap day falls at the end of the counting year.
    const std::int64_t y = month <= 2 ? year - 1 : year;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const int monthFromMarch = month > 2 ? month - 3 : month + 9;
    const std::int64_t dayOfYear = (153 * monthFromMarch + 2) / 5;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

DateFields fieldsOf(std::int32_t n) {
    const std::int32_t d = n > kLastDayOf1900 ? n - 3 : n - 4;
    DateFields p;
    p.year = kFirstYear + 4 * (d / kDaysIn4Years);
    int r = d % kDaysIn4Years;
    if (r == kDaysIn4Years - 1) {
        p.year += 3;
        p.month = 12;
        p.day = 31;
        return p;
    }
    p.year += r / 365;
    r %= 365;
    p.month = 1;
    while (r >= daysInMonth(p.year, p.month)) {
        r -= daysInMonth(p.year, p.month);
        ++p.month;
    }
    p.day = r + 1;
    return p;
}

bool isValidDayNumber(std::int32_t n) {
    return n >= kFirstDayNumber && n <= kLastDayNumber;
}

}  // namespace

bool isLeapYear(int year) {
    // Within 1801..2099 "divisible by 4 except 1900" is the Gregorian rule, which also serves
    // the years outside it that day carrying passes through.
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int daysInMonth(int year, int month) {
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : kMonthLength[month - 1];
}

std::int32_t dayNumberOf(int year, int month, int day) {
    if (year < kFirstYear || year > kLastYear) return -1;
    if (month < 1 || month > 12) return -1;
    if (day < 1 || day > daysInMonth(year, month)) return -1;
    std::int32_t n =
        (year - kFirstYear) * kDaysIn4Years / 4 + kDaysBeforeMonth[month - 1] + day + 3;
    if (year > 1900) n -= 1;
    if (month > 2 && isLeapYear(year)) n += 1;
    return n;
}

std::int32_t DATE(int month, int day, int year) {
    if (year >= 0 && year < 100) year = expandTwoDigitYear(year);
    if (year < 0 || month < 1 || day < 1) return -1;
    // Months above 12 carry into the following years.
    const std::int64_t carriedYear = year + static_cast<std::int64_t>((month - 1) / 12);
    month = (month - 1) % 12 + 1;
    if (carriedYear > kLastYear) return -1;
    if (carriedYear >= kFirstYear && day <= daysInMonth(static_cast<int>(carriedYear), month)) {
        return dayNumberOf(static_cast<int>(carriedYear), month, day);
    }
    // Days beyond the month's length carry into the following months.
    static const std::int64_t kDayZero = civilDaysToFirstOfMonth(1800, 12) + 27;  // 28 Dec 1800
    const std::int64_t n = civilDaysToFirstOfMonth(carriedYear, month) + (day - 1) - kDayZero;
    return n >= kFirstDayNumber && n <= kLastDayNumber ? static_cast<std::int32_t>(n) : -1;
}

int DAY(std::int32_t dayNumber) {
    return isValidDayNumber(dayNumber) ? fieldsOf(dayNumber).day : 0;
}
int MONTH(std::int32_t dayNumber) {
    return isValidDayNumber(dayNumber) ? fieldsOf(dayNumber).month : 0;
}
int YEAR(std::int32_t dayNumber) {
    return isValidDayNumber(dayNumber) ? fieldsOf(dayNumber).year : 0;
}

std::int32_t timeOfDay(int hours, int minutes, int seconds, int hundredths) {
    if (hours == 0 && minutes == 0 && seconds == 0 && hundredths == 0) return 0;
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59 ||
        hundredths < 0 || hundredths > 99) {
        return -1;
    }
    return hours * kHundredthsPerHour + minutes * kHundredthsPerMinute +
           seconds * kHundredthsPerSecond + hundredths + 1;
}

TimeFields timeFields(std::int32_t time) {
    if (time < 1 || time > kLastTimeOfDay) return {};
    const std::int32_t t = time - 1;
    TimeFields p;
    p.hours = t / kHundredthsPerHour;
    p.minutes = t % kHundredthsPerHour / kHundredthsPerMinute;
    p.seconds = t % kHundredthsPerMinute / kHundredthsPerSecond;
    p.hundredths = t % kHundredthsPerSecond;
    return p;
}

int expandTwoDigitYear(int yy, int cutoff) {
    if (yy < 0 || yy > 99) return yy;
    std::optional<int>& current = centuryYear();
    if (!current) current = localNow().year;
    const int first = *current - cutoff;
    return first + ((yy - first) % 100 + 100) % 100;
}

std::int32_t TODAY() {
    const LocalDateTime now = localNow();
    const std::int32_t n = dayNumberOf(now.year, now.month, now.day);
    return n < 0 ? 0 : n;  // a clock outside 1801..2099 gives "no date", never an invalid stamp
}

std::int32_t CLOCK() {
    const LocalDateTime now = localNow();
    auto clamp = [](int v, int high) { return v < 0 ? 0 : (v > high ? high : v); };
    // The formula directly, not timeOfDay(): the first hundredth after midnight is the valid
    // time 1, not "no time". A leap second reads as the 59th.
    return clamp(now.hours, 23) * kHundredthsPerHour +
           clamp(now.minutes, 59) * kHundredthsPerMinute +
           clamp(now.seconds, 59) * kHundredthsPerSecond + clamp(now.milliseconds, 999) / 10 + 1;
}

void internal::forgetCenturyYear() {
    centuryYear().reset();
}

}  // namespace quillery
