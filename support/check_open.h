// `CHECKOPEN`: opens a data file for a procedure that needs it, mending what can be mended (a
// missing file created, a locked file tried once more, damaged keys rebuilt on request) and
// ending the program with a standard warning when the file cannot be used.
#pragma once

#include <cstdint>
#include <optional>

#include "storage/file_statements.h"

namespace quillery {

// The open mode used unless the caller names another: read and write, others may read and write.
inline constexpr std::uint8_t kCheckOpenMode = 0x22;

// Opens `file` in OVERRIDEOPENMODE (kCheckOpenMode when omitted). A missing file is created when
// OVERRIDECREATE is 1. Returns with the file open; every failure it cannot mend ends the program
// through a standard warning naming the file.
void CHECKOPEN(const FileDeclaration& file, std::optional<std::uint8_t> OVERRIDECREATE = {},
               std::optional<std::uint8_t> OVERRIDEOPENMODE = {});

}  // namespace quillery
