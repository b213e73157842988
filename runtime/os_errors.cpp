// Translation of POSIX errno values into the runtime's operating-system error numbers.
#include "storage/os_errors.h"

#include <cerrno>

#include "runtime/errors.h"

namespace quillery::storage {

int osErrorNumberOf(int e) {
    switch (e) {
        case ENOENT:
            return 2;  // File Not Found
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return 3;  // Path Not Found
        case EMFILE:
        case ENFILE:
            return 4;  // Too Many Open Files
        case EACCES:
        case EPERM:
        case EISDIR:
            return 5;  // Access Denied
        case EBADF:
            return 6;  // Invalid Handle
        case ENOMEM:
            return 8;  // Insufficient Memory
        case ENODEV:
        case ENXIO:
            return 15;  // Invalid Drive
        case EXDEV:
            return 17;  // Not Same Device
        case EROFS:
            return 19;  // Write Protect
        case EBUSY:
        case ETXTBSY:
            return 32;  // Sharing Violation
        case EAGAIN:
            return 33;  // Lock Violation (EWOULDBLOCK has the same value)
        case ENOSPC:
        case EFBIG:
        case EDQUOT:
            return 39;  // Handle Disk Full
        case ENOSYS:
        case EOPNOTSUPP:
            return 50;  // Not Supported
        case EEXIST:
            return 80;  // File Already Exists
        case EINVAL:
            return 87;  // Invalid Parameter
        case EIO:
            return 31;  // General Failure
        default:
            return 31;
    }
}

Status statusFromErrno(int errnoValue, std::string what) {
    const int number = osErrorNumberOf(errnoValue);
    setLastOsError(number);
    return Status::osError(number, std::move(what));
}

}  // namespace quillery::storage
