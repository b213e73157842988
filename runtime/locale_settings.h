// Locale values read once at start-up: month names, AM/PM texts and the system's date and time
// formats. Texts are Windows-1252.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quillery {

struct LocaleSettings {
    std::array<std::string, 12> monthNames;    // "January" ... at most 12 characters
    std::array<std::string, 12> monthAbbrevs;  // "Jan" ... 3 characters
    std::string am = "AM";                     // runtime AM/PM table, at most 2 characters
    std::string pm = "PM";
    // The system's own values ("intl" keys).
    int timeFormat24 = 0;                                      // iTime: 0 12-hour clock, 1 24-hour
    int timeLeadingZero = 1;                                   // iTLzero
    std::string timeSeparator = ":";                           // sTime
    std::string systemAm = "AM";                               // s1159
    std::string systemPm = "PM";                               // s2359
    std::string shortDatePattern = "MM/dd/yy";                 // sShortDate
    std::string longDatePattern = "ddd', 'MMMM' 'dd', 'yyyy";  // sLongDate

    static LocaleSettings defaults();
};

// The values in force.
const LocaleSettings& localeSettings();
void setLocaleSettings(const LocaleSettings& settings);
// Puts the defaults back in force (tests).
void resetLocaleSettings();

// On Linux the seven system values come from the "[intl]" section of an ini file in the user's
// configuration, with the keys "iTime", "iTLzero", "sTime", "s1159", "s2359", "sShortDate" and
// "sLongDate" (see docs/settings.md). The file is UTF-8; its texts are converted to
// Windows-1252.

// $XDG_CONFIG_HOME/quillery/intl.ini, or $HOME/.config/quillery/intl.ini when XDG_CONFIG_HOME
// is unset or not an absolute path; empty when neither variable helps.
std::string systemIntlFilePath();
// `base` with the values given in the "[intl]" section of `iniText`; values that are missing or
// malformed keep those of `base`.
LocaleSettings withIntlValues(const LocaleSettings& base, std::string_view iniText);
// Puts in force the defaults with the values of the ini file at `path`; a file that is missing
// or unreadable leaves the defaults (the file is optional, so nothing is posted).
void loadSystemLocale(const std::string& path);
// The same from systemIntlFilePath() (start-up).
void loadSystemLocale();

}  // namespace quillery
