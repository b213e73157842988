// The open data file: the page cache's validity across refreshes, readers and writers of one
// file, the prepared (two-step) commit, entry kinds and numbering helpers, and the checker's
// findings on files that break a rule.
#include <gtest/gtest.h>

#include "storage/entry_kinds.h"
#include "tests/storage/storage_test_support.h"

namespace quillery::storage {
namespace {

// Counts the reads that reach the disk.
class CountingFile final : public File {
  public:
    CountingFile(std::shared_ptr<MemoryDisk> disk, int& reads)
        : inner_(std::move(disk)), reads_(reads) {}
    Status read(std::uint64_t o, std::span<std::uint8_t> out, std::size_t& got) override {
        ++reads_;
        return inner_.read(o, out, got);
    }
    Status write(std::uint64_t o, std::span<const std::uint8_t> d) override {
        return inner_.write(o, d);
    }
    Status flush() override { return inner_.flush(); }
    Status size(std::uint64_t& out) override { return inner_.size(out); }
    Status truncate(std::uint64_t n) override { return inner_.truncate(n); }
    Status lock(std::uint64_t o, std::uint64_t n, LockKind k) override {
        return inner_.lock(o, n, k);
    }
    Status unlock(std::uint64_t o, std::uint64_t n) override { return inner_.unlock(o, n); }

