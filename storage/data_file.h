// One open data file: its header, its page cache, its pending log and its commit. The tree
// (btree.h) works on the pages this class hands out; the file operations above it use the tree,
// the issued numbers and the commit.
//
// File layout:
//   0x000               512-byte header (file_header.h)
//   0x200 + 256 x p     page p (page_codec.h), in the zone of its size class (zones.h)
//   committed end ..    pending log, only while a commit is under way: copies of pages (and of
//                       the header) that belong below the committed end, each block led by its
//                       target offset (u32) and stored length (u16), 256-byte units
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "storage/file_header.h"
#include "storage/file_interface.h"
#include "storage/page_cache.h"
#include "storage/zones.h"

namespace quillery::storage {

// Answers whether the multi-file transaction `transaction` is still recorded in the transaction
// control file `controlFile` (so it never completed and its logs must be discarded).
using TransactionProbe =
    std::function<bool(const std::string& controlFile, std::uint32_t transaction)>;

struct DataFileOptions {
    // Non-empty: every 64-byte block of the file is enciphered with this owner password.
    std::string ownerPassword;
    // The opener holds the file's exclusive lock: it may roll a pending log forward or discard
    // it, and it may commit. Readers without it read through the pending log instead.
    bool exclusive = true;
    // Empty: the control file is opened read-only from disk and searched.
    TransactionProbe transactionProbe;
};

// The default probe: opens the named control file read-only and looks the transaction up.
bool transactionRecorded(const std::string& controlFile, std::uint32_t transaction);

class DataFile final : private PageMover {
  public:
    // Opens a data file over `file`. An empty file gets a fresh header (nothing is written
    // until the first commit). A header shorter than 512 bytes, without the magic or with
    // impossible fields is error 36 "Invalid Data File". A pending log is rolled forward,
    // discarded or read through, as the transaction link and the options say.
    static Status open(std::unique_ptr<File> file, DataFileOptions options,
                       std::unique_ptr<DataFile>& out);
    ~DataFile() override;
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    // Re-reads the header before an access to a shared file. The cache stays when the change
    // counter is unchanged and nothing is pending; otherwise it is dropped and the open
    // procedure runs again. Requires: no uncommitted changes.
    Status refresh();
    void setExclusive(bool exclusive) { options_.exclusive = exclusive; }
    // A commit failed and so did reading the file again: memory holds nothing, and the file
    // must be read (refresh or discardChanges) before it is used.
    bool mustReload() const { return mustReload_; }
    bool exclusive() const { return options_.exclusive; }

    // Issues the next record or table number (1 in a fresh file). Past 0xFDFFFFFF is a fatal
    // fault.
    std::uint32_t issueNumber();

    bool hasChanges() const {
        return !dirty_.empty() || !freed_.empty() || headerChanged_ || keptChanged_;
    }
    std::size_t changedPageCount() const { return dirty_.size(); }

    // The two-step commit: prepare (pages to the pending log, header pointing at it) then
    // finish (pages copied into place, log reset). A failure is reported once; the file is
    // then re-read from disk, so memory never runs ahead of what a reopen would find.
    Status commit();
    Status prepareCommit();
    Status finishCommit();
    // Drops a prepared commit: the header at offset 0 no longer points at the log.
    Status abandonPreparedCommit();
    bool commitPrepared() const { return prepared_; }
    // Pages the last commit wrote, zone moves included (for benchmarks and tools).
    std::size_t lastCommitPageWrites() const { return lastCommitPageWrites_; }
    // Forgets every uncommitted change and re-reads the file.
    Status discardChanges();
    // Commits what is pending and cuts the file at its committed end.
    Status close();

    const FileHeader& header() const { return header_; }
    File& file() { return *file_; }
    bool readingThroughLog() const { return !logMap_.empty(); }

    // Page access for the tree. page() reads and decodes on a miss; a damaged page is a fatal
    // fault. References stay valid until the cache is dropped (refresh, discard, commit failure).
    CachedPage& page(PageNumber p);
    PageNumber root() const { return header_.root; }
    CachedPage& newPage(std::uint8_t level);
    void freePage(CachedPage& page);
    void markChanged(CachedPage& page);
    // Advances whenever page contents or numbers change; cursors re-seek when it moved.
    std::uint64_t generation() const { return generation_; }

