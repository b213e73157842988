// Option strings sent to the driver and the name operation.
#include <gtest/gtest.h>

#include "storage/storage_options.h"
#include "storage/transaction.h"
#include "tests/storage/file_test_support.h"

namespace quillery::storage::testing {
namespace {

namespace Op = Operation;

class DriverOptionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path = dir.file("options.dat");
        createAndOpen(file, path);
    }
    std::string send(std::string_view option, int expectCode = 0) {
        DriverCall c;
        c.operation = Op::kSend;
        c.file = &file.block();
        c.text = option;
        EXPECT_EQ(VELTRANE(c), expectCode) << option;
        return c.reply;
    }

    ScratchDir dir;
    std::string path;
    DeclaredFile file{kSmallFields, kSmallKeys, Small::kLength};
};

TEST_F(DriverOptionsTest, QuickScanAndUnknownOptionsAreIgnored) {
    file.setText(Small::CODE, 6, "A");
    ASSERT_EQ(file.call(Op::kAdd), 0);
    const auto before = fileBytes(path);
    for (std::string_view option : {"QUICKSCAN=on", "QUICKSCAN=off", "NOSUCHOPTION", ""})
        EXPECT_EQ(send(option), "") << option;
    EXPECT_EQ(fileBytes(path), before);
    ASSERT_EQ(file.call(Op::kSetFileOrder), 0);
    EXPECT_EQ(file.call(Op::kNext), 0);
}

TEST_F(DriverOptionsTest, RegisterAnswersTheDriverName) {
    EXPECT_EQ(send("REGISTER"), "VELTRANE");
    EXPECT_EQ(send("register"), "VELTRANE");
}

TEST_F(DriverOptionsTest, TcfSetsTheTransactionControlFile) {
    const ScopedStorageOptions restored(storageOptions());
    EXPECT_EQ(send("tcf=" + dir.file("control.tcf")), "");
    EXPECT_EQ(transactionControlFile(), dir.file("control.tcf"));
    EXPECT_EQ(storageOptions().transactionControlFile, dir.file("control.tcf"));
}

TEST_F(DriverOptionsTest, PnmFindsTheFirstTableNameFromTheGivenOne) {
    EXPECT_EQ(send("PNM="), "UNNAMED");
    EXPECT_EQ(send("PNM=a"), "UNNAMED");
    EXPECT_EQ(send("PNM=V"), "");
    // Creating takes the file with no sharing: it is closed meanwhile.
    ASSERT_EQ(file.call(Op::kClose), 0);
    DeclaredFile other(kSmallFields, kSmallKeys, Small::kLength);
    other.setName(path + "\\!BOOKS");
    ASSERT_EQ(other.call(Op::kCreate), 0);
    ASSERT_EQ(file.call(Op::kOpen, kReadWriteDenyWrite), 0);
    EXPECT_EQ(send("PNM=A"), "BOOKS");
    EXPECT_EQ(send("pnm=booksz"), "UNNAMED");
}

TEST_F(DriverOptionsTest, NameAnswersTheNameAsTheProgramSetIt) {
    ASSERT_EQ(file.call(Op::kName), 0);
    EXPECT_EQ(file.lastReply, path);
}

TEST(DriverDefaultsTest, ControlFileDefaultsUnderTheUsersStateDirectory) {
    const char* saved = std::getenv("XDG_STATE_HOME");
    const std::string savedValue = saved ? saved : "";
    ::setenv("XDG_STATE_HOME", "/state/here", 1);
    EXPECT_EQ(defaultTransactionControlFile(), "/state/here/quillery/quillery.tcf");
    ::unsetenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    if (home && *home) {
        EXPECT_EQ(defaultTransactionControlFile(),
                  std::string(home) + "/.local/state/quillery/quillery.tcf");
    }
    if (saved) ::setenv("XDG_STATE_HOME", savedValue.c_str(), 1);
}

}  // namespace
}  // namespace quillery::storage::testing
