// Translation of POSIX errno values into the runtime's operating-system error numbers.
#include "runtime/os_errors.h"

#include <cerrno>

#include "runtime/errors.h"

namespace quillery {

int osErrorNumberOf(int e) {
    switch (e) {
        case ENOENT:
            return OsError::kFileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return OsError::kPathNotFound;
        case EMFILE:
        case ENFILE:
            return OsError::kTooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EISDIR:
            return OsError::kAccessDenied;
        case EBADF:
            return OsError::kInvalidHandle;
        case ENOMEM:
            return OsError::kInsufficientMemory;
        case ENODEV:
        case ENXIO:
            return OsError::kInvalidDrive;
        case EXDEV:
            return OsError::kNotSameDevice;
        case EROFS:
            return OsError::kWriteProtect;
        case EBUSY:
        case ETXTBSY:
            return OsError::kSharingViolation;
        case EAGAIN:  // EWOULDBLOCK has the same value
            return OsError::kLockViolation;
        case ENOSPC:
        case EFBIG:
        case EDQUOT:
            return OsError::kHandleDiskFull;
        case ENOSYS:
        case EOPNOTSUPP:
            return OsError::kNotSupported;
        case EEXIST:
            return OsError::kFileAlreadyExists;
        case EINVAL:
            return OsError::kInvalidParameter;
        case EIO:
        default:
            return OsError::kGeneralFailure;
    }
}

int recordOsError(int errnoValue) {
    const int number = osErrorNumberOf(errnoValue);
    setLastOsError(number);
    return number;
}

}  // namespace quillery
