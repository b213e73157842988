// The POSIX file: transfers, errno translation, and locks that belong to each open of the file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "runtime/errors.h"
#include "storage/entry_kinds.h"
#include "storage/os_errors.h"
#include "storage/posix_file.h"
#include "tests/storage/storage_test_support.h"

namespace quillery::storage {
namespace {

// A directory of this test process, removed when the process ends.
struct ScratchDirectory {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("quillery-storage-" + std::to_string(::getpid()));
    ScratchDirectory() { std::filesystem::create_directories(path); }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

std::string scratchPath(const char* name) {
    static ScratchDirectory directory;
    return (directory.path / name).string();
}

TEST(OsErrors, ErrnoMapsToTheRuntimeNumbers) {
    struct Case {
        int errnoValue;
        int number;
    };
    for (const Case& c :
         {Case{ENOENT, 2}, Case{ENOTDIR, 3}, Case{EMFILE, 4}, Case{EACCES, 5}, Case{EPERM, 5},
          Case{EBADF, 6}, Case{ENOMEM, 8}, Case{EROFS, 19}, Case{EBUSY, 32}, Case{EAGAIN, 33},
          Case{ENOSPC, 39}, Case{EEXIST, 80}, Case{EINVAL, 87}, Case{EIO, 31}})
        EXPECT_EQ(osErrorNumberOf(c.errnoValue), c.number) << c.errnoValue;
}

TEST(PosixFile, MissingFileIsOsError2) {
    setLastOsError(0);
    std::unique_ptr<File> file;
    const Status s =
        PosixFile::open(scratchPath("does-not-exist.vlt"), PosixOpenMode::kReadOnly, file);
    EXPECT_EQ(s.code(), 302);
    EXPECT_EQ(s.osError(), 2);
    EXPECT_EQ(lastOsError(), 2);
    postError(0);
    EXPECT_EQ(errorCode(), 302);
    EXPECT_EQ(errorText(), "File Not Found");
    clearError();
}

TEST(PosixFile, CreateNewRefusesAnExistingFile) {
    const std::string path = scratchPath("exists.vlt");
    std::filesystem::remove(path);
    std::unique_ptr<File> file;
    ASSERT_TRUE(PosixFile::open(path, PosixOpenMode::kCreateNew, file).ok());
    std::unique_ptr<File> again;
    EXPECT_EQ(PosixFile::open(path, PosixOpenMode::kCreateNew, again).osError(), 80);
}

TEST(PosixFile, TransfersSizeAndTruncate) {
    const std::string path = scratchPath("transfers.vlt");
    std::filesystem::remove(path);
    std::unique_ptr<File> file;
    ASSERT_TRUE(PosixFile::open(path, PosixOpenMode::kOpenOrCreate, file).ok());
    const Bytes data(192, 0x5A);
    ASSERT_TRUE(file->write(64, data).ok());
    ASSERT_TRUE(file->flush().ok());
    std::uint64_t size = 0;
    ASSERT_TRUE(file->size(size).ok());
    EXPECT_EQ(size, 256u);
    Bytes back(512);
    std::size_t got = 0;
    ASSERT_TRUE(file->read(0, back, got).ok());
    EXPECT_EQ(got, 256u) << "a short read at the end of the file";
    EXPECT_EQ(back[63], 0);
    EXPECT_EQ(back[64], 0x5A);
    ASSERT_TRUE(file->truncate(64).ok());
    ASSERT_TRUE(file->size(size).ok());
    EXPECT_EQ(size, 64u);
}

// Two opens in one process exclude each other like two programs: reader slots against the
// writers' range far beyond the data.
TEST(PosixFile, LocksBelongToEachOpen) {
    const std::string path = scratchPath("locks.vlt");
    std::unique_ptr<File> a, b;
    ASSERT_TRUE(PosixFile::open(path, PosixOpenMode::kOpenOrCreate, a).ok());
    ASSERT_TRUE(PosixFile::open(path, PosixOpenMode::kReadWrite, b).ok());
    constexpr std::uint64_t kBase = 0x80000000;
    ASSERT_TRUE(a->lock(kBase + 3, 1, LockKind::kShared).ok());
    ASSERT_TRUE(b->lock(kBase + 4, 1, LockKind::kShared).ok());
    const Status blocked = b->lock(kBase, 0x400, LockKind::kExclusive);
    EXPECT_TRUE(blocked.isLockConflict()) << blocked.code();
    EXPECT_EQ(blocked.code(), 333);
    ASSERT_TRUE(a->unlock(kBase + 3, 1).ok());
    ASSERT_TRUE(b->unlock(kBase + 4, 1).ok());
    ASSERT_TRUE(b->lock(kBase, 0x400, LockKind::kExclusive).ok());
    EXPECT_TRUE(a->lock(kBase + 7, 1, LockKind::kShared).isLockConflict());
    b.reset();  // closing an open releases its locks
    EXPECT_TRUE(a->lock(kBase + 7, 1, LockKind::kShared).ok());
}

TEST(MemoryFile, LocksBehaveLikeTheRealOnes) {
    auto disk = std::make_shared<MemoryDisk>();
    auto a = std::make_unique<MemoryFile>(disk);
    auto b = std::make_unique<MemoryFile>(disk);
    ASSERT_TRUE(a->lock(100, 10, LockKind::kShared).ok());
    ASSERT_TRUE(b->lock(105, 10, LockKind::kShared).ok());
    EXPECT_TRUE(b->lock(100, 1, LockKind::kExclusive).isLockConflict());
    ASSERT_TRUE(a->unlock(100, 10).ok());
    EXPECT_TRUE(b->lock(100, 1, LockKind::kExclusive).ok());
    a.reset();
    b.reset();
    auto c = std::make_unique<MemoryFile>(disk);
    EXPECT_TRUE(c->lock(0, 1000, LockKind::kExclusive).ok());
}

TEST(PosixFile, DataFileRoundTripOnDisk) {
    const std::string path = scratchPath("round-trip.vlt");
    std::filesystem::remove(path);
    {
        std::unique_ptr<File> raw;
        ASSERT_TRUE(PosixFile::open(path, PosixOpenMode::kOpenOrCreate, raw).ok());
        std::unique_ptr<DataFile> file;
        ASSERT_TRUE(DataFile::open(std::move(raw), {}, file).ok());
        Tree tree(*file);
        for (int i = 0; i < 1000; ++i) {
            Bytes key = {
                0, 0, 0, 1, 0xF3, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
            ASSERT_TRUE(tree.insert(key, Bytes(64, 'p')).ok());
        }
        ASSERT_TRUE(file->close().ok());
    }
    std::unique_ptr<File> raw;
    ASSERT_TRUE(PosixFile::open(path, PosixOpenMode::kReadOnly, raw).ok());
    std::unique_ptr<DataFile> file;
    DataFileOptions reader;
    reader.exclusive = false;
    ASSERT_TRUE(DataFile::open(std::move(raw), reader, file).ok());
    EXPECT_EQ(testing::contentsOf(*file).size(), 1000u);
    testing::expectClean(*file);
    EXPECT_EQ(std::filesystem::file_size(path), file->header().committedEnd());
}

// The default probe opens the control file named by the pending-transaction link and looks the
// transaction up: present means it never completed and the log is discarded.
TEST(PosixFile, ControlFileDecidesAboutAPendingLog) {
    const std::string control = scratchPath("control.tcf");
    std::filesystem::remove(control);
    {
        std::unique_ptr<File> raw;
        ASSERT_TRUE(PosixFile::open(control, PosixOpenMode::kOpenOrCreate, raw).ok());
        std::unique_ptr<DataFile> file;
        ASSERT_TRUE(DataFile::open(std::move(raw), {}, file).ok());
        ASSERT_TRUE(Tree(*file).insert(transactionKey(7), {}).ok());
        ASSERT_TRUE(file->close().ok());
    }
    EXPECT_TRUE(transactionRecorded(control, 7));
    EXPECT_FALSE(transactionRecorded(control, 8));
    EXPECT_FALSE(transactionRecorded(scratchPath("no-such.tcf"), 7));
    for (std::uint32_t transaction : {7u, 8u}) {
        auto disk = std::make_shared<MemoryDisk>();
        {
            auto file = testing::openOn(disk);
            Tree tree(*file);
            ASSERT_TRUE(tree.insert(testing::bytesOf("committed"), {}).ok());
            ASSERT_TRUE(file->commit().ok());
            tree.put(pendingLinkKey(), encodePendingLink({transaction, control}));
            ASSERT_TRUE(tree.insert(testing::bytesOf("pending"), {}).ok());
            ASSERT_TRUE(file->prepareCommit().ok());
        }
        auto file = testing::openOn(disk);
        EXPECT_EQ(Tree(*file).find(testing::bytesOf("pending")), transaction == 8) << transaction;
        EXPECT_TRUE(Tree(*file).find(testing::bytesOf("committed")));
    }
}

}  // namespace
}  // namespace quillery::storage
