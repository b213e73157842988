// The runtime's options: what a scope installs is in force inside it and gone after it, nested
// scopes unwind in order (and ending them out of order is a fault said at once), the century
// window follows the clock installed, and without a reporter a fault is said on standard error and
// ends the program with status 2.
#include "runtime/runtime_options.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "runtime/dates.h"
#include "runtime/errors.h"
#include "tests/common/fatal_capture.h"

namespace quillery {
namespace {

LocalDateTime dayIn(int year) {
    return {year, 6, 15, 10, 0, 0, 0};
}

RuntimeOptions withClock(LocalDateTime now) {
    RuntimeOptions options = runtimeOptions();
    options.clock = [now] { return now; };
    return options;
}

TEST(RuntimeOptions, ScopesInstallTheirOptionsAndPutTheEarlierOnesBack) {
    testing::FatalCapture capture;
    const ScopedRuntimeOptions outer(withClock(dayIn(2026)));
    EXPECT_EQ(TODAY(), DATE(6, 15, 2026));
    {
        std::vector<std::string> innerReports;
        RuntimeOptions inner = withClock(dayIn(2031));
        inner.fatalReporter = [&](const std::string& text) { innerReports.push_back(text); };
        const ScopedRuntimeOptions innerScope(inner);
        EXPECT_EQ(TODAY(), DATE(6, 15, 2031));
        // The program end is the capture's, copied from the options in force.
        EXPECT_THROW(fatalError("inner"), ProgramEnded);
        EXPECT_EQ(innerReports, std::vector<std::string>{"inner"});
        EXPECT_TRUE(capture.reports().empty());
    }
    EXPECT_EQ(TODAY(), DATE(6, 15, 2026));
    EXPECT_THROW(fatalError(ErrorCode::kInternalError01, "outer"), ProgramEnded);
    ASSERT_EQ(capture.reports().size(), 1u);
    EXPECT_EQ(capture.reports()[0], errorTextOf(ErrorCode::kInternalError01) + " : outer");
    clearError();
}

TEST(RuntimeOptions, TheCenturyWindowReadsItsYearFromTheClockInstalled) {
    LocalDateTime now = dayIn(2026);
    RuntimeOptions moving = runtimeOptions();
    moving.clock = [&now] { return now; };
    const ScopedRuntimeOptions outer(moving);
    EXPECT_EQ(expandTwoDigitYear(46), 1946);  // the window of 2026 reaches 2045
    now = dayIn(2031);                        // the clock moves on within a run; the window stays
    EXPECT_EQ(expandTwoDigitYear(46), 1946);
    {
        const ScopedRuntimeOptions later(withClock(dayIn(2031)));
        EXPECT_EQ(expandTwoDigitYear(46), 2046);
        EXPECT_EQ(expandTwoDigitYear(51), 1951);
    }
    // Back to the outer options: the year is read again, from their clock (now in 2031).
    EXPECT_EQ(expandTwoDigitYear(46), 2046);
    now = dayIn(2026);
    setRuntimeOptions(runtimeOptions());
    EXPECT_EQ(expandTwoDigitYear(46), 1946);
}

TEST(RuntimeOptionsDeathTest, WithoutAReporterAFaultIsSaidOnStandardErrorAndEndsTheProgram) {
    EXPECT_EXIT(
        {
            const ScopedRuntimeOptions defaults{RuntimeOptions{}};
            fatalError("Internal error : vltbt line 7");
        },
        ::testing::ExitedWithCode(kFatalExitCode), "Runtime error: Internal error : vltbt line 7");
}

// A scope ended while a later one stands would leave the later one to put its options back.
TEST(RuntimeOptionsDeathTest, ScopesEndedOutOfOrderAreSaidAtOnce) {
    EXPECT_DEATH(
        {
            auto first = std::make_unique<ScopedRuntimeOptions>(runtimeOptions());
            const ScopedRuntimeOptions second(runtimeOptions());
            first.reset();
        },
        "Options scopes ended out of order");
}

}  // namespace
}  // namespace quillery
