// Deferred and held commits of a page file: when the end of an operation writes, that the lock
// stays while changes wait, that failures keep earlier operations' changes, that close and the
// mark's removal commit, and that a crash while deferred leaves the last committed state.
#include <gtest/gtest.h>

#include <functional>

#include "runtime/errors.h"
#include "storage/access_mode.h"
#include "storage/memory_file.h"
#include "storage/page_file.h"
#include "storage/storage_options.h"
#include "storage/testing/fault_file.h"
#include "tests/storage/storage_test_support.h"

namespace quillery::storage {
namespace {

using testing::Model;

constexpr int kEntries = 420;
constexpr int kStride = 10;  // entries this far apart lie in different leaves (about 7 per leaf)

Bytes keyOf(int i) {
    return {0, 0, 0, 1, 0xF3, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
}
Bytes valueOf(int i, std::uint8_t version) {
    Bytes v(2000, version);
    v[0] = static_cast<std::uint8_t>(i);
    return v;
}

std::unique_ptr<PageFile> openOn(std::unique_ptr<File> file,
                                 int mode = AccessMode::kReadWrite | AccessMode::kDenyWrite) {
    PageFileOptions options;
    options.mode = mode;
    options.create = true;
    std::unique_ptr<PageFile> out;
    const Status s = PageFile::openOver(std::move(file), "test file", options, out);
    EXPECT_TRUE(s.ok()) << s.message();
    return out;
}

// One changing operation: `work` runs inside the file's bracket.
Status change(PageFile& file, const std::function<Status(DataFile&)>& work) {
    QUILLERY_RETURN_IF_ERROR(file.begin(true));
    Status result = work(file.data());
    return file.end(std::move(result), true);
}

Status putEntry(PageFile& file, int i, std::uint8_t version, Model& model) {
    return change(file, [&](DataFile& data) {
        Tree(data).put(keyOf(i), valueOf(i, version));
        model[keyOf(i)] = valueOf(i, version);
        return Status::success();
    });
}

// A committed file of kEntries entries of 2000 bytes, spread over some sixty leaves.
Bytes startingImage(Model& model) {
    auto disk = std::make_shared<FaultDisk>();
    auto file = openOn(std::make_unique<FaultFile>(disk));
    EXPECT_TRUE(change(*file, [&](DataFile& data) {
                    Tree tree(data);
                    for (int i = 0; i < kEntries; ++i) {
                        tree.put(keyOf(i), valueOf(i, 1));
                        model[keyOf(i)] = valueOf(i, 1);
                    }
                    return Status::success();
                }).ok());
    EXPECT_TRUE(file->close().ok());
    return disk->view();
}

Model contentsOnDisk(const Bytes& image) {
    auto data = testing::openImage(image);
    testing::expectClean(*data);
    return testing::contentsOf(*data);
}

class DeferredCommitTest : public ::testing::Test {
  protected:
    void SetUp() override {
        start_ = startingImage(model_);
        committed_ = model_;
        disk_ = std::make_shared<FaultDisk>(start_);
        file_ = openOn(std::make_unique<FaultFile>(disk_));
    }

    Bytes start_;
    Model model_;      // what the program has done
    Model committed_;  // the state of the starting file
    std::shared_ptr<FaultDisk> disk_;
    std::unique_ptr<PageFile> file_;
};

TEST_F(DeferredCommitTest, ThirtyNineWaitingPagesStayTheFortiethCommits) {
    ASSERT_TRUE(file_->setCommitMode(CommitMode::kDeferred).ok());
    for (int k = 1; k <= 39; ++k) {
        const int before = disk_->operations();
        ASSERT_TRUE(putEntry(*file_, k * kStride, 2, model_).ok());
        // Each change touches one leaf of its own: exactly k pages wait.
        ASSERT_EQ(file_->data().changedPageCount(), static_cast<std::size_t>(k));
        EXPECT_EQ(disk_->operations(), before) << "wrote after " << k << " pages";
        EXPECT_TRUE(file_->changesWaiting());
    }
    EXPECT_EQ(contentsOnDisk(disk_->view()), committed_);

    const int before = disk_->operations();
    ASSERT_TRUE(putEntry(*file_, 40 * kStride, 2, model_).ok());
    EXPECT_GT(disk_->operations(), before);
    EXPECT_EQ(file_->data().changedPageCount(), 0u);
    EXPECT_FALSE(file_->changesWaiting());
    EXPECT_EQ(contentsOnDisk(disk_->view()), model_);
}

TEST_F(DeferredCommitTest, EveryOperationModeCommitsEachChange) {
    const int before = disk_->operations();
    ASSERT_TRUE(putEntry(*file_, 0, 2, model_).ok());
    EXPECT_GT(disk_->operations(), before);
    EXPECT_FALSE(file_->changesWaiting());
    EXPECT_EQ(contentsOnDisk(disk_->view()), model_);
}

TEST_F(DeferredCommitTest, HeldModeWritesNothingUntilTheMarkGoes) {
    ASSERT_TRUE(file_->setCommitMode(CommitMode::kHeld).ok());
    const int before = disk_->operations();
    // Far more than 40 pages.
    for (int i = 0; i < kEntries; i += 3)
        ASSERT_TRUE(putEntry(*file_, i, 3, model_).ok());
    ASSERT_GE(file_->data().changedPageCount(), 40u);
    EXPECT_EQ(disk_->operations(), before);
    // Reads inside the held changes see them.
    ASSERT_TRUE(file_->begin(false).ok());
    Bytes found;
    EXPECT_TRUE(Tree(file_->data()).find(keyOf(3), &found));
    EXPECT_EQ(found, valueOf(3, 3));
    ASSERT_TRUE(file_->end(Status::success(), false).ok());
    EXPECT_EQ(disk_->operations(), before);

    // Taking the mark off commits at once, without waiting for another operation.
    ASSERT_TRUE(file_->setCommitMode(CommitMode::kEveryOperation).ok());
    EXPECT_GT(disk_->operations(), before);
    EXPECT_FALSE(file_->changesWaiting());
    EXPECT_EQ(contentsOnDisk(disk_->view()), model_);
}

TEST_F(DeferredCommitTest, RemovingTheDeferredMarkCommitsWhatWaits) {
    ASSERT_TRUE(file_->setCommitMode(CommitMode::kDeferred).ok());
    ASSERT_TRUE(putEntry(*file_, 5, 4, model_).ok());
    ASSERT_TRUE(putEntry(*file_, 500, 4, model_).ok());  // a new entry
    EXPECT_EQ(contentsOnDisk(disk_->view()), committed_);
    ASSERT_TRUE(file_->setCommitMode(CommitMode::kEveryOperation).ok());
    EXPECT_EQ(contentsOnDisk(disk_->view()), model_);
    EXPECT_EQ(file_->data().changedPageCount(), 0u);
}

TEST_F(DeferredCommitTest, CloseCommitsWhatWaits) {
    ASSERT_TRUE(file_->setCommitMode(CommitMode::kHeld).ok());
    ASSERT_TRUE(putEntry(*file_, 7, 5, model_).ok());
    ASSERT_TRUE(putEntry(*file_, 77, 5, model_).ok());
    EXPECT_EQ(contentsOnDisk(disk_->view()), committed_);
    ASSERT_TRUE(file_->close().ok());
    EXPECT_EQ(contentsOnDisk(disk_->view()), model_);
}

TEST_F(DeferredCommitTest, FailureWithNothingWaitingForgetsOnlyItsOwnChanges) {
    ASSERT_TRUE(file_->setCommitMode(CommitMode::kDeferred).ok());
    const Status s = change(*file_, [&](DataFile& data) {
        Tree(data).put(keyOf(9), valueOf(9, 6));
        return Status::error(ErrorCode::kCreatesDuplicateKey, "refused");
    });
    EXPECT_EQ(s.code(), ErrorCode::kCreatesDuplicateKey);
    EXPECT_FALSE(file_->changesWaiting());
    EXPECT_EQ(testing::contentsOf(file_->data()), committed_);
}

TEST_F(DeferredCommitTest, FailureThatChangedNothingKeepsEarlierChangesWaiting) {
    ASSERT_TRUE(file_->setCommitMode(CommitMode::kDeferred).ok());
    ASSERT_TRUE(putEntry(*file_, 10, 7, model_).ok());
    const int before = disk_->operations();
    const Status s = change(*file_, [](DataFile&) {
        return Status::error(ErrorCode::kCreatesDuplicateKey, "refused before any change");
    });
    EXPECT_EQ(s.code(), ErrorCode::kCreatesDuplicateKey);
    EXPECT_EQ(disk_->operations(), before);
    EXPECT_TRUE(file_->changesWaiting());
    EXPECT_EQ(testing::contentsOf(file_->data()), model_);
    ASSERT_TRUE(file_->close().ok());
    EXPECT_EQ(contentsOnDisk(disk_->view()), model_);
}

TEST_F(DeferredCommitTest, FailureAfterChangesCommitsEarlierOperationsInsteadOfLosingThem) {
    ASSERT_TRUE(file_->setCommitMode(CommitMode::kDeferred).ok());
    ASSERT_TRUE(putEntry(*file_, 20, 8, model_).ok());
    ASSERT_TRUE(putEntry(*file_, 30, 8, model_).ok());
    // A failing operation that undid its own work, as the record operations do.
    const Status s = change(*file_, [&](DataFile& data) {
        Tree tree(data);
        tree.put(keyOf(600), valueOf(600, 8));
        EXPECT_TRUE(tree.erase(keyOf(600)).ok());
        return Status::error(ErrorCode::kCreatesDuplicateKey, "undone");
    });
    EXPECT_EQ(s.code(), ErrorCode::kCreatesDuplicateKey);
    EXPECT_FALSE(file_->changesWaiting());
    EXPECT_EQ(contentsOnDisk(disk_->view()), model_);
}

TEST_F(DeferredCommitTest, FailureWhileHeldKeepsHoldingAndWritesNothing) {
    ASSERT_TRUE(file_->setCommitMode(CommitMode::kHeld).ok());
    ASSERT_TRUE(putEntry(*file_, 60, 8, model_).ok());
    const int before = disk_->operations();
    const Status s = change(*file_, [&](DataFile& data) {
        Tree tree(data);
        tree.put(keyOf(601), valueOf(601, 8));
        EXPECT_TRUE(tree.erase(keyOf(601)).ok());
        return Status::error(ErrorCode::kCreatesDuplicateKey, "undone");
    });
    EXPECT_EQ(s.code(), ErrorCode::kCreatesDuplicateKey);
    EXPECT_EQ(disk_->operations(), before);
    EXPECT_TRUE(file_->changesWaiting());
    EXPECT_EQ(testing::contentsOf(file_->data()), model_);
    ASSERT_TRUE(file_->setCommitMode(CommitMode::kEveryOperation).ok());
    EXPECT_EQ(contentsOnDisk(disk_->view()), model_);
}

TEST_F(DeferredCommitTest, TransactionCommitsWhatWaitsBeforeItHoldsBack) {
    ASSERT_TRUE(file_->setCommitMode(CommitMode::kDeferred).ok());
    ASSERT_TRUE(putEntry(*file_, 40, 9, model_).ok());
    ASSERT_TRUE(file_->holdBack(Clock::now()).ok());
    EXPECT_EQ(contentsOnDisk(disk_->view()), model_);
    Model rolledBack = model_;
    ASSERT_TRUE(putEntry(*file_, 50, 9, model_).ok());
    // A rollback forgets the transaction's changes and nothing before it.
    ASSERT_TRUE(file_->data().discardChanges().ok());
    file_->stopHoldingBack();
    EXPECT_EQ(testing::contentsOf(file_->data()), rolledBack);
    EXPECT_EQ(contentsOnDisk(disk_->view()), rolledBack);
}

// Another open of the same file (a second program) is kept out while changes wait, and finds
// them once they are committed.
TEST(DeferredCommitSharing, OthersWaitWhileChangesWaitAndThenSeeThem) {
    auto disk = std::make_shared<MemoryDisk>();
    constexpr int kShared = AccessMode::kReadWrite | AccessMode::kDenyNone;
    auto ours = openOn(std::make_unique<MemoryFile>(disk), kShared);
    Model model;
    ASSERT_TRUE(putEntry(*ours, 0, 1, model).ok());
    auto theirs = openOn(std::make_unique<MemoryFile>(disk), kShared);
    ASSERT_TRUE(ours && theirs);
    StorageOptions options = storageOptions();
    options.fileLockWait = std::chrono::milliseconds(20);
    const ScopedStorageOptions shortWait(std::move(options));

    ASSERT_TRUE(ours->setCommitMode(CommitMode::kDeferred).ok());
    ASSERT_TRUE(putEntry(*ours, 1, 1, model).ok());
    ASSERT_TRUE(ours->changesWaiting());
    EXPECT_EQ(theirs->begin(false).code(), ErrorCode::kFileAlreadyLocked);
    EXPECT_EQ(theirs->begin(true).code(), ErrorCode::kFileAlreadyLocked);

    ASSERT_TRUE(ours->setCommitMode(CommitMode::kEveryOperation).ok());
    ASSERT_TRUE(theirs->begin(false).ok());
    EXPECT_EQ(testing::contentsOf(theirs->data()), model);
    ASSERT_TRUE(theirs->end(Status::success(), false).ok());
}

// The disk stops at every write and flush of a deferred run: a reopen finds a clean file with the
// state of one of its commits (or of none), never a mix.
TEST(DeferredCommitCrash, CrashWhileDeferredLeavesTheLastCommittedState) {
    Model before;
    const Bytes start = startingImage(before);
    // The run commits once 40 pages wait (the 40th change) and again at close. A dry run gives
    // the state of each commit and counts the disk operations.
    auto runDeferred = [&](std::shared_ptr<FaultDisk> disk, Model& model, Model& atFortieth) {
        auto file = openOn(std::make_unique<FaultFile>(disk));
        ASSERT_TRUE(file->setCommitMode(CommitMode::kDeferred).ok());
        for (int k = 0; k < 45; ++k) {
            (void)putEntry(*file, (k * kStride + 3) % kEntries, 2, model);
            if (k == 39) atFortieth = model;
        }
        (void)file->close();
    };
    Model after = before;
    Model middle;
    auto dry = std::make_shared<FaultDisk>(start);
    runDeferred(dry, after, middle);
    ASSERT_NE(middle, before);
    ASSERT_NE(after, middle);
    EXPECT_EQ(contentsOnDisk(dry->view()), after);
    const int operations = dry->operations();
    ASSERT_GT(operations, 2);
    for (int crashAt = 1; crashAt <= operations; ++crashAt) {
        for (bool keep : {true, false}) {
            FaultPlan plan;
            plan.crashAfterOperation = crashAt;
            plan.keepUnflushedWrites = keep;
            auto disk = std::make_shared<FaultDisk>(start, plan);
            Model ignored = before;
            Model ignoredMiddle;
            runDeferred(disk, ignored, ignoredMiddle);
            const Bytes image = disk->diskAfterCrash();
            auto data = testing::openImage(image);
            testing::expectClean(*data);
            const Model found = testing::contentsOf(*data);
            EXPECT_TRUE(found == before || found == middle || found == after)
                << "crash after operation " << crashAt << (keep ? " keeping" : " dropping")
                << " unflushed writes: a mixed state";
        }
    }
}

}  // namespace
}  // namespace quillery::storage
