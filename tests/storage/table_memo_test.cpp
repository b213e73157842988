// Memo and blob values stored beside the record in segments of at most 256 bytes.
#include <gtest/gtest.h>

#include "tests/storage/file_test_support.h"

namespace quillery::storage::testing {
namespace {

namespace Op = Operation;

constexpr std::array<MemoDeclaration, 2> kMemos{{
    {"MM:NOTE", std::nullopt, 2000, 0},
    {"MM:PICTURE", std::nullopt, 4000, MemoFlag::kBlob | MemoFlag::kBinary},
}};

std::size_t memoSegments(DeclaredFile& file) {
    DataFile& data = file.block().open->file->data();
    const auto scope = kindPrefix(file.block().open->table->number(), EntryKind::kMemoSegment);
    TreeCursor cursor(data);
    std::size_t n = 0;
    for (bool more = firstInScope(cursor, scope); more && inScope(cursor.key(), scope);
         more = cursor.next())
        ++n;
    return n;
}

TEST(MemoTest, MemosAreWrittenReadChangedAndDeletedWithTheirRecord) {
    ScratchDir dir;
    DeclaredFile file(kSmallFields, kSmallKeys, Small::kLength);
    file.declaration().memos = kMemos;
    createAndOpen(file, dir.file("memo.dat"));
    auto& memos = file.block().memos;
    ASSERT_EQ(memos.size(), 2u);
    const std::string note = std::string(600, 'n') + "   ";
    memos[0].assign(note.begin(), note.end());
    memos[1] = Bytes(300, 0x20);  // a blob keeps its trailing spaces
    file.setText(Small::CODE, 6, "A");
    ASSERT_EQ(file.call(Op::kAdd), 0) << lastDriverDetail();
    EXPECT_EQ(memoSegments(file), 3u + 2u);  // 600 bytes; 4 + 300 bytes
    memos[0].clear();
    memos[1].clear();
    ASSERT_EQ(file.call(Op::kGetByNumber, 2), 0);
    EXPECT_EQ(memos[0], Bytes(600, 'n'));
    EXPECT_EQ(memos[1], Bytes(300, 0x20));
    memos[0] = Bytes(10, 'x');
    ASSERT_EQ(file.call(Op::kPut), 0);
    EXPECT_EQ(memoSegments(file), 1u + 2u);
    ASSERT_EQ(file.call(Op::kGetByNumber, 2), 0);
    EXPECT_EQ(memos[0], Bytes(10, 'x'));
    ASSERT_EQ(file.call(Op::kDelete), 0);
    EXPECT_EQ(memoSegments(file), 0u);
}

}  // namespace
}  // namespace quillery::storage::testing
