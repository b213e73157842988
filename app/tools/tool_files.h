// Whole-file reads and writes for quillery-data's CSV side, with standard input and output
// standing in for a missing or "-" name.
#pragma once

#include <iosfwd>
#include <string>

namespace quillery::tools {

// Reads all of `path` (all of `in` when `path` is "" or "-") into `bytes`; false with the
// reason in `error`.
[[nodiscard]] bool readWholeInput(const std::string& path, std::istream& in, std::string& bytes,
                                  std::string& error);

// Writes `bytes` to `path` (to `out` when `path` is "" or "-"). A file is written under a
// temporary name and renamed into place, so a failed write never leaves half a file behind.
[[nodiscard]] bool writeWholeOutput(const std::string& path, std::ostream& out,
                                    const std::string& bytes, std::string& error);

}  // namespace quillery::tools
