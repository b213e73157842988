// How a standard warning describes an error: the saved error first, else the current one, the
// driver's own words for code 90, and the memory emptied every time.
#include <gtest/gtest.h>

#include <string>

#include "runtime/errors.h"
#include "support/error_memory.h"
#include "support/standard_warning.h"
#include "tests/common/message_box_answer.h"

namespace quillery {
namespace {

class ErrorTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        clearError();
        clearErrorMemory();
    }
    void TearDown() override {
        clearError();
        clearErrorMemory();
    }

    static StandardWarningState built() {
        StandardWarningState state;
        buildErrorText(state);
        return state;
    }

    static void expectMemoryEmpty() {
        EXPECT_EQ(SAVEERRORCODE, 0);
        EXPECT_EQ(SAVEERROR.view(), std::string(255, ' '));
        EXPECT_EQ(SAVEFILEERRORCODE, 0);
        EXPECT_EQ(SAVEFILEERROR.view(), std::string(255, ' '));
    }
};

TEST_F(ErrorTextTest, CurrentErrorTextThenItsCodeInParentheses) {
    postError(ErrorCode::kFileNotFound, "Quillery.QLY");
    const StandardWarningState state = built();
    EXPECT_EQ(state.ERRORTEXT.clipped(), "File Not Found (2)");
    EXPECT_EQ(state.CURRENTERRORCODE, 2);
    // The current error itself is left alone.
    EXPECT_EQ(errorCode(), 2);
}

TEST_F(ErrorTextTest, TrailingBlanksOfTheTextAreDropped) {
    postError(78);  // its text ends in a blank
    ASSERT_EQ(errorText(), "Invalid Number Of Parameters ");
    EXPECT_EQ(built().ERRORTEXT.clipped(), "Invalid Number Of Parameters (78)");
}

TEST_F(ErrorTextTest, NoErrorAtAllStillNamesCodeZero) {
    const StandardWarningState state = built();
    EXPECT_EQ(state.ERRORTEXT.clipped(), " (0)");
    EXPECT_EQ(state.CURRENTERRORCODE, 0);
}

TEST_F(ErrorTextTest, DriverErrorUsesTheDriversWords) {
    postDriverError("1205  ", "Lock wait timeout   ", "Awards.QLY");
    const StandardWarningState state = built();
    EXPECT_EQ(state.ERRORTEXT.clipped(), "Lock wait timeout (1205)");
    EXPECT_EQ(state.CURRENTERRORCODE, 90);
}

TEST_F(ErrorTextTest, SavedErrorComesFirstAndIsForgotten) {
    SAVEERRORCODE = 35;
    SAVEERROR = "Record Not Found";
    postError(ErrorCode::kAccessDenied);
    const StandardWarningState state = built();
    EXPECT_EQ(state.ERRORTEXT.clipped(), "Record Not Found (35)");
    EXPECT_EQ(state.CURRENTERRORCODE, 35);
    expectMemoryEmpty();
    // The next description is of the current error.
    EXPECT_EQ(built().ERRORTEXT.clipped(), "Access Denied (5)");
}

TEST_F(ErrorTextTest, SavedDriverErrorUsesTheSavedFileError) {
    SAVEERRORCODE = 90;
    SAVEERROR = "ignored for a driver error";
    SAVEFILEERRORCODE = 4711;
    SAVEFILEERROR = "Disk quota exceeded";
    const StandardWarningState state = built();
    EXPECT_EQ(state.ERRORTEXT.clipped(), "Disk quota exceeded (4711)");
    EXPECT_EQ(state.CURRENTERRORCODE, 90);
    expectMemoryEmpty();
}

TEST_F(ErrorTextTest, TheDescriptionIsCutToItsField) {
    SAVEERRORCODE = 81;
    SAVEERROR = std::string(255, 'x');
    const StandardWarningState state = built();
    EXPECT_EQ(state.ERRORTEXT.view(), std::string(150, 'x'));
}

TEST_F(ErrorTextTest, SavingTheCurrentErrorRoundTrips) {
    postError(ErrorCode::kAccessDenied);
    saveCurrentError();
    EXPECT_EQ(SAVEERRORCODE, 5);
    EXPECT_EQ(SAVEERROR.clipped(), "Access Denied");
    clearError();
    EXPECT_EQ(built().ERRORTEXT.clipped(), "Access Denied (5)");

    postDriverError(" 28", "No space left on device");
    saveCurrentError();
    EXPECT_EQ(SAVEFILEERRORCODE, 28);
    EXPECT_EQ(SAVEFILEERROR.clipped(), "No space left on device");
    clearError();
    EXPECT_EQ(built().ERRORTEXT.clipped(), "No space left on device (28)");

    postDriverError("E-12", "Odd code");
    saveCurrentError();
    EXPECT_EQ(SAVEFILEERRORCODE, 0);  // not a number
}

TEST_F(ErrorTextTest, EveryWarningClearsTheMemoryEvenAnUnknownOne) {
    testing::BoxAnswerer answerer;  // no box is expected; one would be closed and counted
    for (int id : {0, 39, -1, 1000}) {
        SAVEERRORCODE = 33;
        SAVEERROR = "Record Not Available";
        SAVEFILEERRORCODE = 1;
        SAVEFILEERROR = "x";
        EXPECT_EQ(STANDARDWARNING(id, "Quillery.QLY"), 0) << id;
        expectMemoryEmpty();
    }
    EXPECT_TRUE(answerer.shown().empty());
}

}  // namespace
}  // namespace quillery
