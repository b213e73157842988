// Failing system calls of the file layer as statuses, in the runtime's operating-system numbering
// (runtime/os_errors.h).
#pragma once

#include <string>

#include "runtime/os_errors.h"
#include "storage/status.h"

namespace quillery::storage {

// Records the translation of `errnoValue` as the last operating-system error and returns the
// matching status.
Status statusFromErrno(int errnoValue, std::string what);

}  // namespace quillery::storage
