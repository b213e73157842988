// Reading the settings file: splitting it into KEY=value entries, turning each known key's
// value into its table, and putting the whole result in force at once.
#include "runtime/settings_file.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <utility>

#include "runtime/case_compare.h"
#include "runtime/char_table_settings.h"
#include "runtime/char_tables.h"
#include "runtime/codepage.h"
#include "runtime/errors.h"
#include "runtime/locale_settings.h"
#include "runtime/settings_list.h"
#include "runtime/settings_text.h"

namespace quillery {
namespace {

constexpr std::string_view kErrorTextKeyPrefix = "ZEMMSG";

std::vector<std::string>& buttonCaptions() {
    static std::vector<std::string> captions;
    return captions;
}

struct Entry {
    std::string_view key;
    std::string value;
};

// KEY=value with the key's blanks dropped, the value cut to its longest length and its
// trailing blanks removed; nullopt for a line that is not such an entry.
std::optional<Entry> parseLine(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    const std::string_view key = settings_text::trimBlanks(line.substr(0, eq));
    if (key.empty() || key.size() > kMaxSettingsKeyLength) return std::nullopt;
    std::string_view value = line.substr(eq + 1, kMaxSettingsValueLength);
    value = settings_text::trimBlanks(value);
    return Entry{key, std::string(value)};
}

bool isWindowsKeyword(std::string_view value) {
    return equalsIgnoringCase(value, "WINDOWS");
}

std::string cut(std::string_view text, std::size_t length) {
    return std::string(text.substr(0, std::min(text.size(), length)));
}

// The error code of a ZEMMSGn key, nullopt unless n is a plain positive decimal int.
std::optional<int> errorCodeOfKey(std::string_view key) {
    const std::string_view digits = key.substr(kErrorTextKeyPrefix.size());
    if (digits.empty()) return std::nullopt;
    long long code = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        code = code * 10 + (c - '0');
        if (code > INT_MAX) return std::nullopt;  // leading zeros are fine, overflow is not
    }
    if (code == 0) return std::nullopt;
    return static_cast<int>(code);
}

// A single text (ZEMMSGn): the first item when the value opens with a quote, otherwise the
// value as it stands, so an unquoted message may hold commas.
std::string singleText(const std::string& value) {
    if (!value.empty() && (value.front() == '\'' || value.front() == '"')) {
        return splitSettingsList(value).front();
    }
    return value;
}

// All that one settings file changes, gathered before any of it is put in force.
struct PendingSettings {
    CharTables tables = charTables();
    LocaleSettings locale = localeSettings();
    std::vector<std::pair<int, std::string>> errorTexts;
    std::optional<std::vector<std::string>> buttons;
};

std::optional<std::array<std::string, 12>> twelveNames(const std::string& value,
                                                       std::size_t length) {
    const std::vector<std::string> items = splitSettingsList(value);
    if (items.size() != 12) return std::nullopt;
    std::array<std::string, 12> names;
    for (std::size_t i = 0; i < 12; ++i) {
        if (items[i].empty()) return std::nullopt;
        names[i] = cut(items[i], length);
    }
    return names;
}

void applyCase(PendingSettings& s, const std::string& value) {
    CaseTables pairs;
    if (value.empty()) {
        pairs = asciiCasePairs();
    } else if (isWindowsKeyword(value)) {
        pairs = windowsCasePairs();
    } else {
        const std::vector<std::string> lists = splitSettingsList(value);
        if (lists.size() != 2) return;
        pairs = lists[0].size() == lists[1].size() ? casePairsFrom(lists[0], lists[1])
                                                   : windowsCasePairs();
    }
    s.tables.upper = pairs.upper;
    s.tables.lower = pairs.lower;
}

void applyAmPm(PendingSettings& s, const std::string& value) {
    if (isWindowsKeyword(value)) {
        s.locale.am = cut(s.locale.systemAm, kMaxAmPmLength);
        s.locale.pm = cut(s.locale.systemPm, kMaxAmPmLength);
        return;
    }
    const std::vector<std::string> items = splitSettingsList(value);
    if (items.size() != 2) return;
    s.locale.am = cut(items[0], kMaxAmPmLength);
    s.locale.pm = cut(items[1], kMaxAmPmLength);
}

void applyEntry(PendingSettings& s, std::string_view key, const std::string& value) {
    if (equalsIgnoringCase(key, "ZEMCOLSEQ")) {
        std::string sequence;
        if (!isWindowsKeyword(value)) {
            for (const std::string& item : splitSettingsList(value))
                sequence += item;
        }
        s.tables.collation = collationFromSequence(sequence);
    } else if (equalsIgnoringCase(key, "ZEMCASE")) {
        applyCase(s, value);
    } else if (equalsIgnoringCase(key, "ZEMMONTH")) {
        if (auto names = twelveNames(value, kMaxMonthNameLength)) s.locale.monthNames = *names;
    } else if (equalsIgnoringCase(key, "ZEMMON")) {
        if (auto names = twelveNames(value, kMonthAbbrevLength)) s.locale.monthAbbrevs = *names;
    } else if (equalsIgnoringCase(key, "ZEMAMPM")) {
        applyAmPm(s, value);
    } else if (equalsIgnoringCase(key, "ZEMDIGRAPH")) {
        if (auto digraphs = digraphsFrom(splitSettingsList(value))) s.tables.digraphs = *digraphs;
    } else if (equalsIgnoringCase(key, "ZEMBUTTON")) {
        s.buttons = splitSettingsList(value);
    } else if (startsWithIgnoringCase(key, kErrorTextKeyPrefix)) {
        if (auto code = errorCodeOfKey(key)) s.errorTexts.emplace_back(*code, singleText(value));
    }
}

void putInForce(const PendingSettings& s) {
    setCharTables(s.tables);
    setLocaleSettings(s.locale);
    for (const auto& [code, text] : s.errorTexts)
        setErrorTextOverride(code, text);
    if (s.buttons) buttonCaptions() = *s.buttons;
}

}  // namespace

