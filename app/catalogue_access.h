// What this user may do with a catalogue file, asked of the file system: told apart from a lock
// another program holds, a catalogue that can only be read is reported in words of its own.
#pragma once

#include <string>

namespace quillery {

// The file at `path` can be read but not written by this program: its permissions, or a
// read-only medium.
bool canOnlyBeRead(const std::string& path);

}  // namespace quillery
