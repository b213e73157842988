// The fatal-error report and the end of the program.
#include "runtime/fatal.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "runtime/errors.h"

namespace quillery {
namespace {

void reportToStandardError(const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", std::string(kRuntimeErrorCaption).c_str(), text.c_str());
    std::fflush(stderr);
}

FatalReporter& reporter() {
    static FatalReporter installed = reportToStandardError;
    return installed;
}

ProgramEndHandler& endHandler() {
    static ProgramEndHandler installed;
    return installed;
}

}  // namespace

FatalReporter setFatalReporter(FatalReporter next) {
    if (!next) next = reportToStandardError;
    return std::exchange(reporter(), std::move(next));
}

ProgramEndHandler setProgramEndHandler(ProgramEndHandler handler) {
    return std::exchange(endHandler(), std::move(handler));
}

void endProgram(int exitCode) {
    if (endHandler()) endHandler()(exitCode);
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
    reporter()(fatalReportText(code, text));
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
