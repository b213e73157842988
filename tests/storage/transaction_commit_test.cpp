// Transactions: changes held back until the commit, the rollback, the lock wait, and the commit
// over two files through the transaction control file, interrupted between each of its steps.
#include <gtest/gtest.h>

#include <optional>

#include "storage/page_file.h"
#include "storage/storage_options.h"
#include "storage/transaction.h"
#include "tests/storage/file_test_support.h"
#include "tests/storage/process_test_support.h"

namespace quillery::storage::testing {
namespace {

namespace Op = Operation;

class TransactionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StorageOptions options = storageOptions();
        options.transactionControlFile = dir.file("control.tcf");
        scopedOptions.emplace(std::move(options));
        for (auto* f : {&a, &b}) {
            const std::string path = dir.file(f == &a ? "a.dat" : "b.dat");
            f->setName(path);
            ASSERT_EQ(f->call(Op::kCreate), 0);
            ASSERT_EQ(f->call(Op::kOpen, kReadWriteDenyNone), 0);
            f->setText(Small::CODE, 6, "first");
            ASSERT_EQ(f->call(Op::kAdd), 0);
        }
    }
    void TearDown() override {
        (void)rollbackTransaction();
        scopedOptions.reset();
    }
    Status begin(std::chrono::milliseconds wait = std::chrono::milliseconds(1000)) {
        FileControlBlock* files[] = {&a.block(), &b.block()};
        return beginTransaction(files, wait);
    }
    static std::int64_t records(DeclaredFile& f) {
        EXPECT_EQ(f.call(Op::kRecords), 0);
        return f.lastAnswer;
    }

    ScratchDir dir;
    std::optional<ScopedStorageOptions> scopedOptions;
    DeclaredFile a{kSmallFields, kSmallKeys, Small::kLength};
    DeclaredFile b{kSmallFields, kSmallKeys, Small::kLength};
};

TEST_F(TransactionTest, ChangesAreHeldBackUntilTheCommit) {
    const auto before = fileBytes(dir.file("a.dat"));
    ASSERT_TRUE(begin().ok());
    a.setText(Small::CODE, 6, "second");
    ASSERT_EQ(a.call(Op::kAdd), 0);
    EXPECT_EQ(records(a), 2);  // the transaction sees its own change
    EXPECT_EQ(fileBytes(dir.file("a.dat")), before);
    ASSERT_TRUE(commitTransaction().ok());
    EXPECT_NE(fileBytes(dir.file("a.dat")), before);
    ASSERT_EQ(a.call(Op::kClose), 0);
    ASSERT_EQ(a.call(Op::kOpen, kReadWriteDenyNone), 0);
    EXPECT_EQ(records(a), 2);
}

TEST_F(TransactionTest, RollbackForgetsEverythingOfTheTransaction) {
    const auto beforeA = fileBytes(dir.file("a.dat"));
    const auto beforeB = fileBytes(dir.file("b.dat"));
    ASSERT_TRUE(begin().ok());
    a.setText(Small::CODE, 6, "second");
    ASSERT_EQ(a.call(Op::kAdd), 0);
    ASSERT_EQ(b.call(Op::kGetByNumber, 2), 0);
    ASSERT_EQ(b.call(Op::kDelete), 0);
    ASSERT_TRUE(rollbackTransaction().ok());
    EXPECT_EQ(records(a), 1);
    EXPECT_EQ(records(b), 1);
    EXPECT_EQ(fileBytes(dir.file("a.dat")), beforeA);
    EXPECT_EQ(fileBytes(dir.file("b.dat")), beforeB);
}

TEST_F(TransactionTest, SecondBeginIsLogoutAlreadyActive) {
    ASSERT_TRUE(begin().ok());
    EXPECT_EQ(begin().code(), 56);
    LOGOUT(1, *a);
    EXPECT_EQ(errorText(), "LOGOUT Already Active");
}

TEST_F(TransactionTest, BeginWaitsForTheLockAndGivesUp) {
    Turn childBegan, parentDone;
    const std::string pathA = dir.file("a.dat");
    const pid_t child = forkChild([&] {
        DeclaredFile other(kSmallFields, kSmallKeys, Small::kLength);
        other.setName(pathA);
        if (other.call(Op::kOpen, kReadWriteDenyNone) != 0) return 1;
        FileControlBlock* files[] = {&other.block()};
        if (!beginTransaction(files, std::chrono::milliseconds(100)).ok()) return 2;
        childBegan.give();
        parentDone.take();
        return commitTransaction().ok() ? 0 : 3;
    });
    ASSERT_TRUE(childBegan.take());
    const auto start = Clock::now();
    const Status s = begin(std::chrono::milliseconds(150));
    EXPECT_EQ(s.code(), ErrorCode::kFileAlreadyLocked);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(150));
    EXPECT_FALSE(transactionActive());
    // Ordinary operations wait as long as the file lock wait allows.
    {
        StorageOptions options = storageOptions();
        options.fileLockWait = std::chrono::milliseconds(100);
        const ScopedStorageOptions shortWait(std::move(options));
        EXPECT_EQ(a.call(Op::kRecords), ErrorCode::kFileAlreadyLocked);
    }
    parentDone.give();
    EXPECT_EQ(waitChild(child), 0);
    ASSERT_TRUE(begin().ok());
    ASSERT_TRUE(commitTransaction().ok());
}

