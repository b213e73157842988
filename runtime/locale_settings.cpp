// The locale values in force, their defaults, and reading the system's date and time values
// from the "[intl]" section of the user's ini file.
#include "runtime/locale_settings.h"

#include <cstdlib>
#include <optional>

#include "runtime/case_compare.h"
#include "runtime/codepage.h"
#include "runtime/settings_text.h"

namespace quillery {
namespace {

using settings_text::trimBlanks;

LocaleSettings& settingsInForce() {
    static LocaleSettings settings = LocaleSettings::defaults();
    return settings;
}

// A value of the ini file: blanks around it dropped, and one pair of enclosing double quotes
// removed so that a value can keep blanks of its own (sTime=" ").
std::string iniValue(std::string_view raw) {
    std::string_view v = trimBlanks(raw);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return utf8ToCp1252(v);
}

// iTime and iTLzero are switches; anything but 0 or 1 is not a value.
std::optional<int> switchValue(std::string_view v) {
    if (v == "0") return 0;
    if (v == "1") return 1;
    return std::nullopt;
}

void applyIntlValue(LocaleSettings& s, std::string_view key, const std::string& value) {
    if (equalsIgnoringCase(key, "iTime")) {
        if (auto v = switchValue(value)) s.timeFormat24 = *v;
    } else if (equalsIgnoringCase(key, "iTLzero")) {
        if (auto v = switchValue(value)) s.timeLeadingZero = *v;
    } else if (equalsIgnoringCase(key, "sTime")) {
        if (!value.empty()) s.timeSeparator = value;
    } else if (equalsIgnoringCase(key, "s1159")) {
        s.systemAm = value;  // empty is a real value: 24-hour locales show no AM/PM text
    } else if (equalsIgnoringCase(key, "s2359")) {
        s.systemPm = value;
    } else if (equalsIgnoringCase(key, "sShortDate")) {
        if (!value.empty()) s.shortDatePattern = value;
    } else if (equalsIgnoringCase(key, "sLongDate")) {
        if (!value.empty()) s.longDatePattern = value;
    }
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

}  // namespace

LocaleSettings LocaleSettings::defaults() {
    LocaleSettings s;
    s.monthNames = {"January", "February", "March",     "April",   "May",      "June",
                    "July",    "August",   "September", "October", "November", "December"};
    s.monthAbbrevs = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return s;
}

const LocaleSettings& localeSettings() {
    return settingsInForce();
}

void setLocaleSettings(const LocaleSettings& settings) {
    settingsInForce() = settings;
}

void resetLocaleSettings() {
    settingsInForce() = LocaleSettings::defaults();
}

std::string systemIntlFilePath() {
    const std::string xdg = environment("XDG_CONFIG_HOME");
    if (!xdg.empty() && xdg.front() == '/') return xdg + "/quillery/intl.ini";
    const std::string home = environment("HOME");
    if (!home.empty()) return home + "/.config/quillery/intl.ini";
    return {};
}

LocaleSettings withIntlValues(const LocaleSettings& base, std::string_view iniText) {
    LocaleSettings s = base;
    bool inIntl = false;
    for (std::string_view line : settings_text::splitLines(iniText)) {
        line = trimBlanks(line);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            inIntl = close != std::string_view::npos &&
                     equalsIgnoringCase(trimBlanks(line.substr(1, close - 1)), "intl");
            continue;
        }
        if (!inIntl) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        applyIntlValue(s, trimBlanks(line.substr(0, eq)), iniValue(line.substr(eq + 1)));
    }
    return s;
}

void loadSystemLocale(const std::string& path) {
    LocaleSettings s = LocaleSettings::defaults();
    std::string text;
    if (!path.empty() && settings_text::readWholeFile(path, text)) s = withIntlValues(s, text);
    setLocaleSettings(s);
}

void loadSystemLocale() {
    loadSystemLocale(systemIntlFilePath());
}

}  // namespace quillery
