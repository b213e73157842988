// The current error: the code, text, file and operating-system error number of the last failed
// operation. Operations post their failures here and return normally; callers read it back.
#pragma once

#include <string>
#include <string_view>

namespace quillery {

// Error codes used by name in the code. The full table of texts lives in error_texts.cpp.
namespace ErrorCode {
inline constexpr int kNone = 0;
inline constexpr int kFileNotFound = 2;
inline constexpr int kPathNotFound = 3;
inline constexpr int kTooManyOpenFiles = 4;
inline constexpr int kAccessDenied = 5;
inline constexpr int kInsufficientMemory = 8;
inline constexpr int kEntryNotFound = 30;
inline constexpr int kFileAlreadyLocked = 32;
inline constexpr int kRecordNotAvailable = 33;
inline constexpr int kRecordNotFound = 35;
inline constexpr int kInvalidDataFile = 36;
inline constexpr int kFileNotOpen = 37;
inline constexpr int kInvalidKeyFile = 38;
inline constexpr int kCreatesDuplicateKey = 40;
inline constexpr int kRecordIsAlreadyHeld = 43;
inline constexpr int kInvalidFilename = 45;
inline constexpr int kKeyFileMustBeRebuilt = 46;
inline constexpr int kInvalidRecordDeclaration = 47;
inline constexpr int kUnableToLogTransaction = 48;
inline constexpr int kFileAlreadyOpen = 52;
inline constexpr int kNoCreateAttribute = 54;
inline constexpr int kExclusiveAccessRequired = 63;
inline constexpr int kInvalidFieldTypeDescriptor = 75;
inline constexpr int kUnsupportedFileDriverFunction = 80;
inline constexpr int kUnknownErrorPosted = 81;
inline constexpr int kRecordChangedByAnotherStation = 89;
inline constexpr int kDriverError = 90;
inline constexpr int kOperatingSystemBase = 300;
inline constexpr int kInternalError01 = 501;
}  // namespace ErrorCode

// Longest error text kept in the current error.
inline constexpr std::size_t kMaxErrorTextLength = 79;

// Posts `code` for `file` as the current error. Code 0 stands for "the operating system said
// no": it becomes 300 plus the last operating-system error number.
void postError(int code, std::string_view file = {});

// Clears the current error: code 0, no file, text all spaces.
void clearError();

int errorCode();
// The text of the current error (all spaces when there is none).
const std::string& errorText();
// The name of the file whose operation posted the current error; empty when none.
const std::string& errorFile();
// The operating-system error number that stood when the current error was posted.
int errorOsNumber();

// The error reported by a file driver in its own words (code 90); empty unless a driver set it.
const std::string& driverErrorText();
const std::string& driverErrorCodeText();
void postDriverError(std::string_view codeText, std::string_view text, std::string_view file = {});

// The last operating-system error number. Code paths that fail inside the operating system
// record it (from errno) so that a later postError(0) can turn it into a 3xx code.
int lastOsError();
void setLastOsError(int osErrorNumber);

// The text of `code`: the table entry, a ZEMMSGn replacement from the settings file, or
// "Unknown Error Posted : <code>" for a code without an entry. Not cut to length.
std::string errorTextOf(int code);

// Replaces the text of `code` (ZEMMSGn in the settings file). An empty text restores the table.
void setErrorTextOverride(int code, std::string_view text);
void clearErrorTextOverrides();

}  // namespace quillery
