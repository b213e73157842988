// The file open check: each way an open can fail, with the warnings the user sees and whether
// the program goes on.
#include "support/check_open.h"

#include <gtest/gtest.h>

#include <fstream>

#include "runtime/window/message_box.h"
#include "storage/access_mode.h"
#include "tests/common/fatal_capture.h"
#include "tests/common/message_box_answer.h"
#include "tests/storage/file_test_support.h"

namespace quillery {
namespace {

using storage::testing::DeclaredFile;
using storage::testing::kBookFields;
using storage::testing::kBookKeys;
using storage::testing::kSmallFields;
using storage::testing::kSmallKeys;
using storage::testing::ScratchDir;
using testing::BoxAnswerer;
using testing::FatalCapture;

// What one check did: the boxes shown and whether the program ended.
struct Outcome {
    std::vector<testing::ShownBox> boxes;
    bool ended = false;
};

Outcome check(const DeclaredFile& file, std::vector<int> answers,
              std::optional<std::uint8_t> overrideCreate = {}) {
    BoxAnswerer answerer(std::move(answers));
    FatalCapture capture;
    Outcome outcome;
    try {
        CHECKOPEN(*file, overrideCreate);
    } catch (const ProgramEnded&) {
        outcome.ended = true;
    }
    outcome.boxes = answerer.shown();
    return outcome;
}

class CheckOpenTest : public ::testing::Test {
  protected:
    void SetUp() override { file.setName(dir.file("Books.QLY")); }
    void TearDown() override { CLOSE(*file); }
    ScratchDir dir;
    DeclaredFile file{kBookFields, kBookKeys, 1569};
};

TEST_F(CheckOpenTest, AMissingFileIsCreatedOnlyWhenAskedFor) {
    Outcome created = check(file, {}, 1);
    EXPECT_FALSE(created.ended);
    EXPECT_TRUE(created.boxes.empty());
    EXPECT_EQ(RECORDS(*file), 0u);  // open, and empty
    // Already open: harmless.
    EXPECT_FALSE(check(file, {}).ended);
    CLOSE(*file);

    file.setName(dir.file("Missing.QLY"));
    Outcome notAsked = check(file, {BUTTON::OK, BUTTON::OK});
    EXPECT_TRUE(notAsked.ended);
    ASSERT_EQ(notAsked.boxes.size(), 2u);
    EXPECT_EQ(notAsked.boxes[0].caption, "File Access Error");
    EXPECT_EQ(notAsked.boxes[0].text, "File (" + dir.file("Missing.QLY") +
                                          ") could not be opened.  Error: File Not Found (2).");
    EXPECT_EQ(notAsked.boxes[1].text, "Disk Error");

    Outcome refused = check(file, {BUTTON::OK, BUTTON::OK}, 0);
    EXPECT_TRUE(refused.ended);
    ASSERT_EQ(refused.boxes.size(), 2u);
    EXPECT_EQ(refused.boxes[0].caption, "File Creation Error");
    EXPECT_EQ(refused.boxes[1].text, "File Creation Error!");
    EXPECT_FALSE(std::filesystem::exists(dir.file("Missing.QLY")));
}

TEST_F(CheckOpenTest, ALockedFileIsTriedTwiceAndAForeignOneEndsAsInvalid) {
    ASSERT_FALSE(check(file, {}, 1).ended);
    CLOSE(*file);
    DeclaredFile other{kBookFields, kBookKeys, 1569};
    other.setName(dir.file("Books.QLY"));
    OPEN(*other,
         storage::AccessMode::kReadWrite | storage::AccessMode::kDenyAll);  // another program
    ASSERT_EQ(errorCode(), 0);
    Outcome locked = check(file, {BUTTON::OK, BUTTON::OK});
    EXPECT_TRUE(locked.ended);
    ASSERT_EQ(locked.boxes.size(), 2u);
    EXPECT_EQ(locked.boxes[0].caption, "File Access Error");
    EXPECT_EQ(locked.boxes[1].text, "Disk Error");
    CLOSE(*other);

    // A file whose record layout is another program's.
    DeclaredFile small{kSmallFields, kSmallKeys, 64};
    small.setName(dir.file("Small.QLY"));
    CREATE(*small);
    ASSERT_EQ(errorCode(), 0);
    file.setName(dir.file("Small.QLY"));
    Outcome invalid = check(file, {BUTTON::OK, BUTTON::OK});
    EXPECT_TRUE(invalid.ended);
    ASSERT_EQ(invalid.boxes.size(), 2u);
    EXPECT_EQ(invalid.boxes[0].caption, "Invalid File");
    EXPECT_EQ(invalid.boxes[1].text, "Invalid File!");
}

}  // namespace
}  // namespace quillery
