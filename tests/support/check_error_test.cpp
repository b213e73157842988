// CHECKERROR: silent without an error, otherwise the error's text under the caller's caption.
#include "support/check_error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/errors.h"
#include "runtime/window/message_box.h"
#include "tests/common/message_box_answer.h"

namespace quillery {
namespace {

class CheckErrorTest : public ::testing::Test {
  protected:
    void SetUp() override { clearError(); }
    void TearDown() override { clearError(); }
};

TEST_F(CheckErrorTest, NoErrorShowsNothing) {
    testing::BoxAnswerer answerer;
    CHECKERROR("Can't open file");
    EXPECT_TRUE(answerer.shown().empty());
    EXPECT_EQ(answerer.unexpected(), 0);
}

TEST_F(CheckErrorTest, ShowsTheErrorTextAfterTenBlanks) {
    struct Case {
        int code;
        std::string text;
    };
    const Case cases[] = {{ErrorCode::kRecordNotFound, "Record Not Found"},
                          {ErrorCode::kCreatesDuplicateKey, "Creates Duplicate Key"},
                          {332, "Sharing Violation"},
                          {999, "Unknown Error Posted : 999"}};
    for (const Case& c : cases) {
        postError(c.code);
        testing::BoxAnswerer answerer({BUTTON::OK});
        CHECKERROR("Can't save record");
        ASSERT_EQ(answerer.shown().size(), 1u) << c.code;
        const testing::ShownBox& box = answerer.last();
        EXPECT_EQ(box.text, "          " + c.text);
        EXPECT_EQ(box.caption, "Can't save record");
        EXPECT_EQ(box.icon, "exclamation");
        EXPECT_EQ(box.buttons, std::vector<int>{BUTTON::OK});
        // The check only shows the error; it stays for the caller.
        EXPECT_EQ(errorCode(), c.code);
    }
}

}  // namespace
}  // namespace quillery
