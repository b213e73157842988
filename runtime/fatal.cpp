// The fatal-error report and the end of the program.
#include "runtime/fatal.h"

#include <cstdio>
#include <cstdlib>

#include "runtime/errors.h"
#include "runtime/runtime_options.h"

namespace quillery {
namespace {

void reportToStandardError(const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", std::string(kRuntimeErrorCaption).c_str(), text.c_str());
    std::fflush(stderr);
}

}  // namespace

void endProgram(int exitCode) {
    const ProgramEndHandler& handler = runtimeOptions().programEnd;
    if (handler) handler(exitCode);
    std::fflush(nullptr);
    std::exit(exitCode);
}

std::string fatalReportText(int code, std::string_view text) {
    if (code == 0) return std::string(text);
    return errorTextOf(code) + " : " + std::string(text);
}

void fatalError(std::string_view text) {
    fatalError(0, text);
}

void fatalError(int code, std::string_view text) {
    if (code != 0) postError(code);
    const FatalReporter& reporter = runtimeOptions().fatalReporter;
    const std::string report = fatalReportText(code, text);
    if (reporter) {
        reporter(report);
    } else {
        reportToStandardError(report);
    }
    endProgram(kFatalExitCode);
}

std::string assertionText(std::string_view expression, std::string_view file, long line) {
    return "Assertion failed:" + std::string(expression) + "\r\nFile " + std::string(file) +
           " line " + std::to_string(line);
}

void assertionFailed(std::string_view expression, std::string_view file, long line) {
    fatalError(ErrorCode::kInternalError01, assertionText(expression, file, line));
}

}  // namespace quillery
