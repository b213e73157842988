// An open for reading over a descriptor that cannot write, as a user who may only read the file,
// or a read-only medium, gives it: it opens, reads, shares and holds with the locks such a
// descriptor allows.
#include <gtest/gtest.h>

#include "runtime/errors.h"
#include "storage/page_file.h"
#include "tests/storage/file_test_support.h"
#include "tests/storage/storage_test_support.h"

namespace quillery::storage {
namespace {

using namespace testing;
namespace Op = Operation;

using testing::kReadOnlyDenyNone;
using testing::kReadOnlyDenyWrite;
using testing::kReadWriteDenyAll;
using testing::kReadWriteDenyNone;

class ReadOnlyOpen : public ::testing::Test {
  protected:
    void SetUp() override {
        DeclaredFile file(kSmallFields, kSmallKeys, Small::kLength);
        createAndOpen(file, path);
        file.setText(Small::CODE, 6, "A1");
        file.setText(Small::NAME, 10, "first");
        ASSERT_EQ(file.call(Op::kAdd), 0) << lastDriverDetail();
        ASSERT_EQ(file.call(Op::kClose), 0);
    }

    // Opens the file through a descriptor opened for reading only.
    Status openReadOnly(int mode, std::unique_ptr<PageFile>& out) {
        std::unique_ptr<File> raw;
        QUILLERY_RETURN_IF_ERROR(PosixFile::open(path, PosixOpenMode::kReadOnly, raw));
        PageFileOptions options;
        options.mode = mode;
        return PageFile::openOver(std::move(raw), path, options, out);
    }

    ScratchDir dir;
    const std::string path = dir.file("Books.vlt");
};

TEST_F(ReadOnlyOpen, OpensReadsAndKeepsWritersOutWhenItDeniesWriting) {
    std::unique_ptr<PageFile> reader;
    const Status opened = openReadOnly(kReadOnlyDenyWrite, reader);
    ASSERT_TRUE(opened.ok()) << opened.code() << " " << opened.message();
    ASSERT_TRUE(reader->begin(false).ok());
    EXPECT_FALSE(testing::contentsOf(reader->data()).empty());
    ASSERT_TRUE(reader->end(Status::success(), false).ok());

    DeclaredFile writer(kSmallFields, kSmallKeys, Small::kLength);
    writer.setName(path);
    EXPECT_EQ(writer.call(Op::kOpen, kReadWriteDenyNone), ErrorCode::kAccessDenied);
    DeclaredFile other(kSmallFields, kSmallKeys, Small::kLength);
    other.setName(path);
    EXPECT_EQ(other.call(Op::kOpen, kReadOnlyDenyNone), 0) << "another reader is let in";
}

TEST_F(ReadOnlyOpen, ItsHoldKeepsAWriterFromHoldingTheRecord) {
    std::unique_ptr<PageFile> reader;
    ASSERT_TRUE(openReadOnly(kReadOnlyDenyNone, reader).ok());
    ASSERT_TRUE(reader->locks().hold(7).ok());
    DeclaredFile writer(kSmallFields, kSmallKeys, Small::kLength);
    writer.setName(path);
    ASSERT_EQ(writer.call(Op::kOpen, kReadWriteDenyNone), 0);
    EXPECT_EQ(writer.block().open->file->locks().hold(7).code(), ErrorCode::kRecordIsAlreadyHeld);
    reader->locks().release(7);
    EXPECT_TRUE(writer.block().open->file->locks().hold(7).ok());
}

TEST_F(ReadOnlyOpen, ItIsRefusedWhereAWriterDeniesReading) {
    DeclaredFile writer(kSmallFields, kSmallKeys, Small::kLength);
    writer.setName(path);
    ASSERT_EQ(writer.call(Op::kOpen, kReadWriteDenyAll), 0);
    std::unique_ptr<PageFile> reader;
    EXPECT_EQ(openReadOnly(kReadOnlyDenyNone, reader).code(), ErrorCode::kAccessDenied);
}

}  // namespace
}  // namespace quillery::storage
