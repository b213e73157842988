// Operating-system failures in the runtime's numbering (2 "File Not Found", 5 "Access Denied",
// 39 "Handle Disk Full", ...). Posted as ErrorCode::kOperatingSystemBase plus the number, so every
// engine that meets a failing system call translates its errno here and nowhere else.
#pragma once

namespace quillery {

namespace OsError {
inline constexpr int kFileNotFound = 2;
inline constexpr int kPathNotFound = 3;
inline constexpr int kTooManyOpenFiles = 4;
inline constexpr int kAccessDenied = 5;
inline constexpr int kInvalidHandle = 6;
inline constexpr int kInsufficientMemory = 8;
inline constexpr int kInvalidDrive = 15;
inline constexpr int kNotSameDevice = 17;
inline constexpr int kWriteProtect = 19;
inline constexpr int kGeneralFailure = 31;
inline constexpr int kSharingViolation = 32;
inline constexpr int kLockViolation = 33;  // a byte range is locked by another open
inline constexpr int kHandleDiskFull = 39;
inline constexpr int kNotSupported = 50;
inline constexpr int kFileAlreadyExists = 80;
inline constexpr int kInvalidParameter = 87;
}  // namespace OsError

// The runtime's operating-system error number for a POSIX errno value.
int osErrorNumberOf(int errnoValue);

// Records the translation of `errnoValue` as the last operating-system error (so that a later
// postError(ErrorCode::kNone) posts it) and returns it.
int recordOsError(int errnoValue);

}  // namespace quillery
