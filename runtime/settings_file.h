// The settings file beside the program ("<program>.ENV") and the one start-up call that reads
// the locale and then that file into the runtime's tables: collation and case pairs, month
// names, AM/PM texts, digraphs, message-box button captions and replacement error texts.
//
// The file holds lines KEY=value (see docs/settings.md for every key and how odd values are
// treated). Values that do not have the form their key needs are ignored and the earlier value
// stays; lines that are not KEY=value, and unknown keys, are ignored.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillery {

inline constexpr std::size_t kMaxSettingsKeyLength = 31;
inline constexpr std::size_t kMaxSettingsValueLength = 255;
inline constexpr std::size_t kMaxMonthNameLength = 12;
inline constexpr std::size_t kMonthAbbrevLength = 3;
inline constexpr std::size_t kMaxAmPmLength = 2;

// The program's file: the target of /proc/self/exe, or argv0 when that cannot be read.
std::string programFilePath(const char* argv0);
// The settings file of the program at `programPath`: its extension replaced by ".ENV", or
// ".ENV" appended when the file name has none ("/opt/q/quillery" -> "/opt/q/quillery.ENV",
// "BOOK.EXE" -> "BOOK.ENV").
std::string settingsFilePathFor(std::string_view programPath);

// Start-up: the system locale values (loadSystemLocale), then the settings file of the program
// at `programPath`. Call once, before the first window opens.
void loadRuntimeSettings(const std::string& programPath);

// Reads the settings file at `path` over the tables in force and puts the result in force.
// A file that cannot be opened or read changes nothing, posts error 2 ("File Not Found") for
// `path` and returns false.
bool loadSettingsFile(const std::string& path);
// The same for the contents of a settings file already in memory.
void applySettingsText(std::string_view text);

// The captions the settings file gives for the standard message-box buttons (ZEMBUTTON), in
// the order of the buttons (OK, Yes, No, Abort, Retry, Ignore, Cancel, Help), Windows-1252, as
// given: the list may be shorter or longer than the buttons and items may be blank. Empty
// without a ZEMBUTTON value.
const std::vector<std::string>& messageBoxButtonCaptions();

// Puts back everything the settings file and the locale can change: character tables, locale
// values, replacement error texts and button captions (tests).
void resetRuntimeSettings();

}  // namespace quillery
