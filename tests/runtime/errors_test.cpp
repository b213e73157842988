// The current error, the error texts and the fatal report.
#include <gtest/gtest.h>

#include "runtime/errors.h"
#include "runtime/fatal.h"
#include "tests/common/fatal_capture.h"

namespace quillery {
namespace {

class ErrorsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        clearError();
        clearErrorTextOverrides();
        setLastOsError(0);
    }
    void TearDown() override { SetUp(); }
};

TEST_F(ErrorsTest, PostingStoresCodeTextAndFile) {
    postError(ErrorCode::kInvalidDataFile, "Quillery.QLY");
    EXPECT_EQ(errorCode(), 36);
    EXPECT_EQ(errorText(), "Invalid Data File");
    EXPECT_EQ(errorFile(), "Quillery.QLY");
}

TEST_F(ErrorsTest, ClearingLeavesCodeZeroNoFileAndBlankText) {
    postError(ErrorCode::kAccessDenied, "x");
    clearError();
    EXPECT_EQ(errorCode(), 0);
    EXPECT_EQ(errorFile(), "");
    EXPECT_EQ(errorText().find_first_not_of(' '), std::string::npos);
}

TEST_F(ErrorsTest, CodeZeroBecomesOperatingSystemError) {
    setLastOsError(32);
    postError(0);
    EXPECT_EQ(errorCode(), 332);
    EXPECT_EQ(errorText(), "Sharing Violation");
    EXPECT_EQ(errorOsNumber(), 32);
    setLastOsError(2);
    postError(0);
    EXPECT_EQ(errorCode(), 302);
    EXPECT_EQ(errorText(), "File Not Found");
}

TEST_F(ErrorsTest, UnknownCodeReadsUnknownErrorPostedWithNumber) {
    postError(999);
    EXPECT_EQ(errorCode(), 999);
    EXPECT_EQ(errorText(), "Unknown Error Posted : 999");
    EXPECT_EQ(errorTextOf(314), "Unknown Error Posted : 314");
}

TEST_F(ErrorsTest, TextsStandExactlyIncludingTrailingBlanks) {
    const std::pair<int, std::string_view> samples[] = {
        {2, "File Not Found"},
        {33, "Record Not Available"},
        {47, "Invalid Record Declaration"},
        {53, "Invalid Corvane File"},
        {78, "Invalid Number Of Parameters "},
        {89, "Record Changed By Another Station"},
        {316, "Invalid Operation For Current Directory"},
        {350, "Not Supported "},
        {391, "Unknown Error"},
        {403, "Termination caused by signal.  (User break or Floating point)"},
        {410, "Pure Virtual Function Called"},
        {501, "Internal error 01"},
        {515, "Internal error 15"},
        {537, "ACCEPT loop requires a window"},
        {605, "DDE transaction timed out"},
        {802, "Mismatched PUSHSCOPE/POPSCOPE"},
    };
    for (const auto& [code, text] : samples)
        EXPECT_EQ(errorTextOf(code), text) << code;
}

TEST_F(ErrorsTest, StoredTextDropsLeadingSpacesAndIsCutTo79) {
    setErrorTextOverride(36, "   Damaged");
    postError(36);
    EXPECT_EQ(errorText(), "Damaged");
    const std::string longText(120, 'x');
    setErrorTextOverride(36, longText);
    postError(36);
    EXPECT_EQ(errorCode(), 36);
    EXPECT_EQ(errorText(), std::string(79, 'x'));
}

TEST_F(ErrorsTest, OverrideReplacesAndEmptyRestores) {
    setErrorTextOverride(2, "Catalogue missing");
    EXPECT_EQ(errorTextOf(2), "Catalogue missing");
    setErrorTextOverride(2, "");
    EXPECT_EQ(errorTextOf(2), "File Not Found");
}

TEST_F(ErrorsTest, DriverErrorKeepsItsOwnTexts) {
    postDriverError("E17", "Volume offline", "Books.QLY");
    EXPECT_EQ(errorCode(), 90);
    EXPECT_EQ(driverErrorCodeText(), "E17");
    EXPECT_EQ(driverErrorText(), "Volume offline");
    postError(2);
    EXPECT_EQ(driverErrorText(), "");
}

TEST_F(ErrorsTest, FatalReportWithCodePostsAndPrefixesItsText) {
    testing::FatalCapture capture;
    try {
        fatalError(ErrorCode::kInternalError01, "boom");
        FAIL() << "fatalError returned";
    } catch (const ProgramEnded& end) {
        EXPECT_EQ(end.exitCode, 2);
    }
    ASSERT_EQ(capture.reports().size(), 1u);
    EXPECT_EQ(capture.reports()[0], "Internal error 01 : boom");
    EXPECT_EQ(errorCode(), 501);
}

TEST_F(ErrorsTest, FatalReportWithoutCodeShowsTextAlone) {
    testing::FatalCapture capture;
    postError(2);
    EXPECT_THROW(fatalError("Internal error : vltbt line 12"), ProgramEnded);
    EXPECT_EQ(capture.reports().at(0), "Internal error : vltbt line 12");
    EXPECT_EQ(errorCode(), 2) << "a report without a code posts nothing";
}

TEST_F(ErrorsTest, AssertionTextFormatAndReport) {
    EXPECT_EQ(assertionText("done+len <= limit", "record.cpp", 42),
              "Assertion failed:done+len <= limit\r\nFile record.cpp line 42");
    testing::FatalCapture capture;
    EXPECT_THROW(QUILLERY_ASSERT(1 + 1 == 3), ProgramEnded);
    ASSERT_EQ(capture.reports().size(), 1u);
    EXPECT_EQ(
        capture.reports()[0].rfind("Internal error 01 : Assertion failed:1 + 1 == 3\r\nFile ", 0),
        0u);
}

}  // namespace
}  // namespace quillery