    // Entries kept aside. Small entries that nearly every change rewrites (the counts of records
    // and key entries) stay here from their first read and reach the tree once, when a commit
    // starts, instead of costing a search and a rewrite on every change. Only a short entry the
    // tree already holds, rewritten with data of the same length, is kept aside: the tree's
    // shape, and so every page image, comes out as writing through would have made it. Readers
    // of these entries go through readKept; a tree search sees the value of the last commit.
    bool readKept(ByteView key, Bytes& data);
    void writeKept(ByteView key, ByteView data);

    // The descent path of a tree search, shared by the trees over this file so that a search
    // does not allocate. Only one tree operation uses it at a time.
    std::vector<TreeStep>& descentPath() { return descent_; }

    // The stored image of committed page `p` (through the pending log when reading through it),
    // for the structural checker: failures are returned, not fatal.
    Status readStoredPage(PageNumber p, Bytes& image);
    std::uint64_t fileSize();

  private:
    DataFile(std::unique_ptr<File> file, DataFileOptions options);

    Status load(bool keepCacheWhenUnchanged);
    Status adoptPendingLog(const FileHeader& onDisk, std::uint64_t size);
    Status rollForward();
    void startFresh();
    bool onlyFreshRoot() const;
    void resetState();
    void readExact(std::uint64_t offset, std::span<std::uint8_t> out);
    Status readUpTo(std::uint64_t offset, std::span<std::uint8_t> out, std::size_t& got);
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> data);
    void flushFile();
    Status takeWriteError();
    Status failCommit(Status error);

    void putKeptEntries();
    void listChanged(CachedPage& page);
    void placePages();
    void movePage(PageNumber from, PageNumber to) override;
    void renumber(PageNumber from, PageNumber to);
    void updateReference(CachedPage& moved, PageNumber from, PageNumber to);

    std::unique_ptr<File> file_;
    DataFileOptions options_;
    FileHeader header_;      // the current header, with uncommitted changes
    FileHeader diskHeader_;  // the header as committed at offset 0
    PageCache cache_;
    // The changed pages, each once (CachedPage::listed says whether it is here).
    std::vector<CachedPage*> dirty_;
    std::vector<std::pair<PageNumber, int>> freed_;  // committed places of freed pages
    PageNumber nextTemporary_ = -1;
    bool headerChanged_ = false;
    std::uint64_t generation_ = 0;
    // The generation right after a file found empty got its fresh root; 0 otherwise.
    std::uint64_t freshGeneration_ = 0;
    // Target offset -> log position of each block of a pending log being read through.
    std::unordered_map<std::uint64_t, std::uint64_t> logMap_;
    // A prepared commit: the blocks written to the log, to be copied into place.
    bool prepared_ = false;
    std::size_t lastCommitPageWrites_ = 0;
    std::uint64_t preparedEnd_ = 0;
    std::vector<std::pair<std::uint64_t, const Bytes*>> loggedPages_;
    std::array<std::uint8_t, kHeaderSize> loggedHeader_{};
    Status writeError_;
    bool mustReload_ = false;
    // A kept entry: key and data short enough to hold in place, so that finding one is a scan
    // of a few words rather than a search.
    struct KeptEntry {
        std::uint64_t key = 0;  // the key bytes, packed
        std::uint8_t keyLength = 0;
        std::uint8_t dataLength = 0;
        bool changed = false;
        std::array<std::uint8_t, 16> data{};
    };
    static constexpr std::size_t kMaxKeptKey = 8;
    static constexpr std::size_t kMaxKeptData = 16;
    KeptEntry* findKept(ByteView key);
    KeptEntry* keepFromTree(ByteView key);
    std::vector<KeptEntry> kept_;
    bool keptChanged_ = false;
    std::vector<TreeStep> descent_;
};

}  // namespace quillery::storage
