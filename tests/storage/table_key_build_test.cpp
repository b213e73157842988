// Key builds: appends that leave keys to a later build, indexes kept only by builds, duplicates
// found by a build, the full-build option, run-time keys in temporary page files, and the cut.
#include <gtest/gtest.h>

#include "storage/key_build.h"
#include "tests/storage/file_test_support.h"

namespace quillery::storage::testing {
namespace {

namespace Op = Operation;

class KeyBuildTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path = dir.file("build.dat");
        createAndOpen(file, path);
    }
    void put(std::string_view code, std::int32_t count, std::string_view name) {
        file.setText(Small::CODE, 6, code);
        file.setInt32(Small::COUNT, count);
        file.setText(Small::NAME, 10, name);
    }
    std::uint32_t entries(std::size_t key) {
        EXPECT_EQ(file.call(Op::kKeyEntries, 0, key), 0);
        return static_cast<std::uint32_t>(file.lastAnswer);
    }
    std::vector<std::string> codesInKey(std::size_t key) {
        EXPECT_EQ(file.call(Op::kSetKeyOrder, 0, key), 0);
        std::vector<std::string> codes;
        while (file.call(Op::kNext) == 0)
            codes.push_back(file.text(Small::CODE, 6));
        return codes;
    }
    Metadata keyMetadata(std::size_t key) {
        Metadata m;
        EXPECT_TRUE(file.block().open->table->metadata(static_cast<std::uint8_t>(key), m));
        return m;
    }

    ScratchDir dir;
    std::string path;
    DeclaredFile file{kSmallFields, kSmallKeys, Small::kLength};
};

