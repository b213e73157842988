// The window engine's runtime errors: shown in the "Runtime error" box, then the program ends.
#pragma once

namespace quillery {

namespace WindowError {
inline constexpr int kAlreadyOpen = 535;        // "Window is already open"
inline constexpr int kNotOpen = 536;            // "Window is not open"
inline constexpr int kAcceptNeedsWindow = 537;  // "ACCEPT loop requires a window"
}  // namespace WindowError

// Posts `code` as the current error, reports its text and ends the program.
[[noreturn]] void fatalWindowError(int code);

}  // namespace quillery
