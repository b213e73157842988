// Locale values read once at start-up: month names, AM/PM texts and the system's date and time
// formats. Texts are Windows-1252.
#pragma once

#include <array>
#include <string>

namespace quillery {

struct LocaleSettings {
    std::array<std::string, 12> monthNames;     // "January" ... at most 12 characters
    std::array<std::string, 12> monthAbbrevs;   // "Jan" ... 3 characters
    std::string am = "AM";                      // runtime AM/PM table, at most 2 characters
    std::string pm = "PM";
    // The system's own values ("intl" keys).
    int timeFormat24 = 0;                       // iTime: 0 12-hour clock, 1 24-hour
    int timeLeadingZero = 1;                    // iTLzero
    std::string timeSeparator = ":";            // sTime
    std::string systemAm = "AM";                // s1159
    std::string systemPm = "PM";                // s2359
    std::string shortDatePattern = "MM/dd/yy";  // sShortDate
    std::string longDatePattern = "ddd', 'MMMM' 'dd', 'yyyy";  // sLongDate

    static LocaleSettings defaults();
};

// The values in force.
const LocaleSettings& localeSettings();
void setLocaleSettings(const LocaleSettings& settings);

}  // namespace quillery
