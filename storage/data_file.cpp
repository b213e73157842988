// Opening, refreshing and reading a data file; its pending log when it is read or rolled
// forward; the page access the tree uses.
#include "storage/data_file.h"

#include <algorithm>

#include "runtime/errors.h"
#include "storage/btree.h"
#include "storage/ciphered_file.h"
#include "storage/entry_kinds.h"
#include "storage/posix_file.h"
#include "storage/storage_fault.h"

namespace quillery::storage {
namespace {

FaultCheck faultOf(PageDefect d) {
    switch (d) {
        case PageDefect::kOffsetField:
            return FaultCheck::kPageOffsetField;
        case PageDefect::kSizeAgainstZone:
            return FaultCheck::kPageSizeAgainstZone;
        case PageDefect::kLengths:
            return FaultCheck::kPageHeaderLengths;
        case PageDefect::kDecompression:
            return FaultCheck::kDecompression;
        case PageDefect::kEntryEncoding:
            return FaultCheck::kEntryEncoding;
        case PageDefect::kEntryOrder:
            return FaultCheck::kEntryOrder;
        case PageDefect::kNone:
            break;
    }
    return FaultCheck::kDecodedLength;
}

}  // namespace

bool transactionRecorded(const std::string& controlFile, std::uint32_t transaction) {
    std::unique_ptr<File> file;
    if (!PosixFile::open(controlFile, PosixOpenMode::kReadOnly, file).ok()) return false;
    DataFileOptions options;
    options.exclusive = false;
    options.transactionProbe = [](const std::string&, std::uint32_t) { return false; };
    std::unique_ptr<DataFile> control;
    if (!DataFile::open(std::move(file), options, control).ok()) return false;
    return Tree(*control).find(transactionKey(transaction));
}

DataFile::DataFile(std::unique_ptr<File> file, DataFileOptions options)
    : file_(std::move(file)), options_(std::move(options)) {
    if (!options_.ownerPassword.empty())
        file_ = std::make_unique<CipheredFile>(std::move(file_), options_.ownerPassword);
    if (!options_.transactionProbe) options_.transactionProbe = transactionRecorded;
}

DataFile::~DataFile() = default;

Status DataFile::open(std::unique_ptr<File> file, DataFileOptions options,
                      std::unique_ptr<DataFile>& out) {
    std::unique_ptr<DataFile> opened(new DataFile(std::move(file), std::move(options)));
    QUILLERY_RETURN_IF_ERROR(opened->load(false));
    out = std::move(opened);
    return Status::success();
}

std::uint64_t DataFile::fileSize() {
    std::uint64_t size = 0;
    if (!file_->size(size).ok()) return 0;
    return size;
}

// ---- transfers -------------------------------------------------------------------------------

Status DataFile::readUpTo(std::uint64_t offset, std::span<std::uint8_t> out, std::size_t& got) {
    if (offset % 64 != 0 || out.size() % 64 != 0)
        storageFault(FaultCheck::kTransferNotBlockMultiple);
    return file_->read(offset, out, got);
}

void DataFile::readExact(std::uint64_t offset, std::span<std::uint8_t> out) {
    std::size_t got = 0;
    const Status s = readUpTo(offset, out, got);
    if (!s.ok() || got != out.size()) storageFault(FaultCheck::kShortRead);
}

// A failed write is remembered (the first one wins) and every later write is skipped; the
// failure is reported when the operation ends.
void DataFile::writeAt(std::uint64_t offset, std::span<const std::uint8_t> data) {
    if (offset % 64 != 0 || data.size() % 64 != 0)
        storageFault(FaultCheck::kTransferNotBlockMultiple);
    if (!writeError_.ok()) return;
    Status s = file_->write(offset, data);
    if (!s.ok()) writeError_ = std::move(s);
}

void DataFile::flushFile() {
    if (!writeError_.ok()) return;
    Status s = file_->flush();
    if (!s.ok()) writeError_ = std::move(s);
}

Status DataFile::takeWriteError() {
    return std::exchange(writeError_, Status::success());
}

// ---- open and refresh ------------------------------------------------------------------------

void DataFile::resetState() {
    freshGeneration_ = 0;
    cache_.clear();
    kept_.clear();
    keptChanged_ = false;
    dirty_.clear();
    freed_.clear();
    logMap_.clear();
    nextTemporary_ = -1;
    headerChanged_ = false;
    prepared_ = false;
    loggedPages_.clear();
    ++generation_;
}

// A file that was never committed: an empty root leaf waits under a temporary number.
void DataFile::startFresh() {
    CachedPage& root = newPage(0);
    header_.root = root.number;
}

Status DataFile::load(bool keepCacheWhenUnchanged) {
    std::uint64_t size = 0;
    QUILLERY_RETURN_IF_ERROR(file_->size(size));
    if (size == 0) {
        resetState();
        header_ = diskHeader_ = freshHeader();
        startFresh();
        freshGeneration_ = generation_;
        return Status::success();
    }
    std::array<std::uint8_t, kHeaderSize> bytes{};
    std::size_t got = 0;
    QUILLERY_RETURN_IF_ERROR(readUpTo(0, bytes, got));
    FileHeader onDisk;
    QUILLERY_RETURN_IF_ERROR(decodeHeader(std::span(bytes).first(got), onDisk));
    if (onDisk.logStart != onDisk.logEnd) return adoptPendingLog(onDisk, size);

    QUILLERY_RETURN_IF_ERROR(validateHeader(onDisk, size));
    if (keepCacheWhenUnchanged && logMap_.empty() && !hasChanges() &&
        onDisk.changeCounter == header_.changeCounter && onDisk.changeCounter != 0)
        return Status::success();
    resetState();
    header_ = diskHeader_ = onDisk;
    if (header_.root < 0) startFresh();
    return Status::success();
}

// The header at offset 0 points at a pending log: map its blocks, take the header from the log,
// then roll the log forward, discard it, or read through it.
Status DataFile::adoptPendingLog(const FileHeader& onDisk, std::uint64_t size) {
    if (onDisk.logEnd > size)
        return Status::error(ErrorCode::kInvalidDataFile,
                             "cut short: the file ends before its header says");
    if (onDisk.logStart < kHeaderSize || (onDisk.logStart - kPageAreaOffset) % kPageUnit != 0)
        return Status::error(ErrorCode::kInvalidDataFile, "damaged header: log fields");
    resetState();
    std::unordered_map<std::uint64_t, std::uint64_t> map;
    std::uint64_t at = onDisk.logStart;
    std::array<std::uint8_t, 64> lead{};
    while (at < onDisk.logEnd) {
        readExact(at, lead);
        const std::uint64_t target = loadLe32(&lead[0]);
        const std::size_t stored = loadLe16(&lead[4]);
        const std::uint64_t length = roundUpToUnit(stored);
        const bool headerBlock = target == 0 && stored == kHeaderSize;
        const bool pageBlock = target >= kPageAreaOffset &&
                               (target - kPageAreaOffset) % kPageUnit == 0 &&
                               stored >= kPageHeaderSize && stored <= kMaxPageSize;
        if ((!headerBlock && !pageBlock) || length > onDisk.logEnd - at)
            storageFault(FaultCheck::kPendingLog);
        map[target] = at;
        at += length;
    }
    const auto headerCopy = map.find(0);
    if (headerCopy == map.end()) storageFault(FaultCheck::kPendingLog);
    std::array<std::uint8_t, kHeaderSize> bytes{};
    readExact(headerCopy->second, bytes);
    FileHeader logged;
    if (!decodeHeader(bytes, logged).ok() || !validateHeader(logged, size).ok())
        storageFault(FaultCheck::kPendingLog);
    map.erase(headerCopy);

    header_ = logged;
    diskHeader_ = onDisk;
    logMap_ = std::move(map);
    if (logMap_.empty()) logMap_[0] = 0;  // reading through a log that held only the header

    PendingLink link;
    Bytes linkData;
    const bool linked = header_.root >= 0 && Tree(*this).find(pendingLinkKey(), &linkData) &&
                        decodePendingLink(linkData, link);
    if (linked && options_.transactionProbe(link.controlFile, link.transaction)) {
        // The transaction never completed: forget the log and go on from the old header.
        resetState();
        header_ = onDisk;
        header_.logStart = header_.logEnd = static_cast<std::uint32_t>(header_.committedEnd());
        QUILLERY_RETURN_IF_ERROR(validateHeader(header_, size));
        diskHeader_ = header_;
        if (header_.root < 0) startFresh();
        if (!options_.exclusive) return Status::success();
        const auto reset = encodeHeader(header_);
        writeAt(0, reset);
        flushFile();
        return takeWriteError();
    }
    if (!options_.exclusive) return Status::success();
    return rollForward();
}

// Copies every logged block to its place, makes that durable, and only then resets the log
// fields at offset 0: a crash anywhere in here finds the log still named and rolls again.
Status DataFile::rollForward() {
    Bytes block;
    for (const auto& [target, position] : logMap_) {
        if (target == 0) continue;
        std::array<std::uint8_t, 64> lead{};
        readExact(position, lead);
        block.resize(roundUpToUnit(loadLe16(&lead[4])));
        readExact(position, block);
        writeAt(target, block);
    }
    flushFile();
    header_.logStart = header_.logEnd = static_cast<std::uint32_t>(header_.committedEnd());
    const auto bytes = encodeHeader(header_);
    writeAt(0, bytes);
    flushFile();
    Status s = takeWriteError();
    if (!s.ok()) return s;  // the log stays named on disk; keep reading through it
    logMap_.clear();
    diskHeader_ = header_;
    return Status::success();
}

Status DataFile::refresh() {
    if (mustReload_) return discardChanges();
    if (hasChanges() && !onlyFreshRoot()) return Status::success();
    return load(true);
}

// A file found empty holds nothing but the empty root it starts with, which is not a change of
// this open's own: another open may have committed the file's first state since.
bool DataFile::onlyFreshRoot() const {
    return freshGeneration_ != 0 && generation_ == freshGeneration_ && !headerChanged_ &&
           !keptChanged_ && freed_.empty();
}

// ---- pages -----------------------------------------------------------------------------------

CachedPage& DataFile::page(PageNumber p) {
    if (CachedPage* cached = cache_.find(p)) return *cached;
    if (p < 0) storageFault(FaultCheck::kUnplacedPage);
    const int sizeClass = header_.classOf(p);
    if (sizeClass == 0) storageFault(FaultCheck::kPageOutsideZones, p);
    const std::uint64_t offset = pageOffset(p);
    const auto logged = logMap_.find(offset);
    auto loaded = std::make_unique<CachedPage>();
    loaded->number = p;
    loaded->image.resize(static_cast<std::size_t>(sizeClass) * kPageUnit);
    readExact(logged == logMap_.end() ? offset : logged->second, loaded->image);
    const PageDefect defect = parsePageImage(loaded->image, offset, loaded->content);
    if (defect != PageDefect::kNone) storageFault(faultOf(defect), p);
    loaded->fill = fillMeasure(loaded->content);
    return *cache_.insert(std::move(loaded));
}

CachedPage& DataFile::newPage(std::uint8_t level) {
    auto created = std::make_unique<CachedPage>();
    created->number = nextTemporary_--;
    created->content.level = level;
    created->fill = kPageHeaderSize;
    CachedPage& page = *cache_.insert(std::move(created));
    markChanged(page);
    return page;
}

void DataFile::freePage(CachedPage& page) {
    if (page.number >= 0) freed_.emplace_back(page.number, header_.classOf(page.number));
    if (page.listed) dirty_.erase(std::find(dirty_.begin(), dirty_.end(), &page));
    ++generation_;
    cache_.remove(page.number);
}

void DataFile::markChanged(CachedPage& page) {
    page.contentChanged = true;
    page.needsWrite = true;
    listChanged(page);
    ++generation_;
}

void DataFile::listChanged(CachedPage& page) {
    if (page.listed) return;
    dirty_.push_back(&page);
    page.listed = true;
}

std::uint32_t DataFile::issueNumber() {
    if (!incrementIssuedNumber(header_.lastNumber)) storageFault(FaultCheck::kNumberExhausted);
    headerChanged_ = true;
    return loadBe32(header_.lastNumber.data());
}

// ---- entries kept aside ---------------------------------------------------------------------

namespace {

std::uint64_t packKey(ByteView key) {
    std::uint64_t packed = 0;
    for (const std::uint8_t b : key)
        packed = packed << 8 | b;
    return packed;
}

}  // namespace

DataFile::KeptEntry* DataFile::findKept(ByteView key) {
    if (key.size() > kMaxKeptKey) return nullptr;
    const std::uint64_t packed = packKey(key);
    for (KeptEntry& k : kept_)
        if (k.key == packed && k.keyLength == key.size()) return &k;
    return nullptr;
}

// Takes the tree's entry for `key` aside; null when the tree has none or it is too long to keep.
DataFile::KeptEntry* DataFile::keepFromTree(ByteView key) {
    if (key.size() > kMaxKeptKey) return nullptr;
    thread_local Bytes stored;
    if (!Tree(*this).find(key, &stored) || stored.size() > kMaxKeptData) return nullptr;
    KeptEntry& k = kept_.emplace_back();
    k.key = packKey(key);
    k.keyLength = static_cast<std::uint8_t>(key.size());
    k.dataLength = static_cast<std::uint8_t>(stored.size());
    std::copy(stored.begin(), stored.end(), k.data.begin());
    return &k;
}

bool DataFile::readKept(ByteView key, Bytes& data) {
    const KeptEntry* k = findKept(key);
    if (k == nullptr) k = keepFromTree(key);
    if (k == nullptr) return Tree(*this).find(key, &data);
    data.assign(k->data.begin(), k->data.begin() + k->dataLength);
    return true;
}

void DataFile::writeKept(ByteView key, ByteView data) {
    KeptEntry* k = findKept(key);
    if (k == nullptr) k = keepFromTree(key);
    if (k == nullptr || k->dataLength != data.size()) {
        // A new entry or a new length changes the tree's shape: it goes in at once, and the
        // tree holds the entry from now on.
        if (k != nullptr) kept_.erase(kept_.begin() + (k - kept_.data()));
        Tree(*this).put(key, data);
        return;
    }
    std::copy(data.begin(), data.end(), k->data.begin());
    k->changed = true;
    keptChanged_ = true;
}

void DataFile::putKeptEntries() {
    if (!keptChanged_) return;
    for (KeptEntry& k : kept_) {
        if (!k.changed) continue;
        std::array<std::uint8_t, kMaxKeptKey> key{};
        for (std::size_t i = 0; i < k.keyLength; ++i)
            key[i] = static_cast<std::uint8_t>(k.key >> (8 * (k.keyLength - 1 - i)));
        Tree(*this).put(ByteView(key).first(k.keyLength), ByteView(k.data).first(k.dataLength));
        k.changed = false;
    }
    keptChanged_ = false;
}

Status DataFile::readStoredPage(PageNumber p, Bytes& image) {
    const int sizeClass = header_.classOf(p);
    if (sizeClass == 0)
        return Status::error(ErrorCode::kInvalidDataFile, "page outside every zone");
    const std::uint64_t offset = pageOffset(p);
    const auto logged = logMap_.find(offset);
    image.resize(static_cast<std::size_t>(sizeClass) * kPageUnit);
    std::size_t got = 0;
    QUILLERY_RETURN_IF_ERROR(
        readUpTo(logged == logMap_.end() ? offset : logged->second, image, got));
    if (got != image.size()) return Status::error(ErrorCode::kInvalidDataFile, "short read");
    return Status::success();
}

}  // namespace quillery::storage
