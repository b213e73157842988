// Unrecoverable faults: the "Runtime error" report and the end of the program.
//
// The runtime core knows nothing of windows, so the report goes through the reporter of the
// runtime's options (runtime/runtime_options.h); without one the text goes to standard error.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quillery {

// Caption of the fatal report's box.
inline constexpr std::string_view kRuntimeErrorCaption = "Runtime error";
// Exit code of a program ended by a fatal report.
inline constexpr int kFatalExitCode = 2;

// Shows the text of an unrecoverable fault (caption "Runtime error", stop icon).
using FatalReporter = std::function<void(const std::string& text)>;

// Ends the program with `exitCode`. The handler must not return: without one the program calls
// std::exit; tests install one that throws ProgramEnded so that program ends are catchable.
using ProgramEndHandler = std::function<void(int exitCode)>;
[[noreturn]] void endProgram(int exitCode);

// What a test's program-end handler throws.
struct ProgramEnded {
    int exitCode;
};

// The text the fatal report shows for `code` and `text`: with a code, the code's text,
// " : ", then `text`; without (code 0), `text` alone.
std::string fatalReportText(int code, std::string_view text);

// Reports an unrecoverable fault and ends the program with exit code 2. A non-zero `code` is
// posted as the current error first and its text heads the report.
[[noreturn]] void fatalError(std::string_view text);
[[noreturn]] void fatalError(int code, std::string_view text);

// The text of a failed assertion: "Assertion failed:<expr>\r\nFile <file> line <line>".
std::string assertionText(std::string_view expression, std::string_view file, long line);
// Reports a failed assertion under code 501 and ends the program.
[[noreturn]] void assertionFailed(std::string_view expression, std::string_view file, long line);

}  // namespace quillery

// Checks an internal invariant that no input can break; a failure is a fatal report.
#define QUILLERY_ASSERT(expr) \
    ((expr) ? static_cast<void>(0) : ::quillery::assertionFailed(#expr, __FILE__, __LINE__))