std::string programFilePath(const char* argv0) {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer);
    if (n > 0 && static_cast<std::size_t>(n) < sizeof buffer) return std::string(buffer, n);
    return argv0 ? std::string(argv0) : std::string();
}

std::string settingsFilePathFor(std::string_view programPath) {
    const std::size_t slash = programPath.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = programPath.rfind('.');
    // A dot that opens the name (".quillery") marks a hidden file, not an extension.
    const bool hasExtension = dot != std::string_view::npos && dot > nameStart;
    return std::string(programPath.substr(0, hasExtension ? dot : programPath.size())) + ".ENV";
}

void applySettingsText(std::string_view text) {
    std::vector<Entry> entries;
    for (std::string_view line : settings_text::splitLines(text)) {
        if (auto entry = parseLine(line)) entries.push_back(std::move(*entry));
    }
    // The character set names how every other value of the file is written, wherever it
    // stands; the last ZEMCHARSET counts.
    bool oem = false;
    for (const Entry& e : entries) {
        if (!equalsIgnoringCase(e.key, "ZEMCHARSET")) continue;
        const std::vector<std::string> items = splitSettingsList(e.value);
        oem = items.size() == 1 && equalsIgnoringCase(items.front(), "OEM");
    }
    PendingSettings pending;
    for (const Entry& e : entries) {
        if (equalsIgnoringCase(e.key, "ZEMCHARSET")) continue;
        applyEntry(pending, e.key, oem ? cp437ToCp1252(e.value) : e.value);
    }
    putInForce(pending);
}

bool loadSettingsFile(const std::string& path) {
    std::string text;
    if (!settings_text::readWholeFile(path, text)) {
        postError(ErrorCode::kFileNotFound, path);
        return false;
    }
    applySettingsText(text);
    return true;
}

void loadRuntimeSettings(const std::string& programPath) {
    resetRuntimeSettings();
    loadSystemLocale();
    loadSettingsFile(settingsFilePathFor(programPath));
}

const std::vector<std::string>& messageBoxButtonCaptions() {
    return buttonCaptions();
}

void resetRuntimeSettings() {
    setCharTables(CharTables::defaults());
    resetLocaleSettings();
    clearErrorTextOverrides();
    buttonCaptions().clear();
}

}  // namespace quillery
