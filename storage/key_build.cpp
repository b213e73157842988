// The key build: batches, merging, progress marks and the duplicate rule.
#include "storage/key_build.h"

#include <algorithm>
#include <memory>

#include "runtime/errors.h"
#include "storage/memory_file.h"

namespace quillery::storage {
namespace {

struct BuildState {
    Table& table;
    std::size_t key;
    std::uint8_t keyNumber;
    DataFile& target;
    PageFile& targetFile;
    bool commitProgress;
    std::uint32_t count = 0;
    RecordNumber lowestDuplicate = 0;
};

RecordNumber lowerMark(RecordNumber a, RecordNumber b) {
    if (a == 0) return b;
    if (b == 0) return a;
    return std::min(a, b);
}

void writeProgress(BuildState& b, RecordNumber resumeFrom) {
    b.table.setMetadata(b.keyNumber, {b.count, lowerMark(resumeFrom, b.lowestDuplicate)});
    // A file marked for deferred commits writes its progress only once enough pages wait.
    if (b.commitProgress) (void)b.targetFile.commitIfDue();
}

// Entries from `start` on that no record gives any more (records deleted or changed since the
// mark was set) would otherwise stay in the key for good; they go before the merge. Returns how
// many entries from `start` on are kept.
std::uint32_t removeStaleEntries(BuildState& b, RecordNumber start) {
    Tree tree(b.target);
    TreeCursor cursor(b.target);
    const Scope scope = keyScope(b.table.number(), b.keyNumber);
    std::vector<Bytes> stale;
    std::uint32_t kept = 0;
    Bytes image;
    for (bool more = firstInScope(cursor, scope); more; more = cursor.next()) {
        if (!inScope(cursor.key(), scope)) break;
        const RecordNumber record = recordOfKeyEntry(cursor.data());
        if (record < start) continue;
        KeyEntry wanted;
        const bool keep = b.table.readRecord(record, image) &&
                          buildKeyEntry(b.table.number(), b.keyNumber, b.table.layout(b.key), image,
                                        record, wanted) == KeyEntryResult::kBuilt &&
                          std::equal(wanted.key.begin(), wanted.key.end(), cursor.key().begin(),
                                     cursor.key().end());
        if (keep) {
            ++kept;
        } else {
            stale.emplace_back(cursor.key().begin(), cursor.key().end());
        }
    }
    for (const Bytes& key : stale)
        if (tree.erase(key).ok() && b.count > 0) --b.count;
    return kept;
}

// Sorts up to one batch of entries, from record `start` on, into `scratch`. Returns the record
// after the last one taken, 0 when the table is exhausted.
RecordNumber fillBatch(BuildState& b, RecordNumber start, std::size_t batchSize,
                       DataFile& scratch) {
    Tree sorted(scratch);
    TreeCursor records(b.table.data());
    const Scope scope = recordScope(b.table.number());
    std::size_t taken = 0;
    for (bool more = ceilingInScope(records, scope, recordKey(b.table.number(), start)); more;
         more = afterInScope(records, scope, Bytes(records.key().begin(), records.key().end()))) {
        const RecordNumber record = recordOfRecordKey(records.key());
        if (taken == batchSize) return record;
        KeyEntry entry;
        if (buildKeyEntry(b.table.number(), b.keyNumber, b.table.layout(b.key), records.data(),
                          record, entry) != KeyEntryResult::kBuilt)
            continue;
        // Equal values of a unique key from two records of one batch: the later one is the
        // duplicate.
        if (!sorted.insert(entry.key, entry.data).ok())
            b.lowestDuplicate = lowerMark(b.lowestDuplicate, record);
        ++taken;
    }
    return 0;
}

void mergeBatch(BuildState& b, DataFile& scratch, RecordNumber batchStart) {
    Tree tree(b.target);
    TreeCursor sorted(scratch);
    Bytes present;
    for (bool more = sorted.seekFirst(); more; more = sorted.next()) {
        const ByteView key = sorted.key();
        const ByteView data = sorted.data();
        if (tree.find(key, &present)) {
            const RecordNumber record = recordOfKeyEntry(data);
            if (recordOfKeyEntry(present) != record)
                b.lowestDuplicate = lowerMark(b.lowestDuplicate, record);
            continue;
        }
        if (!tree.insert(key, data).ok()) continue;
        ++b.count;
        // An interruption here resumes from the batch's start: what was merged is found present.
        if (b.target.changedPageCount() >= kBuildProgressPages) writeProgress(b, batchStart);
    }
}

}  // namespace

std::size_t buildBatchSize(const KeyLayout& layout) {
    return 1000000 / (layout.entryKeyLength() + kRecordNumberLength + 38);
}

Status buildKey(Table& table, std::size_t key, bool fullBuild, bool commitProgress) {
    const auto keyNumber = static_cast<std::uint8_t>(key);
    RecordNumber start = 1;
    if (table.runtimeKey(key)) {
        QUILLERY_RETURN_IF_ERROR(table.resetRuntimeKey(key));
    } else if (!fullBuild) {
        Metadata m;
        if (!table.metadata(keyNumber, m)) m = {};
        if (m.buildMark == 0) return Status::success();
        start = m.buildMark;
    }
    Metadata before;
    if (!table.metadata(keyNumber, before)) before = {};
    BuildState b{table,
                 key,
                 keyNumber,
                 table.keyData(key),
                 table.keyPageFile(key),
                 commitProgress || table.runtimeKey(key)};
    b.count = before.count;
    const std::uint32_t kept = removeStaleEntries(b, start);
    // A build from the first record has seen every entry of the key, so its count no longer
    // depends on a stored count that may be wrong.
    if (start == 1) b.count = kept;

    const std::size_t batchSize = std::max<std::size_t>(1, buildBatchSize(table.layout(key)));
    for (RecordNumber from = start; from != 0;) {
        auto disk = std::make_shared<MemoryDisk>();
        std::unique_ptr<DataFile> scratch;
        QUILLERY_RETURN_IF_ERROR(
            DataFile::open(std::make_unique<MemoryFile>(disk), DataFileOptions{}, scratch));
        const RecordNumber next = fillBatch(b, from, batchSize, *scratch);
        mergeBatch(b, *scratch, from);
        from = next;
        writeProgress(b, next);
    }
    table.setMetadata(keyNumber, {b.count, b.lowestDuplicate});
    if (table.runtimeKey(key)) QUILLERY_RETURN_IF_ERROR(b.targetFile.commitIfDue());
    if (b.lowestDuplicate != 0) {
        // The failed operation would forget what waits; the key and its mark are sound, so a
        // deferred build keeps them.
        if (b.commitProgress && b.targetFile.commitMode() != CommitMode::kHeld)
            (void)b.target.commit();
        return Status::error(ErrorCode::kCreatesDuplicateKey, "duplicates found by the build");
    }
    return Status::success();
}

}  // namespace quillery::storage
