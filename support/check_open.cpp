// The file open check: each way an open can fail, and what is done about it.
#include "support/check_open.h"

#include <string>

#include "runtime/errors.h"
#include "support/standard_warning.h"

namespace quillery {
namespace {

namespace Warning {
constexpr std::int32_t InvalidFile = 1;
constexpr std::int32_t InvalidKey = 2;
constexpr std::int32_t KeyRebuildError = 3;
constexpr std::int32_t FileCreationError = 4;
constexpr std::int32_t CreatedFileOpenError = 5;
constexpr std::int32_t FileAccessError = 30;
}  // namespace Warning

constexpr char kDiskErrorText[] = "Disk Error";
// A retry option some drivers use to wait for a lock; this one ignores it and simply opens again.
constexpr char kRecoverOption[] = "Recover=10";

// CREATEFILE: the file created empty and opened; the program ends when either step fails.
void createFile(const FileDeclaration& file, int openMode, const std::string& name) {
    CREATE(file);
    if (errorCode() != ErrorCode::kNone) STANDARDWARNING(Warning::FileCreationError, name);
    OPEN(file, openMode);
    if (errorCode() != ErrorCode::kNone) STANDARDWARNING(Warning::CreatedFileOpenError, name);
}

// The keys rebuilt on the user's word, then the file opened again.
void rebuildKeys(const FileDeclaration& file, int openMode, const std::string& name) {
    STANDARDWARNING(Warning::InvalidKey, name);  // ends the program unless answered Yes
    BUILD(file);
    if (errorCode() != ErrorCode::kNone) STANDARDWARNING(Warning::KeyRebuildError, name);
    OPEN(file, openMode);
}

}  // namespace

void CHECKOPEN(const FileDeclaration& file, std::optional<std::uint8_t> OVERRIDECREATE,
               std::optional<std::uint8_t> OVERRIDEOPENMODE) {
    const int OPENMODE = OVERRIDEOPENMODE.value_or(kCheckOpenMode);
    const std::string name = NAME(file);
    OPEN(file, OPENMODE);
    if (errorCode() == ErrorCode::kFileAlreadyLocked) {
        (void)SEND(file, kRecoverOption);  // the driver's reply says nothing here
        OPEN(file, OPENMODE);
    }
    switch (errorCode()) {
        case ErrorCode::kNone:
        case ErrorCode::kFileAlreadyOpen:
            return;
        case ErrorCode::kFileNotFound:
            if (!OVERRIDECREATE) break;  // reported below with the error still standing
            if (*OVERRIDECREATE != 1) STANDARDWARNING(Warning::FileCreationError, name);
            createFile(file, OPENMODE, name);
            return;
        case ErrorCode::kInvalidRecordDeclaration:
            STANDARDWARNING(Warning::InvalidFile, name);
            break;
        case ErrorCode::kKeyFileMustBeRebuilt:
            rebuildKeys(file, OPENMODE, name);
            break;
        default:
            break;
    }
    if (errorCode() != ErrorCode::kNone) {
        STANDARDWARNING(Warning::FileAccessError, name);
        endWithMessage(kDiskErrorText);
    }
}

}  // namespace quillery
