// The file operations on one table: create, open, add, get, change, delete, sequential reading
// in file and key order, counts, and the error codes with their texts.
#include <gtest/gtest.h>

#include "tests/storage/file_test_support.h"

namespace quillery::storage::testing {
namespace {

namespace Op = Operation;

class SmallFileTest : public ::testing::Test {
  protected:
    void SetUp() override { createAndOpen(file, dir.file("small.dat")); }

    // Adds a record; returns its number.
    std::uint32_t add(std::string_view code, std::int32_t count, std::string_view name) {
        file.setText(Small::CODE, 6, code);
        file.setInt32(Small::COUNT, count);
        file.setText(Small::NAME, 10, name);
        EXPECT_EQ(file.call(Op::kAdd), 0) << lastDriverDetail();
        EXPECT_EQ(file.call(Op::kPosition), 0);
        return static_cast<std::uint32_t>(file.lastAnswer);
    }
    // Codes read by NEXT (or PREVIOUS) until the read fails; the failure must be 33.
    std::vector<std::string> readAll(int operation) {
        std::vector<std::string> codes;
        int code = 0;
        while ((code = file.call(operation)) == 0)
            codes.push_back(file.text(Small::CODE, 6));
        EXPECT_EQ(code, ErrorCode::kRecordNotAvailable);
        return codes;
    }
    std::uint32_t entries(std::size_t key) {
        EXPECT_EQ(file.call(Op::kKeyEntries, 0, key), 0);
        return static_cast<std::uint32_t>(file.lastAnswer);
    }

