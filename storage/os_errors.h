// Operating-system failures in the runtime's numbering (2 "File Not Found", 5 "Access Denied",
// 39 "Handle Disk Full", ...), recorded as the runtime's last operating-system error.
#pragma once

#include <string>

#include "storage/status.h"

namespace quillery::storage {

// The runtime's operating-system error number for a POSIX errno value.
int osErrorNumberOf(int errnoValue);

// Records the translation of `errnoValue` as the last operating-system error and returns the
// matching status.
Status statusFromErrno(int errnoValue, std::string what);

}  // namespace quillery::storage
