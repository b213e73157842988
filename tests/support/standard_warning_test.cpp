// The standard warnings as the user sees them: every warning's box answered through its real
// buttons, the results, and the warnings that end the program.
#include "support/standard_warning.h"

#include <gtest/gtest.h>

#include <QDir>
#include <string>
#include <vector>

#include "runtime/errors.h"
#include "support/error_memory.h"
#include "tests/common/fatal_capture.h"
#include "tests/common/message_box_answer.h"

namespace quillery {
namespace {

using testing::BoxAnswerer;
using testing::FatalCapture;
using testing::kPressEscape;

constexpr int OK = BUTTON::OK;
constexpr int Yes = BUTTON::Yes;
constexpr int No = BUTTON::No;
constexpr int Retry = BUTTON::Retry;
constexpr int Cancel = BUTTON::Cancel;

// Inserts as callers pass them: fixed fields padded with blanks.
const std::string kFile = "Quillery.QLY" + std::string(52, ' ');
const std::string kOther = "Awards.QLY" + std::string(20, ' ');
// The description of error 2, which every case below has as the current error.
constexpr char kE[] = "File Not Found (2)";

class StandardWarningTest : public ::testing::Test {
  protected:
    void SetUp() override {
        clearErrorMemory();
        postError(ErrorCode::kFileNotFound, "Quillery.QLY");
    }
    void TearDown() override {
        clearError();
        clearErrorMemory();
    }
};

struct Expected {
    int id;
    std::string caption;
    std::string icon;
    std::vector<int> buttons;
    int defaultButton;
    std::string text;
    int answer;       // the button the test presses
    int returned;     // -1: the program ends after a second box
    std::string end;  // that second box's text
};

const std::string E = kE;

const std::vector<Expected> kExpected = {
    {1,
     "Invalid File",
     "exclamation",
     {OK},
     OK,
     "Error: (" + E + ") accessing Quillery.QLY.  Press OK to end this application.",
     OK,
     -1,
     "Invalid File!"},
    {2,
     "Invalid Key",
     "question",
     {Yes, No},
     Yes,
     "Quillery.QLY key file is invalid.  Do you want to rebuild the key?",
     Yes,
     2,
     ""},
    {3,
     "Key Rebuild Error",
     "exclamation",
     {OK},
     OK,
     "Error: (" + E + ") repairing key for Quillery.QLY.  Press OK to end this application.",
     OK,
     -1,
     "Error Rebuilding Key!"},
    {4,
     "File Creation Error",
     "exclamation",
     {OK},
     OK,
     "Error: (" + E + ") creating Quillery.QLY.  Press OK to end this application.",
     OK,
     -1,
     "File Creation Error!"},
    {5,
     "File Creation Error",
     "exclamation",
     {OK},
     OK,
     "Error: (" + E + ") opening created file:Quillery.QLY.  Press OK to end this application.",
     OK,
     -1,
     "File Creation Error!"},
    {6,
     "Procedure not defined",
     "exclamation",
     {OK},
     OK,
     "The Procedure Quillery.QLY has not been defined.",
     OK,
     OK,
     ""},
    {7,
     "",
     "exclamation",
     {OK},
     OK,
     "Unable to read keyed record.  Error: " + E + ".  Insert Aborted",
     OK,
     OK,
     ""},
    {8,
     "Range Error",
     "exclamation",
     {OK},
     OK,
     "The value of Quillery.QLY must be lower than Awards.QLY.",
     OK,
     OK,
     ""},
    {9,
     "Range Error",
     "exclamation",
     {OK},
     OK,
     "The value of Quillery.QLY must be higher than Awards.QLY.",
     OK,
     OK,
     ""},
    {10,
     "Range Error",
     "exclamation",
     {OK},
     OK,
     "The value of Quillery.QLY must be between Awards.QLY.",
     OK,
     OK,
     ""},
    {11,
     "Field Contents Error",
     "exclamation",
     {OK},
     OK,
     "The value for Quillery.QLY must be found in the Awards.QLY file.",
     OK,
     OK,
     ""},
    {12,
     "Referential Integrity Update Error",
     "exclamation",
     {OK},
     OK,
     "This record is referenced from the file Quillery.QLY.  Linking field(s) have been "
     "restricted from change and have been reset to original values.",
     OK,
     OK,
     ""},
    {13,
     "Referential Integrity Delete Error",
     "exclamation",
     {OK},
     OK,
     "This record is referenced from the file Quillery.QLY.  This record cannot be deleted "
     "while these references exist.",
     OK,
     OK,
     ""},
    {14,
     "Record Insert Error",
     "exclamation",
     {OK},
     OK,
     "An error was experienced during the update of record.  Error: " + E + ".",
     OK,
     OK,
     ""},
    {15,
     "Update Operation Error",
     "exclamation",
     {OK},
     OK,
     "An error (" + E +
         ") was experienced when attempting to update a record from the file.  Probable Cause: "
         "Quillery.QLY.",
     OK,
     OK,
     ""},
    {16,
     "Record Update Error",
     "exclamation",
     {Yes, No, Cancel},
     Cancel,
     "An error was experienced changing this record.  Do you want to try to save again?",
     Yes,
     Yes,
     ""},
    {17,
     "Delete Operation Error",
     "exclamation",
     {OK},
     OK,
     "An error (" + E +
         ") was experienced when attempting to delete a record from the file Quillery.QLY.",
     OK,
     OK,
     ""},
    {18,
     "Record Update Error",
     "exclamation",
     {Yes, No, Cancel},
     Cancel,
     "An error was experienced deleting this record.  Do you want to try to save again?",
     No,
     No,
     ""},
    {19,
     "Invalid Request",
     "exclamation",
     {OK},
     OK,
     "This procedure was called to insert a record, however inserts are not allowed for this "
     "procedure.  Press OK to return to the calling procedure",
     OK,
     OK,
     ""},
    {20,
     "Invalid Request",
     "exclamation",
     {OK},
     OK,
     "This procedure was called to change a record, however changes are not allowed for this "
     "procedure.  Press OK to return to the calling procedure",
     OK,
     OK,
     ""},
    {21,
     "Invalid Request",
     "exclamation",
     {OK},
     OK,
     "This procedure was called to delete a record, however deletions are not allowed for this "
     "procedure.  Press OK to return to the calling procedure",
     OK,
     OK,
     ""},
    {22,
     "File Creation Not Allowed",
     "exclamation",
     {OK},
     OK,
     "The File Quillery.QLYwas not found, and creation of the file is not allowed.  Press OK to "
     "end this application.",
     OK,
     -1,
     "File Creation Error!"},
    {23,
     "Update Cancelled",
     "question",
     {Yes, No},
     No,
     "Are you sure you want to cancel?",
     Yes,
     Yes,
     ""},
    {24,
     "Duplicate Key Error",
     "exclamation",
     {OK},
     OK,
     "Adding this record creates a duplicate entry for the key:Quillery.QLY",
     OK,
     OK,
     ""},
    {25,
     "Auto Increment Error",
     "exclamation",
     {Retry, Cancel},
     Cancel,
     "Attempts to automatically number this record have failed.  Error: " + E + ".",
     Retry,
     Retry,
     ""},
    {26,
     "File Load Error",
     "exclamation",
     {OK},
     OK,
     "Quillery.QLY File Load Error.  Error: " + E + ".",
     OK,
     OK,
     ""},
    {27,
     "Cancel Request",
     "question",
     {OK, Cancel},
     Cancel,
     "Are you certain you want to stop loading Quillery.QLY?",
     Cancel,
     Cancel,
     ""},
    {28,
     "File Load Error",
     "exclamation",
     {OK},
     OK,
     "Quillery.QLY File Load Error.  The file you've requested contains no text.",
     OK,
     OK,
     ""},
    {29,
     "Beginning of File Error",
     "question",
     {Yes, No},
     Yes,
     "The beginning of the viewed file was encountered.  Do you want to start again from the end "
     "of the file?",
     No,
     No,
     ""},
    {30,
     "File Access Error",
     "exclamation",
     {OK},
     OK,
     "File (Quillery.QLY) could not be opened.  Error: " + E + ".",
     OK,
     OK,
     ""},
    {31,
     "Process DELETE Error",
     "exclamation",
     {OK},
     OK,
     "An error was experienced when deleting a record from the Awards.QLY file.  Error: " + E,
     OK,
     OK,
     ""},
    {32,
     "Confirm Delete",
     "question",
     {OK, Cancel},
     Cancel,
     "You've selected to delete the highlighted record.  Press OK to confirm deletion of this "
     "record.",
     OK,
     OK,
     ""},
    {33,
     "Update Cancelled",
     "question",
     {Yes, No, Cancel},
     No,
     "Do you want to save the changes to this record?",
     Cancel,
     Cancel,
     ""},
    {34,
     "Transaction Framing Error",
     "exclamation",
     {OK},
     OK,
     "Error: (" + E +
         ") attempting to frame the quillery.qly transaction on Awards.QLY.  Quillery.QLY "
         "transaction cancelled.",
     OK,
     0,
     ""},
    {35,
     "Record Retrieval Error",
     "exclamation",
     {OK},
     OK,
     "Error: (" + E +
         ") attempting to access a record from the Quillery.QLY file.  Returning to previous "
         "window.",
     OK,
     0,
     ""},
    {36,
     "View Open Error",
     "exclamation",
     {OK},
     OK,
     "Error: (" + E + ") attempting to open the current VIEW. Filter and Range Limits ignored.",
     OK,
     0,
     ""},
    {37,
     "Record Added",
     "question",
     {Yes, No},
     Yes,
     "This record has been added to the file. Do you want to add another record?",
     No,
     No,
     ""},
    {38,
     "Record Was Not Updated",
     "exclamation",
     {OK},
     OK,
     "This record was changed by another station. Those changes will now be displayed. Use the "
     "Ditto Button or Ctrl+' to recall your changes.",
     OK,
     OK,
     ""},
};

std::string screenshotPath(const char* name) {
    const QByteArray dir = qgetenv("QUILLERY_TEST_OUTPUT");
    if (dir.isEmpty()) return {};
    QDir().mkpath(QString::fromLocal8Bit(dir));
    return dir.toStdString() + "/" + name;
}

// Runs warning `id` with the test's inserts; `answers` go to the boxes in turn. Returns the
// result, or -1 when the program ended (with exit code `exitCode`).
int runWarning(int id, const std::vector<int>& answers, BoxAnswerer& answerer, int& exitCode,
               const std::string& text1 = kFile, const std::string& text2 = kOther) {
    for (int a : answers)
        answerer.answerNext(a);
    FatalCapture capture;
    try {
        return STANDARDWARNING(id, text1, text2);
    } catch (const ProgramEnded& ended) {
        exitCode = ended.exitCode;
        return -1;
    }
}

TEST_F(StandardWarningTest, AllThirtyEightWarnings) {
    ASSERT_EQ(kExpected.size(), 38u);
    for (const Expected& x : kExpected) {
        SCOPED_TRACE("warning " + std::to_string(x.id));
        postError(ErrorCode::kFileNotFound, "Quillery.QLY");
        BoxAnswerer answerer;
        int exitCode = -1;
        const int result = runWarning(x.id, {x.answer, OK}, answerer, exitCode);
        EXPECT_EQ(result, x.returned);
        ASSERT_GE(answerer.shown().size(), 1u);
        const testing::ShownBox& box = answerer.shown()[0];
        EXPECT_EQ(box.caption, x.caption);
        EXPECT_EQ(box.icon, x.icon);
        EXPECT_EQ(box.buttons, x.buttons);
        EXPECT_EQ(box.defaultButton, x.defaultButton);
        EXPECT_EQ(box.text, x.text);
        EXPECT_EQ(answerer.unexpected(), 0);
        if (x.returned == -1) {
            EXPECT_EQ(exitCode, 0);
            ASSERT_EQ(answerer.shown().size(), 2u);
            const testing::ShownBox& last = answerer.shown()[1];
            EXPECT_EQ(last.text, x.end);
            EXPECT_EQ(last.icon, "stop");
            EXPECT_EQ(last.buttons, std::vector<int>{OK});
        } else {
            EXPECT_EQ(answerer.shown().size(), 1u);
        }
    }
}

TEST_F(StandardWarningTest, ProgramEndingWarningsEndEvenWhenTheBoxIsClosed) {
    for (int id : {1, 3, 4, 5, 22}) {
        BoxAnswerer answerer;
        int exitCode = -1;
        EXPECT_EQ(runWarning(id, {kPressEscape, kPressEscape}, answerer, exitCode), -1) << id;
        EXPECT_EQ(exitCode, 0);
        EXPECT_EQ(answerer.shown().size(), 2u);
    }
}

TEST_F(StandardWarningTest, InvalidKeyYesGoesOnNoEndsTheProgram) {
    {
        BoxAnswerer answerer;
        int exitCode = -1;
        EXPECT_EQ(runWarning(2, {Yes}, answerer, exitCode), 2);
        EXPECT_EQ(answerer.shown().size(), 1u);
    }
    for (int answer : {No, kPressEscape}) {
        BoxAnswerer answerer;
        if (answer == No) answerer.grabNextTo(screenshotPath("warning_invalid_key.png"));
        int exitCode = -1;
        EXPECT_EQ(runWarning(2, {answer, OK}, answerer, exitCode), -1);
        EXPECT_EQ(exitCode, 0);
        ASSERT_EQ(answerer.shown().size(), 2u);
        EXPECT_EQ(answerer.shown()[1].text, "Invalid Key!");
        EXPECT_EQ(answerer.shown()[1].caption, "Invalid Key");
    }
}

TEST_F(StandardWarningTest, WarningsThatAnswerZeroDoSoWhateverIsPressed) {
    for (int id : {34, 35, 36}) {
        for (int answer : {OK, kPressEscape}) {
            BoxAnswerer answerer;
            int exitCode = -1;
            EXPECT_EQ(runWarning(id, {answer}, answerer, exitCode), 0) << id;
            EXPECT_EQ(answerer.shown().size(), 1u);
        }
    }
}

TEST_F(StandardWarningTest, SavedErrorIsDescribedOnceThenTheCurrentOne) {
    SAVEERRORCODE = 35;
    SAVEERROR = "Record Not Found";
    clearError();
    BoxAnswerer answerer({OK, OK});
    STANDARDWARNING(30, "Quillery.QLY");
    STANDARDWARNING(30, "Quillery.QLY");
    ASSERT_EQ(answerer.shown().size(), 2u);
    EXPECT_EQ(answerer.shown()[0].text,
              "File (Quillery.QLY) could not be opened.  Error: Record Not Found (35).");
    EXPECT_EQ(answerer.shown()[1].text, "File (Quillery.QLY) could not be opened.  Error:  (0).");
}

TEST_F(StandardWarningTest, UpdateErrorShortTextForNoErrorOrAChangedRecord) {
    const std::string shortText = "This record was changed by another station.";
    struct Case {
        int code;
        bool isShort;
    };
    for (const Case c : {Case{89, true}, Case{0, true}, Case{35, false}, Case{90, false}}) {
        clearError();
        if (c.code == 90) {
            postDriverError("17", "Driver says no");
        } else if (c.code != 0) {
            postError(c.code);
        }
        BoxAnswerer answerer({OK});
        EXPECT_EQ(STANDARDWARNING(15, "a lock"), OK);
        ASSERT_EQ(answerer.shown().size(), 1u);
        if (c.isShort) {
            EXPECT_EQ(answerer.last().text, shortText) << c.code;
        } else {
            EXPECT_NE(answerer.last().text, shortText) << c.code;
            EXPECT_NE(answerer.last().text.find("Probable Cause: a lock."), std::string::npos);
        }
    }
    // A saved 89 counts too, whatever the current error.
    postError(ErrorCode::kAccessDenied);
    SAVEERRORCODE = 89;
    SAVEERROR = "Record Changed By Another Station";
    BoxAnswerer answerer({OK});
    STANDARDWARNING(15);
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_EQ(answerer.last().text, shortText);
}

TEST_F(StandardWarningTest, EndOrBeginningOfFileByTheFirstInsertExactCase) {
    struct Case {
        std::string text1;
        bool end;
    };
    const Case cases[] = {{"Down", true}, {"Downward", true}, {"down", false}, {"DOWN", false},
                          {"Dow", false}, {"Up", false},      {"", false},     {" Down", false}};
    for (const Case& c : cases) {
        BoxAnswerer answerer({Yes});
        EXPECT_EQ(STANDARDWARNING(29, c.text1), Yes);
        ASSERT_EQ(answerer.shown().size(), 1u);
        EXPECT_EQ(answerer.last().caption, c.end ? "End of File Error" : "Beginning of File Error")
            << c.text1;
        EXPECT_EQ(answerer.last().text.starts_with(c.end ? "The end" : "The beginning"), true);
        EXPECT_EQ(answerer.last().defaultButton, Yes);
    }
}

TEST_F(StandardWarningTest, PutOrDeleteByTheFirstInsertExactCase) {
    struct Case {
        std::string text1;
        bool put;
    };
    const Case cases[] = {{"Put", true},  {"Putting", true}, {"put", false},
                          {"PUT", false}, {"Delete", false}, {"Pu", false}};
    for (const Case& c : cases) {
        BoxAnswerer answerer({OK});
        STANDARDWARNING(31, c.text1, "Awards.QLY   ");
        ASSERT_EQ(answerer.shown().size(), 1u);
        if (c.put) {
            EXPECT_EQ(answerer.last().caption, "Process PUT Error") << c.text1;
            EXPECT_EQ(answerer.last().text,
                      "An error was experienced when making changes to the Awards.QLY file.  "
                      "Error: " +
                          E);
        } else {
            EXPECT_EQ(answerer.last().caption, "Process DELETE Error") << c.text1;
        }
    }
}

TEST_F(StandardWarningTest, InsertsKeepLeadingBlanksAndLoseTrailingOnes) {
    BoxAnswerer answerer({OK, OK});
    STANDARDWARNING(8, "  Value   ", "10" + std::string(200, ' '));
    STANDARDWARNING(6);  // no inserts at all
    ASSERT_EQ(answerer.shown().size(), 2u);
    EXPECT_EQ(answerer.shown()[0].text, "The value of   Value must be lower than 10.");
    EXPECT_EQ(answerer.shown()[1].text, "The Procedure  has not been defined.");
}

TEST_F(StandardWarningTest, InsertsAreShownAsTheyStand) {
    BoxAnswerer answerer({OK});
    STANDARDWARNING(11, "{E}", "{T1}");
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_EQ(answerer.last().text, "The value for {E} must be found in the {T1} file.");
}

TEST_F(StandardWarningTest, TransactionNameInLowerCaseThroughTheCasePairs) {
    BoxAnswerer answerer({OK});
    STANDARDWARNING(34, "LOGOUT\xC4", "Quillery.QLY");
    ASSERT_EQ(answerer.shown().size(), 1u);
    // The default case pairs are A-Z with a-z only: other letters keep their case.
    EXPECT_EQ(answerer.last().text, "Error: (" + E +
                                        ") attempting to frame the logout\u00C4 transaction on "
                                        "Quillery.QLY.  LOGOUT\u00C4 transaction cancelled.");
}

TEST_F(StandardWarningTest, DriverErrorInTheText) {
    postDriverError("1205", "Lock wait timeout");
    BoxAnswerer answerer({OK});
    STANDARDWARNING(30, "Quillery.QLY");
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_EQ(answerer.last().text,
              "File (Quillery.QLY) could not be opened.  Error: Lock wait timeout (1205).");
}

TEST_F(StandardWarningTest, EndWithMessageShowsTheTextThenEndsWithCodeZero) {
    BoxAnswerer answerer({OK});
    FatalCapture capture;
    try {
        endWithMessage("Disk Error", "File Access Error");
        ADD_FAILURE() << "the program did not end";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.exitCode, 0);
    }
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_EQ(answerer.last().text, "Disk Error");
    EXPECT_EQ(answerer.last().caption, "File Access Error");
    EXPECT_EQ(answerer.last().icon, "stop");
    EXPECT_EQ(answerer.last().buttons, std::vector<int>{OK});
}

}  // namespace
}  // namespace quillery
