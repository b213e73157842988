// Add, append, change, delete and the gets: the record operations of an open table, with their
// holds and change checks. A failing add or change is refused before anything is written.
#include <algorithm>
#include <cstring>

#include "runtime/errors.h"
#include "storage/file_operations.h"
#include "storage/oem_text.h"

namespace quillery::storage {
namespace {

Status notAvailable() {
    return Status::error(ErrorCode::kRecordNotAvailable, "no current record");
}

// The record number the next add will take, without taking it.
RecordNumber peekNextNumber(DataFile& data) {
    std::array<std::uint8_t, 4> next = data.header().lastNumber;
    if (!incrementIssuedNumber(next)) (void)data.issueNumber();  // the exhausted counter's fault
    return loadBe32(next.data());
}

// The buffer as the table stores it. An OEM table keeps its text in code page 437; `stored` is
// the record's stored image when the buffer replaces it, so fields left as read keep their bytes.
Bytes bufferImage(FileControlBlock& file, ByteView stored = {}) {
    const auto record = file.record();
    Bytes image(file.open->table->recordLength(), 0);
    std::copy_n(record.begin(), std::min(record.size(), image.size()), image.begin());
    if (file.declaration().oem) recordTextToOem(file.open->table->definition(), image, stored);
    return image;
}

// The memo values as the table stores them.
std::vector<Bytes> storedMemos(FileControlBlock& file) {
    if (!file.declaration().oem) return file.memos;
    return memoTextToOem(file.open->table->definition(), file.memos);
}

void adjustRecordCount(Table& table, int delta) {
    Metadata m;
    if (!table.metadata(EntryKind::kRecord, m)) m = {};
    m.count = static_cast<std::uint32_t>(static_cast<std::int64_t>(m.count) + delta);
    table.setMetadata(EntryKind::kRecord, m);
}

// Takes the record's hold for the length of one change unless the file has it already.
class ChangeHold {
  public:
    ChangeHold(OpenTable& open, RecordNumber record) : open_(open), record_(record) {}
    ~ChangeHold() {
        if (taken_) open_.file->locks().release(record_);
    }
    Status take() {
        if (open_.held == record_) return Status::success();
        Status s = open_.file->locks().hold(record_);
        if (!s.ok()) return Status::error(ErrorCode::kAccessDenied, "record held elsewhere");
        taken_ = true;
        return s;
    }