  private:
    MemoryFile inner_;
    int& reads_;
};

Bytes keyOf(int i) {
    return {0, 0, 0, 1, 0xF3, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
}

TEST(PageCache, RefreshKeepsTheCacheUntilTheChangeCounterMoves) {
    auto disk = std::make_shared<MemoryDisk>();
    {
        auto writer = testing::openOn(disk);
        Tree tree(*writer);
        for (int i = 0; i < 500; ++i)
            ASSERT_TRUE(tree.insert(keyOf(i), Bytes(80, 'a')).ok());
        ASSERT_TRUE(writer->commit().ok());
    }
    int reads = 0;
    std::unique_ptr<DataFile> reader;
    DataFileOptions shared;
    shared.exclusive = false;
    ASSERT_TRUE(DataFile::open(std::make_unique<CountingFile>(disk, reads), shared, reader).ok());
    EXPECT_EQ(testing::contentsOf(*reader).size(), 500u);
    const int afterFirstWalk = reads;
    ASSERT_TRUE(reader->refresh().ok());
    EXPECT_EQ(testing::contentsOf(*reader).size(), 500u);
    EXPECT_EQ(reads, afterFirstWalk + 1) << "only the header is read again";

    // Another open of the file commits: the reader's next refresh drops its pages.
    {
        auto writer = testing::openOn(disk);
        Tree tree(*writer);
        ASSERT_TRUE(tree.erase(keyOf(3)).ok());
        ASSERT_TRUE(writer->commit().ok());
    }
    EXPECT_EQ(testing::contentsOf(*reader).size(), 500u) << "no refresh yet: the old cache";
    ASSERT_TRUE(reader->refresh().ok());
    EXPECT_EQ(testing::contentsOf(*reader).size(), 499u);
    EXPECT_GT(reads, afterFirstWalk + 2);
}

// An open made while the file was still empty holds only the fresh root it starts with; that is
// no change of its own, so a refresh takes the first state another open committed.
TEST(PageCache, OpenOfAnEmptyFileSeesTheFirstCommitOfAnother) {
    auto disk = std::make_shared<MemoryDisk>();
    auto early = testing::openOn(disk);
    EXPECT_TRUE(testing::contentsOf(*early).empty());
    {
        auto writer = testing::openOn(disk);
        ASSERT_TRUE(Tree(*writer).insert(keyOf(1), testing::bytesOf("first")).ok());
        ASSERT_TRUE(writer->commit().ok());
    }
    ASSERT_TRUE(early->refresh().ok());
    EXPECT_EQ(testing::contentsOf(*early).size(), 1u);

    // Its own change, once made, is kept by a refresh.
    auto second = std::make_shared<MemoryDisk>();
    auto own = testing::openOn(second);
    ASSERT_TRUE(Tree(*own).insert(keyOf(2), testing::bytesOf("mine")).ok());
    ASSERT_TRUE(own->refresh().ok());
    EXPECT_EQ(testing::contentsOf(*own).size(), 1u);
}

TEST(PageCache, ChangedPagesStayCachedUntilTheCommit) {
    auto disk = std::make_shared<MemoryDisk>();
    auto file = testing::openOn(disk);
    Tree tree(*file);
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(tree.insert(keyOf(i), Bytes(100, 'b')).ok());
    EXPECT_TRUE(disk->bytes.empty()) << "nothing reaches the disk before the commit";
    EXPECT_GT(file->changedPageCount(), 3u);
    ASSERT_TRUE(file->refresh().ok());  // pending changes are not dropped by a refresh
    EXPECT_EQ(testing::contentsOf(*file).size(), 300u);
    ASSERT_TRUE(file->commit().ok());
    EXPECT_EQ(file->changedPageCount(), 0u);
    EXPECT_FALSE(file->hasChanges());
}

TEST(Commit, PreparedCommitCanBeFinishedOrAbandoned) {
    for (bool finish : {true, false}) {
        auto disk = std::make_shared<MemoryDisk>();
        auto file = testing::openOn(disk);
        Tree tree(*file);
        ASSERT_TRUE(tree.insert(keyOf(1), Bytes(10, 'x')).ok());
        ASSERT_TRUE(file->commit().ok());
        ASSERT_TRUE(tree.insert(keyOf(2), Bytes(10, 'y')).ok());
        ASSERT_TRUE(file->prepareCommit().ok());
        EXPECT_TRUE(file->commitPrepared());
        FileHeader onDisk;
        ASSERT_TRUE(decodeHeader(disk->bytes, onDisk).ok());
        EXPECT_LT(onDisk.logStart, onDisk.logEnd) << "the header names the log";
        EXPECT_EQ(onDisk.changeCounter, 1u) << "otherwise it is the previous header";
        ASSERT_TRUE((finish ? file->finishCommit() : file->abandonPreparedCommit()).ok());
        EXPECT_EQ(testing::contentsOf(*file).size(), finish ? 2u : 1u);
        auto reopened = testing::openOn(disk);
        EXPECT_EQ(testing::contentsOf(*reopened).size(), finish ? 2u : 1u);
        testing::expectClean(*reopened);
        EXPECT_EQ(reopened->header().changeCounter, finish ? 2u : 1u);
    }
}

TEST(Commit, ReaderWithoutTheLockCannotCommit) {
    auto disk = std::make_shared<MemoryDisk>();
    DataFileOptions shared;
    shared.exclusive = false;
    auto file = testing::openOn(disk, shared);
    Tree tree(*file);
    ASSERT_TRUE(tree.insert(keyOf(1), {}).ok());
    EXPECT_EQ(file->commit().code(), 63);
    file->setExclusive(true);
    EXPECT_TRUE(file->commit().ok());
}

TEST(EntryKinds, KeysOfEveryKind) {
    EXPECT_EQ(recordKey(0x01020304, 0x0A0B0C0D), (Bytes{1, 2, 3, 4, 0xF3, 0x0A, 0x0B, 0x0C, 0x0D}));
    EXPECT_EQ(metadataKey(7, 0xF3), (Bytes{0, 0, 0, 7, 0xF6, 0xF3}));
    EXPECT_EQ(definitionBlockKey(7, 0x0102), (Bytes{0, 0, 0, 7, 0xFA, 0x02, 0x01}));
    EXPECT_EQ(memoSegmentKey(7, 9, 2, 0x0103),
              (Bytes{0, 0, 0, 7, 0xFC, 0, 0, 0, 9, 2, 0x01, 0x03}));
    EXPECT_EQ(tableNameKey("BOOKS"), (Bytes{0xFE, 'B', 'O', 'O', 'K', 'S'}));
    EXPECT_EQ(pendingLinkKey(), (Bytes{0xFF}));
    EXPECT_EQ(encodeMetadata({3, 0x100}), (Bytes{3, 0, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(encodePendingLink({0x01020304, "c:\\veltrane.tcf"}),
              (Bytes{4,   3,   2,   1,   'c', ':', '\\', 'v', 'e', 'l',
                     't', 'r', 'a', 'n', 'e', '.', 't',  'c', 'f', 0}));
    PendingLink link;
    ASSERT_TRUE(decodePendingLink(encodePendingLink({5, "x.tcf"}), link));
    EXPECT_EQ(link.transaction, 5u);
    EXPECT_EQ(link.controlFile, "x.tcf");
    EXPECT_FALSE(decodePendingLink(Bytes{1, 2, 3, 4, 'x'}, link)) << "no terminator";
}

TEST(EntryKinds, IssuedNumbersCarryTowardsTheFirstByte) {
    struct Case {
        std::uint32_t before;
        bool ok;
        std::uint32_t after;
    };
    for (const Case& c :
         {Case{0, true, 1}, Case{0x000000FF, true, 0x100}, Case{0x00FFFFFF, true, 0x01000000},
          Case{0xFDFFFFFE, true, 0xFDFFFFFF}, Case{0xFDFFFFFF, false, 0xFDFFFFFF}}) {
        std::array<std::uint8_t, 4> n{};
        storeBe32(n.data(), c.before);
        EXPECT_EQ(incrementIssuedNumber(n), c.ok) << c.before;
        EXPECT_EQ(loadBe32(n.data()), c.after) << c.before;
    }
}

TEST(EntryKinds, MemoAndBlobSegments) {
    Bytes memo(600, 'm');
    memo.resize(700, ' ');  // trailing spaces are not stored
    auto segments = splitMemo(memo, false);
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(segments[0].size(), 256u);
    EXPECT_EQ(segments[2].size(), 600u - 512u);
    Bytes joined;
    ASSERT_TRUE(joinMemo(segments, false, joined));
    EXPECT_EQ(joined, Bytes(600, 'm'));

    const Bytes blob(300, 0x20);  // a blob keeps its spaces and leads with its length
    segments = splitMemo(blob, true);
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(Bytes(segments[0].begin(), segments[0].begin() + 4), (Bytes{0x2C, 0x01, 0, 0}));
    EXPECT_EQ(segments[0].size(), 256u);
    EXPECT_EQ(segments[1].size(), 300u + 4u - 256u);
    ASSERT_TRUE(joinMemo(segments, true, joined));
    EXPECT_EQ(joined, blob);
    segments[0][1] = 0x7F;  // a stated length past the segments
    EXPECT_FALSE(joinMemo(segments, true, joined));

    EXPECT_EQ(splitDefinition(Bytes(1025, 1)).size(), 3u);
    EXPECT_EQ(splitDefinition(Bytes(1024, 1)).size(), 2u);
}

// ---- checker findings ------------------------------------------------------------------------

std::shared_ptr<MemoryDisk> bigFile() {
    auto disk = std::make_shared<MemoryDisk>();
    auto file = testing::openOn(disk);
    Tree tree(*file);
    for (int i = 0; i < 800; ++i)
        EXPECT_TRUE(tree.insert(keyOf(i), Bytes(150, static_cast<std::uint8_t>(i))).ok());
    tree.put(metadataKey(1, 0xF3), encodeMetadata({800, 0}));
    EXPECT_TRUE(file->commit().ok());
    return disk;
}

bool mentions(const CheckReport& r, std::string_view text) {
    for (const auto& f : r.findings)
        if (f.find(text) != std::string::npos) return true;
    return false;
}

TEST(Checker, CleanFileHasNoFindings) {
    auto file = testing::openOn(bigFile());
    const CheckReport r = checkDataFile(*file);
    EXPECT_TRUE(r.clean()) << r.text();
    EXPECT_EQ(r.entries, 801u);
    EXPECT_GE(r.depth, 2);
    EXPECT_EQ(r.text(), "no faults found\n");
}

TEST(Checker, WrongSeparatorIsFound) {
    auto disk = bigFile();
    auto file = testing::openOn(disk);
    CachedPage& root = file->page(file->root());
    ASSERT_GT(root.content.level, 0);
    Entry& separator = root.content.entries[1];
    Bytes altered(separator.bytes().begin(), separator.bytes().end());
    altered.back() ^= 1;
    separator = Entry(std::move(altered), separator.keyLength());
    root.changes.replaced(1, root.count());
    file->markChanged(root);
    ASSERT_TRUE(file->commit().ok());
    auto reopened = testing::openOn(disk);
    EXPECT_TRUE(mentions(checkDataFile(*reopened), "differs from the lowest key"));
}

TEST(Checker, MetadataCountIsChecked) {
    auto disk = bigFile();
    auto file = testing::openOn(disk);
    Tree(*file).put(metadataKey(1, 0xF3), encodeMetadata({799, 0}));
    ASSERT_TRUE(file->commit().ok());
    EXPECT_TRUE(mentions(checkDataFile(*file), "metadata counts 799 entries, the tree holds 800"));
    // An incomplete key (build mark set) is not counted.
    Tree(*file).put(metadataKey(1, 0), encodeMetadata({5, 3}));
    ASSERT_TRUE(file->commit().ok());
    EXPECT_FALSE(mentions(checkDataFile(*file), "subject 0:"));
}

TEST(Checker, PaddingAndOrphanPagesAreFound) {
    auto disk = bigFile();
    FileHeader h;
    ASSERT_TRUE(decodeHeader(disk->bytes, h).ok());
    // The root's last byte is padding unless the page is full.
    const std::size_t rootEnd =
        static_cast<std::size_t>(pageOffset(h.root)) + h.classOf(h.root) * kPageUnit - 1;
    ASSERT_EQ(disk->bytes[rootEnd], 0xB0);
    disk->bytes[rootEnd] = 0;
    {
        auto file = testing::openOn(disk);
        EXPECT_TRUE(mentions(checkDataFile(*file), "padding byte"));
    }
    disk->bytes[rootEnd] = 0xB0;
    // One more page of class 59 that nothing references.
    int top = kSizeClasses;
    const std::uint32_t end = h.zoneEnd[top];
    disk->bytes.resize(static_cast<std::size_t>(pageOffset(end + top)), 0xB0);
    storeLe32(&disk->bytes[0x110 + 4 * top], end + top);
    storeLe32(&disk->bytes[0x06], static_cast<std::uint32_t>(pageOffset(end + top)));
    storeLe32(&disk->bytes[0x0A], static_cast<std::uint32_t>(pageOffset(end + top)));
    auto file = testing::openOn(disk);
    EXPECT_TRUE(mentions(checkDataFile(*file), "but the tree reaches"))
        << checkDataFile(*file).text();
}

}  // namespace
}  // namespace quillery::storage
