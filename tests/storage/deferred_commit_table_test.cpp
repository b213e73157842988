// Deferred and held commits seen through the file operations: nothing reaches the disk while
// changes wait, a refused add keeps the adds before it, key builds share their commits and
// respect a held file, and run-time keys' temporary files defer their commits.
#include <gtest/gtest.h>

#include <string>

#include "storage/table_checker.h"
#include "tests/storage/file_test_support.h"

namespace quillery::storage::testing {
namespace {

namespace Op = Operation;

std::string codeOf(int i) {
    std::string code = "C" + std::to_string(i);
    code.resize(6, ' ');
    return code;
}

class DeferredTableTest : public ::testing::Test {
  protected:
    DeferredTableTest() : file(kSmallFields, kSmallKeys, Small::kLength) {}
    void SetUp() override { createAndOpen(file, path); }

    PageFile& pageFile() { return *file.block().open->file; }
    void add(int i, int op = Op::kAdd) {
        file.setText(Small::CODE, 6, codeOf(i));
        file.setInt32(Small::COUNT, i);
        file.setText(Small::NAME, 10, "N" + std::to_string(i % 97));
        ASSERT_EQ(file.call(op), 0) << lastDriverDetail();
    }
    // The index (key 3) is brought up to date by a build of its own first; the check needs a
    // committed file.
    void expectTableClean() {
        ASSERT_EQ(file.call(Op::kBuildKey, 0, 3), 0) << lastDriverDetail();
        ASSERT_FALSE(pageFile().changesWaiting());
        const TableCheckReport report = checkTable(*file.block().open->table);
        EXPECT_TRUE(report.clean()) << (report.findings.empty() ? "" : report.findings.front());
    }
    std::uint32_t entries(std::size_t key) {
        EXPECT_EQ(file.call(Op::kKeyEntries, 0, key), 0);
        return static_cast<std::uint32_t>(file.lastAnswer);
    }

    ScratchDir dir;
    std::string path = dir.file("deferred.dat");
    DeclaredFile file;
};

TEST_F(DeferredTableTest, RefusedAddWhileDeferredKeepsTheAddsBeforeIt) {
    ASSERT_TRUE(pageFile().setCommitMode(CommitMode::kDeferred).ok());
    const auto before = fileBytes(path);
    add(1);
    add(2);
    EXPECT_EQ(fileBytes(path), before);  // a few pages wait; nothing is written
    file.setText(Small::CODE, 6, codeOf(1));
    EXPECT_EQ(file.call(Op::kAdd), ErrorCode::kCreatesDuplicateKey);
    add(3);
    ASSERT_EQ(file.call(Op::kClose), 0);
    EXPECT_TRUE(checkFileOnDisk(path).clean());

    ASSERT_EQ(file.call(Op::kOpen, kReadWriteDenyWrite), 0);
    ASSERT_EQ(file.call(Op::kRecords), 0);
    EXPECT_EQ(file.lastAnswer, 3);
    EXPECT_EQ(entries(0), 3u);
    expectTableClean();
}

TEST_F(DeferredTableTest, HeldFileWritesNothingUntilTheMarkGoesEvenForABuild) {
    for (int i = 0; i < 400; ++i)
        add(i, Op::kAppend);  // appends leave the keys to a build
    ASSERT_TRUE(pageFile().setCommitMode(CommitMode::kHeld).ok());
    const auto before = fileBytes(path);
    ASSERT_EQ(file.call(Op::kBuildAllKeys), 0) << lastDriverDetail();
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_TRUE(pageFile().changesWaiting());
    EXPECT_EQ(pageFile().commitMode(), CommitMode::kHeld);  // the build keeps the caller's mark
    EXPECT_EQ(entries(0), 400u);

    ASSERT_TRUE(pageFile().setCommitMode(CommitMode::kEveryOperation).ok());
    EXPECT_NE(fileBytes(path), before);
    EXPECT_FALSE(pageFile().changesWaiting());
    EXPECT_TRUE(checkFileOnDisk(path).clean());
    expectTableClean();
}

TEST_F(DeferredTableTest, BuildOfEveryKeyLeavesNothingWaiting) {
    for (int i = 0; i < 1500; ++i)
        add(i, Op::kAppend);
    ASSERT_EQ(file.call(Op::kBuildAllKeys), 0) << lastDriverDetail();
    EXPECT_EQ(pageFile().commitMode(), CommitMode::kEveryOperation);
    EXPECT_FALSE(pageFile().changesWaiting());
    EXPECT_TRUE(checkFileOnDisk(path).clean());
    for (std::size_t key = 0; key < 3; ++key)
        EXPECT_EQ(entries(key), 1500u) << key;
    EXPECT_EQ(entries(3), 0u);  // an index is left to a build of its own
    expectTableClean();
    // Another open finds the built keys on disk.
    ASSERT_EQ(file.call(Op::kClose), 0);
    ASSERT_EQ(file.call(Op::kOpen, kReadWriteDenyWrite), 0);
    expectTableClean();
}

TEST(DeferredRuntimeKeyTest, TemporaryKeyFileDefersItsCommits) {
    static constexpr std::array<KeyDeclaration, 2> kKeys{{
        {"RT:CODEKEY", 0, kCodeKey},
        {"RT:RUNTIME", KeyAttribute::kDuplicates | KeyAttribute::kIndex, {}},
    }};
    ScratchDir dir;
    DeclaredFile file(kSmallFields, kKeys, Small::kLength);
    createAndOpen(file, dir.file("runtime.dat"));
    for (int i = 0; i < 2000; ++i) {
        file.setText(Small::CODE, 6, codeOf(i));
        ASSERT_EQ(file.call(Op::kAdd), 0);
    }
    ASSERT_EQ(file.call(Op::kBuildKey, 0, 1), 0) << lastDriverDetail();
    PageFile& keyFile = file.block().open->table->keyPageFile(1);
    EXPECT_EQ(keyFile.commitMode(), CommitMode::kDeferred);
    EXPECT_LT(keyFile.data().changedPageCount(), kDeferredCommitPages);
    ASSERT_EQ(file.call(Op::kKeyEntries, 0, 1), 0);
    EXPECT_EQ(file.lastAnswer, 2000);
    // Every record, in record order, through the waiting and the committed pages alike.
    ASSERT_EQ(file.call(Op::kSetKeyOrder, 0, 1), 0);
    int read = 0;
    for (; file.call(Op::kNext) == 0; ++read)
        ASSERT_EQ(file.text(Small::CODE, 6), codeOf(read).substr(0, codeOf(read).find(' ')));
    EXPECT_EQ(read, 2000);
}

}  // namespace
}  // namespace quillery::storage::testing
