// The global error memory.
#include "support/error_memory.h"

#include <charconv>
#include <string>

#include "runtime/errors.h"

namespace quillery {

std::int32_t SAVEERRORCODE = 0;
FixedString<255> SAVEERROR;
std::int32_t SAVEFILEERRORCODE = 0;
FixedString<255> SAVEFILEERROR;

namespace {

std::int32_t leadingNumber(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return 0;
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data() + first, text.data() + text.size(), value);
    (void)end;
    return ec == std::errc{} ? value : 0;
}

}  // namespace

void saveCurrentError() {
    SAVEERRORCODE = errorCode();
    SAVEERROR = errorText();
    if (errorCode() == ErrorCode::kDriverError) {
        SAVEFILEERRORCODE = leadingNumber(driverErrorCodeText());
        SAVEFILEERROR = driverErrorText();
    } else {
        SAVEFILEERRORCODE = 0;
        SAVEFILEERROR.clear();
    }
}

void clearErrorMemory() {
    SAVEERRORCODE = 0;
    SAVEERROR.clear();
    SAVEFILEERRORCODE = 0;
    SAVEFILEERROR.clear();
}

}  // namespace quillery