  private:
    OpenTable& open_;
    RecordNumber record_;
    bool taken_ = false;
};

}  // namespace

void releaseHold(OpenTable& open) {
    if (open.held != 0) open.file->locks().release(open.held);
    open.held = 0;
}

// Reads `record` into the buffer: holds it when asked (error 43 when another open holds it),
// updates the saved image and makes it current.
Status readIntoBuffer(FileControlBlock& file, RecordNumber record, std::optional<ByteView> found) {
    OpenTable& open = *file.open;
    // Read into the spare buffer and swap it with the saved image on success, so that reading
    // record after record reuses the two buffers instead of allocating.
    Bytes& image = open.spareImage;
    if (found && record != 0)
        image.assign(found->begin(), found->end());
    else if (record == 0 || !open.table->readRecord(record, image))
        return Status::error(ErrorCode::kRecordNotFound, "record missing");
    if (file.holdRequested && open.held != record) {
        QUILLERY_RETURN_IF_ERROR(open.file->locks().hold(record));
        releaseHold(open);
        open.held = record;
    }
    const auto buffer = file.record();
    std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
    std::copy_n(image.begin(), std::min(image.size(), buffer.size()), buffer.begin());
    open.table->readMemos(record, file.memos);
    // The saved image stays as stored, so the change check compares stored bytes with stored
    // bytes; only the program's copy is converted.
    if (file.declaration().oem) {
        recordTextFromOem(open.table->definition(), buffer);
        memoTextFromOem(open.table->definition(), file.memos);
    }
    open.savedImage.swap(image);
    open.current = record;
    open.watched = file.watchRequested;
    return Status::success();
}

Status addRecord(FileControlBlock& file, KeyUpdate update) {
    QUILLERY_RETURN_IF_ERROR(requireOpen(file));
    OpenTable& open = *file.open;
    return runBracketed(open, true, [&]() -> Status {
        Table& table = *open.table;
        Metadata count;
        if (!table.metadata(EntryKind::kRecord, count))
            return Status::error(ErrorCode::kAccessDenied, "record count entry missing");
        const Bytes image = bufferImage(file);
        const RecordNumber record = peekNextNumber(table.data());
        if (update == KeyUpdate::kEntries)
            QUILLERY_RETURN_IF_ERROR(checkDuplicates(table, std::nullopt, ByteView(image), record));
        if (table.data().issueNumber() != record)
            return Status::error(ErrorCode::kInvalidDataFile, "record numbers");
        QUILLERY_RETURN_IF_ERROR(
            maintainKeys(table, std::nullopt, ByteView(image), record, update));
        table.writeRecord(record, image);
        QUILLERY_RETURN_IF_ERROR(table.writeMemos(record, storedMemos(file)));
        adjustRecordCount(table, +1);
        open.current = record;
        open.savedImage = image;
        return Status::success();
    });
}

Status putRecord(FileControlBlock& file) {
    QUILLERY_RETURN_IF_ERROR(requireOpen(file));
    OpenTable& open = *file.open;
    if (open.current == 0) return notAvailable();
    const RecordNumber record = open.current;
    ChangeHold hold(open, record);
    QUILLERY_RETURN_IF_ERROR(hold.take());
    Status s = runBracketed(open, true, [&]() -> Status {
        Table& table = *open.table;
        Bytes stored;
        if (!table.readRecord(record, stored)) return notAvailable();
        if (open.watched && stored != open.savedImage)
            return Status::error(ErrorCode::kRecordChangedByAnotherStation, "changed");
        const Bytes image = bufferImage(file, stored);
        if (image != stored) {
            QUILLERY_RETURN_IF_ERROR(
                checkDuplicates(table, ByteView(stored), ByteView(image), record));
            QUILLERY_RETURN_IF_ERROR(
                maintainKeys(table, ByteView(stored), ByteView(image), record));
            table.writeRecord(record, image);
        }
        if (!table.definition().memos.empty())
            QUILLERY_RETURN_IF_ERROR(table.writeMemos(record, storedMemos(file)));
        open.savedImage = image;
        return Status::success();
    });
    if (s.ok()) {
        releaseHold(open);
        open.watched = false;
    }
    return s;
}

Status deleteRecord(FileControlBlock& file) {
    QUILLERY_RETURN_IF_ERROR(requireOpen(file));
    OpenTable& open = *file.open;
    if (open.current == 0) return notAvailable();
    const RecordNumber record = open.current;
    ChangeHold hold(open, record);
    QUILLERY_RETURN_IF_ERROR(hold.take());
    Status s = runBracketed(open, true, [&]() -> Status {
        Table& table = *open.table;
        Bytes stored;
        if (!table.readRecord(record, stored)) return notAvailable();
        QUILLERY_RETURN_IF_ERROR(maintainKeys(table, ByteView(stored), std::nullopt, record));
        QUILLERY_RETURN_IF_ERROR(table.eraseRecord(record));
        QUILLERY_RETURN_IF_ERROR(table.eraseMemos(record));
        adjustRecordCount(table, -1);
        return Status::success();
    });
    if (s.ok()) {
        releaseHold(open);
        open.watched = false;
    }
    return s;
}

Status getByNumber(FileControlBlock& file, std::int64_t record) {
    QUILLERY_RETURN_IF_ERROR(requireOpen(file));
    if (record <= 0 || record > kLargestIssuedNumber)
        return Status::error(ErrorCode::kRecordNotFound, "no such record number");
    return runBracketed(*file.open, false,
                        [&] { return readIntoBuffer(file, static_cast<RecordNumber>(record)); });
}

Status getByKey(FileControlBlock& file, std::size_t key) {
    QUILLERY_RETURN_IF_ERROR(requireOpen(file));
    OpenTable& open = *file.open;
    if (key >= open.table->keyCount())
        return Status::error(ErrorCode::kInvalidKeyFile, "no such key");
    return runBracketed(open, false, [&]() -> Status {
        Table& table = *open.table;
        const auto keyNumber = static_cast<std::uint8_t>(key);
        Bytes search;
        if (!buildKeySearchKey(table.number(), keyNumber, table.layout(key), bufferImage(file),
                               EqualValues::kFromStart, search))
            return Status::error(ErrorCode::kRecordNotFound, "key outside record");
        TreeCursor cursor(table.keyData(key));
        if (!ceilingInScope(cursor, keyScope(table.number(), keyNumber), search))
            return Status::error(ErrorCode::kRecordNotFound, "no entry");
        const std::size_t valueEnd = kKeyPrefixLength + table.layout(key).valueLength();
        const ByteView found = cursor.key();
        if (found.size() < valueEnd ||
            !std::equal(search.begin(), search.begin() + static_cast<std::ptrdiff_t>(valueEnd),
                        found.begin()))
            return Status::error(ErrorCode::kRecordNotFound, "no equal entry");
        return readIntoBuffer(file, recordOfKeyEntry(cursor.data()));
    });
}

}  // namespace quillery::storage