TEST_F(KeyBuildTest, AppendLowersBuildMarksAndBuildCompletesTheKeys) {
    put("A", 1, "a");
    ASSERT_EQ(file.call(Op::kAdd), 0);
    put("C", 3, "c");
    ASSERT_EQ(file.call(Op::kAppend), 0);  // record 3
    put("B", 2, "");
    ASSERT_EQ(file.call(Op::kAppend), 0);  // record 4: no entry in the optional key
    EXPECT_EQ(entries(0), 1u);
    EXPECT_EQ(keyMetadata(0).buildMark, 3u);
    EXPECT_EQ(keyMetadata(2).buildMark, 3u);
    EXPECT_EQ(codesInKey(0), (std::vector<std::string>{"A"}));
    ASSERT_EQ(file.call(Op::kBuildAllKeys), 0) << lastDriverDetail();
    EXPECT_EQ(codesInKey(0), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(codesInKey(1), (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_EQ(codesInKey(2), (std::vector<std::string>{"A", "C"}));
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_EQ(keyMetadata(k).buildMark, 0u) << k;
    EXPECT_EQ(entries(0), 3u);
    EXPECT_EQ(entries(2), 2u);
    ASSERT_EQ(file.call(Op::kClose), 0);
    EXPECT_TRUE(checkFileOnDisk(path).clean());
}

TEST_F(KeyBuildTest, BuildMeetingDuplicatesFailsAfterBuildingTheRest) {
    put("A", 1, "x");
    ASSERT_EQ(file.call(Op::kAppend), 0);  // record 2
    put("A", 2, "y");
    ASSERT_EQ(file.call(Op::kAppend), 0);  // record 3: same unique code
    put("B", 3, "z");
    ASSERT_EQ(file.call(Op::kAppend), 0);
    EXPECT_EQ(file.call(Op::kBuildAllKeys), ErrorCode::kCreatesDuplicateKey);
    EXPECT_EQ(keyMetadata(0).buildMark, 3u);  // incomplete from the duplicate on
    EXPECT_EQ(entries(0), 2u);
    EXPECT_EQ(codesInKey(0), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(keyMetadata(1).buildMark, 0u);
    EXPECT_EQ(entries(1), 3u);
}

TEST_F(KeyBuildTest, IndexIsKeptOnlyByBuildsAndLosesStaleEntries) {
    constexpr std::size_t kIndex = 3;
    put("A", 1, "pear");
    ASSERT_EQ(file.call(Op::kAdd), 0);  // record 2
    put("B", 2, "apple");
    ASSERT_EQ(file.call(Op::kAdd), 0);
    EXPECT_EQ(entries(kIndex), 0u);
    EXPECT_EQ(keyMetadata(kIndex).buildMark, 2u);
    // Building every key leaves indexes alone.
    ASSERT_EQ(file.call(Op::kBuildAllKeys), 0);
    EXPECT_EQ(entries(kIndex), 0u);
    ASSERT_EQ(file.call(Op::kBuildKey, 0, kIndex), 0);
    EXPECT_EQ(codesInKey(kIndex), (std::vector<std::string>{"B", "A"}));
    // A change lowers the mark; the next build drops the old value's entry.
    ASSERT_EQ(file.call(Op::kGetByNumber, 2), 0);
    file.setText(Small::NAME, 10, "zucchini");
    ASSERT_EQ(file.call(Op::kPut), 0);
    EXPECT_EQ(keyMetadata(kIndex).buildMark, 2u);
    ASSERT_EQ(file.call(Op::kBuildKey, 0, kIndex), 0);
    EXPECT_EQ(codesInKey(kIndex), (std::vector<std::string>{"B", "A"}));
    ASSERT_EQ(file.call(Op::kSetKeyOrder, 0, kIndex), 0);
    ASSERT_EQ(file.call(Op::kPrevious), 0);
    EXPECT_EQ(file.text(Small::NAME, 10), "zucchini");
    EXPECT_EQ(entries(kIndex), 2u);
}

TEST_F(KeyBuildTest, FullBuildOptionAndAFullBuildOverAnIntactKeyAddsNothing) {
    put("A", 1, "x");
    ASSERT_EQ(file.call(Op::kAdd), 0);
    put("B", 2, "y");
    ASSERT_EQ(file.call(Op::kAdd), 0);
    auto send = [&](std::string_view option) {
        DriverCall c;
        c.operation = Op::kSend;
        c.file = &file.block();
        c.text = option;
        EXPECT_EQ(VELTRANE(c), 0);
        return c.reply;
    };
    EXPECT_EQ(send("FULLBUILD"), "OFF");
    EXPECT_EQ(send("fullbuild=On"), "OFF");
    EXPECT_EQ(send("FULLBUILD"), "ON");
    const auto before = fileBytes(path);
    ASSERT_EQ(file.call(Op::kBuildKey, 0, 0), 0);
    EXPECT_EQ(entries(0), 2u);
    EXPECT_EQ(fileBytes(path).size(), before.size());
    EXPECT_EQ(send("FULLBUILD=yes"), "ON");
    EXPECT_EQ(send("FULLBUILD"), "OFF");
}

TEST_F(KeyBuildTest, FullBuildCountsTheEntriesItFindsWhateverTheStoredCountSaid) {
    put("A", 1, "x");
    ASSERT_EQ(file.call(Op::kAdd), 0);
    put("B", 2, "y");
    ASSERT_EQ(file.call(Op::kAdd), 0);
    Table& table = *file.block().open->table;
    for (std::uint32_t wrong : {0u, 1u, 7u}) {
        Metadata m = keyMetadata(0);
        m.count = wrong;
        table.setMetadata(0, m);
        DriverCall c;
        c.operation = Op::kSend;
        c.file = &file.block();
        c.text = "FULLBUILD=ON";
        ASSERT_EQ(VELTRANE(c), 0);
        ASSERT_EQ(file.call(Op::kBuildKey, 0, 0), 0);
        EXPECT_EQ(keyMetadata(0).count, 2u) << "stored count was " << wrong;
        EXPECT_EQ(entries(0), 2u);
    }
}

TEST_F(KeyBuildTest, BuildOfAClosedFileOpensItForTheBuild) {
    put("A", 1, "x");
    ASSERT_EQ(file.call(Op::kAppend), 0);
    ASSERT_EQ(file.call(Op::kClose), 0);
    ASSERT_EQ(file.call(Op::kBuildAllKeys), 0);
    EXPECT_FALSE(file.block().isOpen());
    ASSERT_EQ(file.call(Op::kOpen, kReadWriteDenyWrite), 0);
    EXPECT_EQ(entries(0), 1u);
    EXPECT_EQ(keyMetadata(0).buildMark, 0u);
}

TEST_F(KeyBuildTest, BuildAndCutLeavesTheFileAtItsCommittedEnd) {
    for (int i = 0; i < 40; ++i) {
        put("C" + std::to_string(i), i, "n");
        ASSERT_EQ(file.call(Op::kAppend), 0);
    }
    ASSERT_EQ(file.call(Op::kBuildAndCut), 0);
    const FileHeader& header = file.block().open->file->data().header();
    EXPECT_EQ(fileBytes(path).size(), header.committedEnd());
    EXPECT_EQ(entries(0), 40u);
}

TEST(KeyBuildBatchTest, BatchSizeFollowsTheEntryLength) {
    struct Case {
        std::size_t valueLength;
        bool duplicates;
        std::size_t expected;
    };
    for (const Case& c :
         {Case{6, false, 1000000 / (5 + 6 + 4 + 38)}, Case{6, true, 1000000 / (5 + 6 + 4 + 4 + 38)},
          Case{1000, true, 1000000 / (5 + 1000 + 8 + 38)}}) {
        KeyLayout layout;
        layout.flags = c.duplicates ? KeyFlag::kDuplicates : 0;
        layout.segments.push_back(
            {FieldType::kFixedString, 0, static_cast<std::uint16_t>(c.valueLength), false});
        EXPECT_EQ(buildBatchSize(layout), c.expected) << c.valueLength;
    }
}

// A key declared as an index without components lives in a temporary page file of its own:
// filled only by a build, gone at the close.
TEST(RuntimeKeyTest, RuntimeKeyIsFilledByBuildsOnlyAndDroppedAtClose) {
    static constexpr std::array<KeyDeclaration, 2> kKeys{{
        {"RT:CODEKEY", 0, kCodeKey},
        {"RT:RUNTIME", KeyAttribute::kDuplicates | KeyAttribute::kIndex, {}},
    }};
    ScratchDir dir;
    DeclaredFile file(kSmallFields, kKeys, Small::kLength);
    const std::string path = dir.file("runtime.dat");
    createAndOpen(file, path);
    for (const char* code : {"A", "B", "C"}) {
        file.setText(Small::CODE, 6, code);
        ASSERT_EQ(file.call(Op::kAdd), 0);
    }
    ASSERT_EQ(file.call(Op::kKeyEntries, 0, 1), 0);
    EXPECT_EQ(file.lastAnswer, 0);
    ASSERT_EQ(file.call(Op::kBuildKey, 0, 1), 0) << lastDriverDetail();
    ASSERT_EQ(file.call(Op::kKeyEntries, 0, 1), 0);
    EXPECT_EQ(file.lastAnswer, 3);
    ASSERT_EQ(file.call(Op::kSetKeyOrder, 0, 1), 0);
    std::vector<std::string> codes;
    while (file.call(Op::kNext) == 0)
        codes.push_back(file.text(Small::CODE, 6));
    EXPECT_EQ(codes, (std::vector<std::string>{"A", "B", "C"}));
    // Adds leave it alone; the data file never holds its entries.
    file.setText(Small::CODE, 6, "D");
    ASSERT_EQ(file.call(Op::kAdd), 0);
    ASSERT_EQ(file.call(Op::kKeyEntries, 0, 1), 0);
    EXPECT_EQ(file.lastAnswer, 3);
    ASSERT_EQ(file.call(Op::kClose), 0);
    EXPECT_TRUE(checkFileOnDisk(path).clean());
    ASSERT_EQ(file.call(Op::kOpen, kReadWriteDenyWrite), 0);
    ASSERT_EQ(file.call(Op::kKeyEntries, 0, 1), 0);
    EXPECT_EQ(file.lastAnswer, 0);
}

}  // namespace
}  // namespace quillery::storage::testing
