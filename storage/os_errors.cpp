// Failing system calls of the file layer as statuses.
#include "storage/os_errors.h"

namespace quillery::storage {

Status statusFromErrno(int errnoValue, std::string what) {
    return Status::osError(recordOsError(errnoValue), std::move(what));
}

}  // namespace quillery::storage
