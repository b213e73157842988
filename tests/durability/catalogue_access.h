// Opening an existing catalogue as the program's file QUILLERY, for the driver programs of the
// durability runs, and reporting a failed file statement.
#pragma once

#include <string>
#include <string_view>

namespace quillery::durability {

// Read/write, nobody else may write: how the program itself opens a catalogue.
inline constexpr int kOpenAlone = 0x22;
// Read only, nobody else may write: how a check reads a catalogue.
inline constexpr int kOpenToRead = 0x20;
// Read/write, others may read and write too: programs that share a catalogue.
inline constexpr int kOpenShared = 0x42;

// Opens `path` (which must exist: the file declaration would create a missing one). On
// failure writes why to standard error, after `program`, and returns false.
bool openCatalogue(std::string_view program, const std::string& path, int accessMode);

// When the last file statement failed, writes "PROGRAM: WHAT: error N: TEXT" to standard
// error and returns true.
bool statementFailed(std::string_view program, std::string_view what);

}  // namespace quillery::durability