    ScratchDir dir;
    DeclaredFile file{kSmallFields, kSmallKeys, Small::kLength};
};

TEST_F(SmallFileTest, AddedRecordsAreReadBackByNumberAndCounted) {
    EXPECT_EQ(add("A1", 5, "alpha"), 2u);  // the table took number 1
    EXPECT_EQ(add("B2", 7, "beta"), 3u);
    ASSERT_EQ(file.call(Op::kRecords), 0);
    EXPECT_EQ(file.lastAnswer, 2);
    ASSERT_EQ(file.call(Op::kGetByNumber, 2), 0);
    EXPECT_EQ(file.text(Small::CODE, 6), "A1");
    EXPECT_EQ(file.int32(Small::COUNT), 5);
    EXPECT_EQ(file.call(Op::kGetByNumber, 99), ErrorCode::kRecordNotFound);
    EXPECT_EQ(file.call(Op::kGetByNumber, 0), ErrorCode::kRecordNotFound);
    EXPECT_EQ(entries(0), 2u);
}

TEST_F(SmallFileTest, RecordsSurviveCloseAndReopen) {
    add("A1", 5, "alpha");
    ASSERT_EQ(file.call(Op::kClose), 0);
    EXPECT_EQ(file.call(Op::kGetByNumber, 2), ErrorCode::kFileNotOpen);
    ASSERT_EQ(file.call(Op::kOpen, kReadWriteDenyWrite), 0);
    ASSERT_EQ(file.call(Op::kGetByNumber, 2), 0);
    EXPECT_EQ(file.text(Small::NAME, 10), "alpha");
    EXPECT_TRUE(checkFileOnDisk(dir.file("small.dat")).clean());
}

TEST_F(SmallFileTest, FileOrderReadsForwardAndBackward) {
    add("A", 1, "x");
    add("B", 2, "y");
    add("C", 3, "z");
    ASSERT_EQ(file.call(Op::kSetFileOrder), 0);
    EXPECT_EQ(readAll(Op::kNext), (std::vector<std::string>{"A", "B", "C"}));
    ASSERT_EQ(file.call(Op::kSetFileOrder), 0);
    EXPECT_EQ(readAll(Op::kPrevious), (std::vector<std::string>{"C", "B", "A"}));
}

TEST_F(SmallFileTest, SetFromNumberStartsAtThatRecordOrTheNextOne) {
    const auto a = add("A", 1, "x");
    const auto b = add("B", 2, "y");
    add("C", 3, "z");
    ASSERT_EQ(file.call(Op::kGetByNumber, b), 0);
    ASSERT_EQ(file.call(Op::kDelete), 0);
    ASSERT_EQ(file.call(Op::kSetFromNumber, b), 0);
    EXPECT_EQ(readAll(Op::kNext), (std::vector<std::string>{"C"}));
    ASSERT_EQ(file.call(Op::kSetFromNumber, b), 0);
    EXPECT_EQ(readAll(Op::kPrevious), (std::vector<std::string>{"A"}));
    ASSERT_EQ(file.call(Op::kSetFromNumber, a), 0);
    EXPECT_EQ(readAll(Op::kNext), (std::vector<std::string>{"A", "C"}));
    // Zero or less is file order from the start.
    ASSERT_EQ(file.call(Op::kSetFromNumber, -4), 0);
    EXPECT_EQ(readAll(Op::kPrevious), (std::vector<std::string>{"C", "A"}));
}

TEST_F(SmallFileTest, KeyOrderSortsDescendingAndCaseInsensitively) {
    add("A", 1, "pear");
    add("B", -3, "Apple");
    add("C", 7, "apple");
    ASSERT_EQ(file.call(Op::kSetKeyOrder, 0, 1), 0);  // count descending
    EXPECT_EQ(readAll(Op::kNext), (std::vector<std::string>{"C", "A", "B"}));
    ASSERT_EQ(file.call(Op::kSetKeyOrder, 0, 2), 0);  // equal names by record number
    EXPECT_EQ(readAll(Op::kNext), (std::vector<std::string>{"B", "C", "A"}));
    ASSERT_EQ(file.call(Op::kSetKeyOrder, 0, 2), 0);
    EXPECT_EQ(readAll(Op::kPrevious), (std::vector<std::string>{"A", "C", "B"}));
}

TEST_F(SmallFileTest, ReadingPastTheEndLeavesTheBufferAsItWas) {
    add("A", 1, "x");
    ASSERT_EQ(file.call(Op::kSetKeyOrder, 0, 0), 0);
    ASSERT_EQ(file.call(Op::kNext), 0);
    file.setText(Small::NAME, 10, "scribble");
    const auto before = file.buffer();
    EXPECT_EQ(file.call(Op::kNext), ErrorCode::kRecordNotAvailable);
    EXPECT_EQ(file.buffer(), before);
    EXPECT_EQ(file.call(Op::kNext), ErrorCode::kRecordNotAvailable);
}

TEST_F(SmallFileTest, EndAndBeginningTestsNeitherReadNorMove) {
    add("A", 1, "x");
    add("B", 2, "y");
    ASSERT_EQ(file.call(Op::kSetFileOrder), 0);
    ASSERT_EQ(file.call(Op::kEndTest), 0);
    EXPECT_EQ(file.lastAnswer, 0);
    ASSERT_EQ(file.call(Op::kNext), 0);
    ASSERT_EQ(file.call(Op::kBeginningTest), 0);
    EXPECT_EQ(file.lastAnswer, 1);
    ASSERT_EQ(file.call(Op::kEndTest), 0);
    EXPECT_EQ(file.lastAnswer, 0);
    ASSERT_EQ(file.call(Op::kNext), 0);
    ASSERT_EQ(file.call(Op::kEndTest), 0);
    EXPECT_EQ(file.lastAnswer, 1);
    EXPECT_EQ(file.text(Small::CODE, 6), "B");
    ASSERT_EQ(file.call(Op::kPosition), 0);
    EXPECT_EQ(file.lastAnswer, 3);
}

TEST_F(SmallFileTest, GetByKeyFindsTheFirstEqualValue) {
    add("A", 1, "pear");
    add("B", 2, "Plum");
    add("C", 3, "plum");
    file.setText(Small::NAME, 10, "PLUM");
    ASSERT_EQ(file.call(Op::kGetByKey, 0, 2), 0);
    EXPECT_EQ(file.text(Small::CODE, 6), "B");
    file.setText(Small::NAME, 10, "plu");
    EXPECT_EQ(file.call(Op::kGetByKey, 0, 2), ErrorCode::kRecordNotFound);
    file.setText(Small::CODE, 6, "C");
    ASSERT_EQ(file.call(Op::kGetByKey, 0, 0), 0);
    EXPECT_EQ(file.int32(Small::COUNT), 3);
}

TEST_F(SmallFileTest, PutReplacesTheRecordAndItsKeyEntries) {
    const auto a = add("A", 1, "pear");
    add("B", 2, "plum");
    ASSERT_EQ(file.call(Op::kGetByNumber, a), 0);
    file.setText(Small::NAME, 10, "zucchini");
    file.setInt32(Small::COUNT, 9);
    ASSERT_EQ(file.call(Op::kPut), 0);
    ASSERT_EQ(file.call(Op::kSetKeyOrder, 0, 2), 0);
    EXPECT_EQ(readAll(Op::kNext), (std::vector<std::string>{"B", "A"}));
    ASSERT_EQ(file.call(Op::kSetKeyOrder, 0, 1), 0);
    EXPECT_EQ(readAll(Op::kNext), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(entries(2), 2u);
    ASSERT_EQ(file.call(Op::kRecords), 0);
    EXPECT_EQ(file.lastAnswer, 2);
}

TEST_F(SmallFileTest, OptionalKeySkipsBlankValuesOnly) {
    add("A", 1, "");
    add("B", 2, "named");
    EXPECT_EQ(entries(2), 1u);
    EXPECT_EQ(entries(0), 2u);
    ASSERT_EQ(file.call(Op::kSetKeyOrder, 0, 2), 0);
    EXPECT_EQ(readAll(Op::kNext), (std::vector<std::string>{"B"}));
    ASSERT_EQ(file.call(Op::kGetByNumber, 2), 0);
    file.setText(Small::NAME, 10, "now named");
    ASSERT_EQ(file.call(Op::kPut), 0);
    EXPECT_EQ(entries(2), 2u);
}

TEST_F(SmallFileTest, DeleteRemovesRecordAndEntriesAndSequenceGoesOn) {
    add("A", 1, "x");
    add("B", 2, "y");
    add("C", 3, "z");
    ASSERT_EQ(file.call(Op::kSetFileOrder), 0);
    std::vector<std::string> kept;
    while (file.call(Op::kNext) == 0) {
        if (file.text(Small::CODE, 6) == "B") {
            ASSERT_EQ(file.call(Op::kDelete), 0);
        } else {
            kept.push_back(file.text(Small::CODE, 6));
        }
    }
    EXPECT_EQ(kept, (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(entries(0), 2u);
    EXPECT_EQ(entries(1), 2u);
    ASSERT_EQ(file.call(Op::kRecords), 0);
    EXPECT_EQ(file.lastAnswer, 2);
    // The deleted record is gone for good; a change of it has nothing to change.
    ASSERT_EQ(file.call(Op::kGetByNumber, 3), ErrorCode::kRecordNotFound);
}

TEST_F(SmallFileTest, ChangeOrDeleteWithoutACurrentRecordIsRecordNotAvailable) {
    EXPECT_EQ(file.call(Op::kPut), ErrorCode::kRecordNotAvailable);
    EXPECT_EQ(file.call(Op::kDelete), ErrorCode::kRecordNotAvailable);
    const auto a = add("A", 1, "x");
    ASSERT_EQ(file.call(Op::kGetByNumber, a), 0);
    ASSERT_EQ(file.call(Op::kDelete), 0);
    EXPECT_EQ(file.call(Op::kPut), ErrorCode::kRecordNotAvailable);
}

TEST_F(SmallFileTest, DuplicateInUniqueKeyFailsAndLeavesTheFileByteForByte) {
    add("A", 1, "x");
    const auto b = add("B", 2, "y");
    const std::string path = dir.file("small.dat");
    const auto before = fileBytes(path);
    file.setText(Small::CODE, 6, "A");
    file.setText(Small::NAME, 10, "other");
    EXPECT_EQ(file.call(Op::kAdd), ErrorCode::kCreatesDuplicateKey);
    EXPECT_EQ(fileBytes(path), before);
    ASSERT_EQ(file.call(Op::kGetByNumber, b), 0);
    file.setText(Small::CODE, 6, "A");
    file.setInt32(Small::COUNT, 50);
    EXPECT_EQ(file.call(Op::kPut), ErrorCode::kCreatesDuplicateKey);
    EXPECT_EQ(fileBytes(path), before);
    // Every key is as before: two entries each, and B is still found under its own code.
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_EQ(entries(k), 2u) << k;
    file.setText(Small::CODE, 6, "B");
    ASSERT_EQ(file.call(Op::kGetByKey, 0, 0), 0);
    EXPECT_EQ(file.int32(Small::COUNT), 2);
    ASSERT_EQ(file.call(Op::kRecords), 0);
    EXPECT_EQ(file.lastAnswer, 2);
}

TEST_F(SmallFileTest, OpenOfAnOpenFileIsFileAlreadyOpen) {
    EXPECT_EQ(file.call(Op::kOpen, kReadWriteDenyWrite), ErrorCode::kFileAlreadyOpen);
}

TEST_F(SmallFileTest, UnsupportedOperationsAnswer80AndNoOperationSucceeds) {
    for (int op : {0x05, 0x08, 0x30, 0x4B, 0xFF})
        EXPECT_EQ(file.call(op), ErrorCode::kUnsupportedFileDriverFunction) << op;
    EXPECT_EQ(file.call(Op::kNoOperation), 0);
}

TEST(FileOpenTest, MissingFileIsFileNotFound) {
    ScratchDir dir;
    DeclaredFile file(kSmallFields, kSmallKeys, Small::kLength);
    file.setName(dir.file("missing.dat"));
    EXPECT_EQ(file.call(Op::kOpen, kReadWriteDenyWrite), ErrorCode::kFileNotFound);
}

TEST(FileOpenTest, EmptyNameIsInvalidFilename) {
    DeclaredFile file(kSmallFields, kSmallKeys, Small::kLength);
    file.setName("");
    EXPECT_EQ(file.call(Op::kOpen, kReadWriteDenyWrite), ErrorCode::kInvalidFilename);
    EXPECT_EQ(file.call(Op::kCreate), ErrorCode::kInvalidFilename);
}

TEST(FileOpenTest, CreateWithoutCreateAttributeIsError54AndCreatesNothing) {
    ScratchDir dir;
    DeclaredFile file(kSmallFields, kSmallKeys, Small::kLength, /*create=*/false);
    file.setName(dir.file("never.dat"));
    EXPECT_EQ(file.call(Op::kCreate), ErrorCode::kNoCreateAttribute);
    EXPECT_FALSE(std::filesystem::exists(dir.file("never.dat")));
}

TEST(FileOpenTest, BadHeaderIsInvalidDataFile) {
    ScratchDir dir;
    {
        std::ofstream out(dir.file("junk.dat"), std::ios::binary);
        out << std::string(600, 'x');
    }
    std::ofstream(dir.file("short.dat"), std::ios::binary) << "vElT";
    DeclaredFile file(kSmallFields, kSmallKeys, Small::kLength);
    file.setName(dir.file("junk.dat"));
    EXPECT_EQ(file.call(Op::kOpen, kReadWriteDenyWrite), ErrorCode::kInvalidDataFile);
    file.setName(dir.file("short.dat"));
    EXPECT_EQ(file.call(Op::kOpen, kReadWriteDenyWrite), ErrorCode::kInvalidDataFile);
}

TEST(FileOpenTest, DifferentDeclarationIsInvalidRecordDeclaration) {
    ScratchDir dir;
    {
        DeclaredFile file(kSmallFields, kSmallKeys, Small::kLength);
        createAndOpen(file, dir.file("decl.dat"));
    }
    // Same fields, but the unique key now allows duplicates.
    static constexpr std::array<KeyDeclaration, 4> kChangedKeys{{
        {"SM:CODEKEY", KeyAttribute::kDuplicates, kCodeKey},
        {"SM:COUNTKEY", kDup, kCountKey},
        {"SM:NAMEKEY", kDupOptNoCase, kNameKey},
        {"SM:NAMEINDEX", KeyAttribute::kDuplicates | KeyAttribute::kIndex, kNameKey},
    }};
    DeclaredFile changed(kSmallFields, kChangedKeys, Small::kLength);
    changed.setName(dir.file("decl.dat"));
    EXPECT_EQ(changed.call(Op::kOpen, kReadWriteDenyWrite), ErrorCode::kInvalidRecordDeclaration);
    // Names may differ; flag 0x10 is not compared.
    static constexpr std::array<KeyDeclaration, 4> kRenamedKeys{{
        {"OTHERNAME", KeyAttribute::kDeclared10, kCodeKey},
        {"SM:COUNTKEY", kDup, kCountKey},
        {"SM:NAMEKEY", kDupOptNoCase, kNameKey},
        {"SM:NAMEINDEX", KeyAttribute::kDuplicates | KeyAttribute::kIndex, kNameKey},
    }};
    DeclaredFile renamed(kSmallFields, kRenamedKeys, Small::kLength);
    renamed.setName(dir.file("decl.dat"));
    EXPECT_EQ(renamed.call(Op::kOpen, kReadWriteDenyWrite), 0);
}

TEST(FileOpenTest, NamesGetTheDefaultExtensionAndTablesByName) {
    ScratchDir dir;
    DeclaredFile file(kSmallFields, kSmallKeys, Small::kLength);
    file.setName(dir.file("plain") + "\\!books");
    ASSERT_EQ(file.call(Op::kCreate), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.file("plain.VLT")));
    // The table is named in capitals; the unnamed table of the same file does not exist.
    file.setName(dir.file("plain.VLT") + "\\!BOOKS");
    EXPECT_EQ(file.call(Op::kOpen, kReadWriteDenyWrite), 0);
    EXPECT_EQ(file.call(Op::kClose), 0);
    file.setName(dir.file("plain"));
    EXPECT_EQ(file.call(Op::kOpen, kReadWriteDenyWrite), ErrorCode::kFileNotFound);
}

TEST(FileOpenTest, TwoTablesLiveInOneFile) {
    ScratchDir dir;
    DeclaredFile first(kSmallFields, kSmallKeys, Small::kLength);
    DeclaredFile second(kSmallFields, kSmallKeys, Small::kLength);
    first.setName(dir.file("two.dat\\!ONE"));
    second.setName(dir.file("two.dat\\!TWO"));
    ASSERT_EQ(first.call(Op::kCreate), 0);
    ASSERT_EQ(second.call(Op::kCreate), 0);
    ASSERT_EQ(first.call(Op::kOpen, kReadWriteDenyNone), 0);
    ASSERT_EQ(second.call(Op::kOpen, kReadWriteDenyNone), 0);
    first.setText(Small::CODE, 6, "one");
    ASSERT_EQ(first.call(Op::kAdd), 0);
    second.setText(Small::CODE, 6, "two");
    ASSERT_EQ(second.call(Op::kAdd), 0);
    ASSERT_EQ(second.call(Op::kSetFileOrder), 0);
    ASSERT_EQ(second.call(Op::kNext), 0);
    EXPECT_EQ(second.text(Small::CODE, 6), "two");
    EXPECT_EQ(second.call(Op::kNext), ErrorCode::kRecordNotAvailable);
    ASSERT_EQ(first.call(Op::kRecords), 0);
    EXPECT_EQ(first.lastAnswer, 1);
}

// The statements post what the entry point answers, with the file and the text of the code.
TEST(FileStatementsTest, ErrorsArePostedWithTheirTextsAndFile) {
    ScratchDir dir;
    DeclaredFile file(kSmallFields, kSmallKeys, Small::kLength);
    const std::string path = dir.file("stmt.dat");
    file.setName(path);
    OPEN(*file);
    EXPECT_EQ(errorCode(), 2);
    EXPECT_EQ(errorText(), "File Not Found");
    EXPECT_EQ(errorFile(), path);
    CREATE(*file);
    EXPECT_EQ(errorCode(), 0);
    OPEN(*file);
    EXPECT_EQ(errorCode(), 0);
    PUT(*file);
    EXPECT_EQ(errorText(), "Record Not Available");
    GET(*file, 42);
    EXPECT_EQ(errorText(), "Record Not Found");
    CLEAR(*file);
    EXPECT_EQ(file.text(Small::CODE, 6), "");
    EXPECT_EQ(file.buffer()[Small::CODE], ' ');
    EXPECT_EQ(file.int32(Small::COUNT), 0);
    ADD(*file);
    EXPECT_EQ(errorCode(), 0);
    ADD(*file);
    EXPECT_EQ(errorCode(), 40);
    EXPECT_EQ(errorText(), "Creates Duplicate Key");
    EXPECT_EQ(RECORDS(*file), 1u);
    EXPECT_EQ(RECORDS(keyOf(*file, 0)), 1u);
    SET(*file);
    NEXT(*file);
    EXPECT_EQ(POSITION(*file), 2u);
    NEXT(*file);
    EXPECT_EQ(errorCode(), 33);
    DriverCall unsupported;
    unsupported.operation = 0x05;
    unsupported.file = &file.block();
    EXPECT_EQ(VELTRANE(unsupported), 80);
    postError(80);
    EXPECT_EQ(errorText(), "Unsupported File Driver Function");
    CLOSE(*file);
    EXPECT_EQ(errorCode(), 0);
    DeclaredFile noCreate(kSmallFields, kSmallKeys, Small::kLength, false);
    noCreate.setName(dir.file("nope.dat"));
    CREATE(*noCreate);
    EXPECT_EQ(errorText(), "No Create Attribute");
    noCreate.setName("");
    OPEN(*noCreate);
    EXPECT_EQ(errorText(), "Invalid Filename");
}

}  // namespace
}  // namespace quillery::storage::testing
