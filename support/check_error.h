// `CHECKERROR`: the main window's check after each step; it shows the current error, if any.
#pragma once

#include <string_view>

namespace quillery {

// When there is a current error, shows its text after ten blanks under `CAPTION` with the
// warning icon and an OK button; otherwise does nothing.
void CHECKERROR(std::string_view CAPTION);

}  // namespace quillery
