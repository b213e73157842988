// The error check of the main window.
#include "support/check_error.h"

#include <string>

#include "runtime/errors.h"
#include "runtime/window/message_box.h"

namespace quillery {

void CHECKERROR(std::string_view CAPTION) {
    if (errorCode() == ErrorCode::kNone) return;
    MESSAGE(std::string(10, ' ') + errorText(), CAPTION, ICON::Exclamation, BUTTON::OK);
}

}  // namespace quillery
