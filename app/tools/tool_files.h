// Whole-file reads and writes for quillery-data's CSV side, with standard input and output
// standing in for a missing or "-" name.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace quillery::tools {

// Reads all of `path` (all of `in` when `path` is "" or "-") into `bytes`; false with the
// reason in `error`.
[[nodiscard]] bool readWholeInput(const std::string& path, std::istream& in, std::string& bytes,
                                  std::string& error);

// Writes `bytes` to `path` (to `out` when `path` is "" or "-"). A file is written under a
// temporary name, flushed, renamed into place and its folder flushed, so neither a failed write
// nor a power cut leaves half a file under `path`.
[[nodiscard]] bool writeWholeOutput(const std::string& path, std::ostream& out,
                                    const std::string& bytes, std::string& error);

// Sees each durable step of a file write ("write", "flush", "rename") with the path it concerns,
// so tests can tell that the bytes reach the disk before their name does. Empty: none.
using FileStepObserver = std::function<void(std::string_view step, const std::string& path)>;
void setFileStepObserver(FileStepObserver observer);

}  // namespace quillery::tools
