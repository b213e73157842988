// The current error of the program.
#include "runtime/errors.h"

#include <algorithm>

namespace quillery {
namespace {

struct CurrentError {
    int code = 0;
    std::string text = std::string(kMaxErrorTextLength, ' ');
    std::string file;
    int osNumber = 0;
    std::string driverCodeText;
    std::string driverText;
};

CurrentError& current() {
    static CurrentError error;
    return error;
}

int& lastOs() {
    static int number = 0;
    return number;
}

// Leading spaces removed, cut to the longest text kept.
std::string storedText(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    text = first == std::string_view::npos ? std::string_view{} : text.substr(first);
    return std::string(text.substr(0, std::min(text.size(), kMaxErrorTextLength)));
}

}  // namespace

void postError(int code, std::string_view file) {
    CurrentError& e = current();
    if (code == ErrorCode::kNone) code = ErrorCode::kOperatingSystemBase + lastOs();
    e.code = code;
    e.text = storedText(errorTextOf(code));
    e.file = std::string(file);
    e.osNumber = lastOs();
    e.driverCodeText.clear();
    e.driverText.clear();
}

void postDriverError(std::string_view codeText, std::string_view text, std::string_view file) {
    postError(ErrorCode::kDriverError, file);
    current().driverCodeText = std::string(codeText);
    current().driverText = std::string(text);
}

void clearError() {
    current() = CurrentError{};
}

int errorCode() {
    return current().code;
}
const std::string& errorText() {
    return current().text;
}
const std::string& errorFile() {
    return current().file;
}
int errorOsNumber() {
    return current().osNumber;
}
const std::string& driverErrorText() {
    return current().driverText;
}
const std::string& driverErrorCodeText() {
    return current().driverCodeText;
}

int lastOsError() {
    return lastOs();
}
void setLastOsError(int osErrorNumber) {
    lastOs() = osErrorNumber;
}

}  // namespace quillery
