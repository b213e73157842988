// The small status value every fallible call inside the storage engine returns. Its code is the
// runtime error code the file layer posts (0 = success); operating-system failures carry the
// system's own error number as well.
#pragma once

#include <string>
#include <utility>

#include "runtime/errors.h"
#include "runtime/os_errors.h"

namespace quillery::storage {

class [[nodiscard]] Status {
  public:
    Status() = default;

    static Status success() { return {}; }
    static Status error(int code, std::string message = {}) {
        Status s;
        s.code_ = code;
        s.message_ = std::move(message);
        return s;
    }
    // `osNumber` is the operating-system error number of the runtime's table (2, 5, 39, ...).
    static Status osError(int osNumber, std::string message = {}) {
        Status s = error(ErrorCode::kOperatingSystemBase + osNumber, std::move(message));
        s.osError_ = osNumber;
        return s;
    }

    bool ok() const { return code_ == 0; }
    int code() const { return code_; }
    int osError() const { return osError_; }
    const std::string& message() const { return message_; }

    // The lock of a byte range is held by another open of the file.
    bool isLockConflict() const { return osError_ == OsError::kLockViolation; }

  private:
    int code_ = 0;
    int osError_ = 0;
    std::string message_;
};

// Returns from the calling function when `expr` fails.
#define QUILLERY_RETURN_IF_ERROR(expr)                \
    do {                                              \
        ::quillery::storage::Status status_ = (expr); \
        if (!status_.ok()) return status_;            \
    } while (false)

}  // namespace quillery::storage
