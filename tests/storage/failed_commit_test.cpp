// Errors the engine must not drop: a commit that fails on a disk that then cannot be read keeps
// nothing of itself for a later commit to write, and a refused change whose keys cannot be put
// back ends in the storage fault rather than leaving keys that disagree with the records.
#include <gtest/gtest.h>

#include "runtime/errors.h"
#include "storage/file_operations.h"
#include "storage/table.h"
#include "storage/testing/fault_file.h"
#include "tests/common/fatal_capture.h"
#include "tests/storage/file_test_support.h"
#include "tests/storage/storage_test_support.h"

namespace quillery::storage {
namespace {

Bytes keyOf(int i) {
    return {0, 0, 0, 1, 0xF3, static_cast<std::uint8_t>(i)};
}

TEST(FailedCommit, ADiskThatCannotBeReadAgainKeepsNothingOfTheRefusedCommit) {
    std::vector<std::uint8_t> committed;
    {
        auto disk = std::make_shared<FaultDisk>();
        std::unique_ptr<DataFile> file;
        ASSERT_TRUE(DataFile::open(std::make_unique<FaultFile>(disk), {}, file).ok());
        ASSERT_TRUE(Tree(*file).insert(keyOf(1), testing::bytesOf("kept")).ok());
        ASSERT_TRUE(file->commit().ok());
        committed = disk->view();
    }
    FaultPlan plan;
    plan.failWriteNumber = 1;
    plan.readsFailAfterFailedWrite = true;
    auto disk = std::make_shared<FaultDisk>(committed, plan);
    std::unique_ptr<DataFile> file;
    ASSERT_TRUE(DataFile::open(std::make_unique<FaultFile>(disk), {}, file).ok());
    ASSERT_TRUE(Tree(*file).insert(keyOf(2), testing::bytesOf("refused")).ok());

    const Status failed = file->commit();
    EXPECT_EQ(failed.osError(), 39);
    EXPECT_NE(failed.message().find("reading the file again failed"), std::string::npos)
        << failed.message();
    EXPECT_FALSE(file->hasChanges()) << "the refused changes wait for the next commit";

    disk->heal();
    EXPECT_TRUE(file->commit().ok());
    ASSERT_TRUE(file->refresh().ok());
    EXPECT_EQ(testing::contentsOf(*file), (testing::Model{{keyOf(1), testing::bytesOf("kept")}}));
    EXPECT_EQ(disk->view(), committed);
}

// CODE, then NAME: key 0 on the name with duplicates, key 1 on the code without.
namespace Pair {
inline constexpr std::size_t kLength = 16;
inline constexpr std::size_t CODE = 0, NAME = 6;
inline constexpr std::array<FieldDeclaration, 2> kFields{{
    {FieldType::kFixedString, 6, "PR:CODE"},
    {FieldType::kFixedString, 10, "PR:NAME"},
}};
inline constexpr std::int16_t kNameKey[] = {2};
inline constexpr std::int16_t kCodeKey[] = {1};
inline constexpr std::array<KeyDeclaration, 2> kKeys{{
    {"PR:NAMEKEY", KeyAttribute::kDuplicates, kNameKey},
    {"PR:CODEKEY", 0, kCodeKey},
}};
}  // namespace Pair

TEST(FailedChange, KeysThatCannotBePutBackAreAStorageFault) {
    testing::ScratchDir dir;
    testing::DeclaredFile file(Pair::kFields, Pair::kKeys, Pair::kLength);
    testing::createAndOpen(file, dir.file("Pairs.vlt"), testing::kReadWriteDenyAll);
    for (const char* code : {"r", "s"}) {
        file.setText(Pair::CODE, 6, code);
        file.setText(Pair::NAME, 10, "a");
        ASSERT_EQ(file.call(Operation::kAdd), 0) << lastDriverDetail();
    }
    // Damage, as a fault would leave it: the name entry of the first record names the second,
    // and a stray code entry "t" names the first.
    OpenTable& open = *file.block().open;
    Table& table = *open.table;
    std::vector<std::uint8_t> image(Pair::kLength, ' ');
    image[0] = 'r';
    image[6] = 'a';
    KeyEntry first;
    ASSERT_EQ(buildKeyEntry(table.number(), 0, table.layout(0), image, 2, first),
              KeyEntryResult::kBuilt);
    image[0] = 't';
    KeyEntry stray;
    ASSERT_EQ(buildKeyEntry(table.number(), 1, table.layout(1), image, 2, stray),
              KeyEntryResult::kBuilt);
    ASSERT_TRUE(runBracketed(open, true, [&] {
                    Bytes second(4);
                    storeBe32(second.data(), 3);
                    Tree(table.data()).put(first.key, second);
                    Tree(table.data()).put(stray.key, stray.data);
                    return Status::success();
                }).ok());

    // Changing the first record to name "c" and code "t" meets the stray entry in key 1; the
    // name key's step cannot then be undone, since its old entry was never taken out.
    ASSERT_EQ(file.call(Operation::kGetByNumber, 2), 0);
    file.setText(Pair::CODE, 6, "t");
    file.setText(Pair::NAME, 10, "c");
    quillery::testing::FatalCapture capture;
    EXPECT_THROW(file.call(Operation::kPut), ProgramEnded);
    EXPECT_EQ(capture.reports(), (std::vector<std::string>{"Internal error : vltbt line 170"}));
}

}  // namespace
}  // namespace quillery::storage