TEST_F(TransactionTest, CommitOverTwoFilesLeavesNoEntryInTheControlFile) {
    ASSERT_TRUE(begin().ok());
    a.setText(Small::CODE, 6, "second");
    ASSERT_EQ(a.call(Op::kAdd), 0);
    b.setText(Small::CODE, 6, "second");
    ASSERT_EQ(b.call(Op::kAdd), 0);
    std::vector<CommitStep> steps;
    StorageOptions hook = storageOptions();
    hook.commitStepHook = [&](CommitStep step) { steps.push_back(step); };
    const ScopedStorageOptions hooked(std::move(hook));
    ASSERT_TRUE(commitTransaction().ok());
    EXPECT_EQ(steps,
              (std::vector<CommitStep>{CommitStep::kControlEntryWritten, CommitStep::kFilePrepared,
                                       CommitStep::kFilePrepared, CommitStep::kControlEntryRemoved,
                                       CommitStep::kFileFinished, CommitStep::kFileFinished}));
    EXPECT_EQ(records(a), 2);
    EXPECT_EQ(records(b), 2);
    // The control file holds nothing but its own bookkeeping.
    std::unique_ptr<PageFile> control;
    PageFileOptions options;
    options.mode = kReadOnlyDenyNone;
    ASSERT_TRUE(PageFile::open(dir.file("control.tcf"), options, control).ok());
    TreeCursor cursor(control->data());
    EXPECT_FALSE(cursor.seekFirst());
}

// The child commits over both files and is killed after the n-th step. Whatever was reached,
// each file ends consistent, and both before or both after.
TEST_F(TransactionTest, InterruptedCommitLeavesBothFilesBeforeOrBothAfter) {
    ASSERT_EQ(a.call(Op::kClose), 0);
    ASSERT_EQ(b.call(Op::kClose), 0);
    const std::string pathA = dir.file("a.dat");
    const std::string pathB = dir.file("b.dat");
    constexpr int kStepsOfACommit = 6;
    for (int killAt = 0; killAt <= kStepsOfACommit; ++killAt) {
        const pid_t child = forkChild([&] {
            DeclaredFile x(kSmallFields, kSmallKeys, Small::kLength);
            DeclaredFile y(kSmallFields, kSmallKeys, Small::kLength);
            x.setName(pathA);
            y.setName(pathB);
            if (x.call(Op::kOpen, kReadWriteDenyNone) != 0 ||
                y.call(Op::kOpen, kReadWriteDenyNone) != 0)
                return 1;
            FileControlBlock* files[] = {&x.block(), &y.block()};
            if (!beginTransaction(files, std::chrono::milliseconds(1000)).ok()) return 2;
            x.setText(Small::CODE, 6, "k" + std::to_string(killAt));
            y.setText(Small::CODE, 6, "k" + std::to_string(killAt));
            if (x.call(Op::kAdd) != 0 || y.call(Op::kAdd) != 0) return 3;
            int reached = 0;
            StorageOptions options = storageOptions();
            options.commitStepHook = [&](CommitStep) {
                if (reached++ == killAt) ::raise(SIGKILL);
            };
            setStorageOptions(std::move(options));  // the child ends here
            return commitTransaction().ok() ? 0 : 4;
        });
        const int ended = waitChild(child);
        EXPECT_EQ(ended, killAt == kStepsOfACommit ? 0 : -SIGKILL) << killAt;
        // Done once the control file entry is gone (the fourth step).
        const bool committed = killAt >= 3;
        // Each earlier round that got past the fourth step added one record to each file.
        const std::int64_t expected = 1 + std::max(0, killAt - 3) + (committed ? 1 : 0);
        // A reader first (it reads through a log it may not repair), then a writer, which
        // repairs the file for good.
        for (int mode : {kReadOnlyDenyNone, kReadWriteDenyNone}) {
            for (auto* f : {&a, &b}) {
                ASSERT_EQ(f->call(Op::kOpen, mode), 0) << killAt;
                EXPECT_EQ(records(*f), expected) << "kill at " << killAt << " mode " << mode;
                f->setText(Small::CODE, 6, "k" + std::to_string(killAt));
                EXPECT_EQ(f->call(Op::kGetByKey, 0, 0), committed ? 0 : ErrorCode::kRecordNotFound)
                    << killAt;
                ASSERT_EQ(f->call(Op::kClose), 0);
            }
        }
        for (const auto& path : {pathA, pathB}) {
            const CheckReport report = checkFileOnDisk(path);
            EXPECT_TRUE(report.clean()) << "kill at " << killAt << ": " << report.text();
        }
    }
}

}  // namespace
}  // namespace quillery::storage::testing
