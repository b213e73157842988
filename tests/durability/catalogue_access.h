// Opening an existing catalogue as the program's file QUILLERY, for the driver programs of the
// durability runs, and reporting a failed file statement.
#pragma once

#include <string>
#include <string_view>

#include "storage/access_mode.h"

namespace quillery::durability {

// Read/write, nobody else may write: how the program itself opens a catalogue.
inline constexpr int kOpenAlone = storage::AccessMode::kReadWrite | storage::AccessMode::kDenyWrite;
// Read only, nobody else may write: how a check reads a catalogue.
inline constexpr int kOpenToRead = storage::AccessMode::kDenyWrite;
// Read/write, others may read and write too: programs that share a catalogue.
inline constexpr int kOpenShared = storage::AccessMode::kReadWrite | storage::AccessMode::kDenyNone;

// Opens `path` (which must exist: the file declaration would create a missing one). On
// failure writes why to standard error, after `program`, and returns false.
bool openCatalogue(std::string_view program, const std::string& path, int accessMode);

// When the last file statement failed, writes "PROGRAM: WHAT: error N: TEXT" to standard
// error and returns true.
bool statementFailed(std::string_view program, std::string_view what);

}  // namespace quillery::durability
