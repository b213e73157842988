// Key maintenance on add, change and delete.
#include "storage/key_maintenance.h"

#include "runtime/errors.h"
#include "storage/storage_fault.h"

namespace quillery::storage {
namespace {

// The entry `image` gives in `key`, built into `out`; false for no image, an optional key's
// empty components, or an image too short for the key.
bool entryOf(Table& table, std::size_t key, RecordImage image, RecordNumber record, KeyEntry& out) {
    return image && buildKeyEntry(table.number(), static_cast<std::uint8_t>(key), table.layout(key),
                                  *image, record, out) == KeyEntryResult::kBuilt;
}

// The entries a record gives in one key before and after a change. Kept between calls so that
// building them reuses the same buffers: key upkeep runs for every key of every change.
struct EntryPair {
    KeyEntry before, after;
    bool hasBefore = false, hasAfter = false;

    void build(Table& table, std::size_t key, RecordImage oldImage, RecordImage newImage,
               RecordNumber record) {
        hasBefore = entryOf(table, key, oldImage, record, before);
        hasAfter = entryOf(table, key, newImage, record, after);
    }
    bool same() const {
        if (!hasBefore || !hasAfter) return hasBefore == hasAfter;
        return before.key == after.key && before.data == after.data;
    }
};

EntryPair& scratchPair() {
    thread_local EntryPair pair;
    return pair;
}

bool updatedByBuildsOnly(Table& table, std::size_t key, KeyUpdate update) {
    return update == KeyUpdate::kAppend || (table.keyFlags(key) & KeyFlag::kIndex) != 0;
}

// Lowers the key's build mark to `record` when the record's entry would change; a mark at or
// below the record already covers it.
void lowerBuildMark(Table& table, std::size_t key, RecordNumber record) {
    const auto subject = static_cast<std::uint8_t>(key);
    Metadata m;
    if (!table.metadata(subject, m)) m = {};
    if (m.buildMark != 0 && record >= m.buildMark) return;
    m.buildMark = record;
    table.setMetadata(subject, m);
}

void adjustCount(Table& table, std::size_t key, int delta) {
    if (delta == 0) return;
    const auto subject = static_cast<std::uint8_t>(key);
    Metadata m;
    if (!table.metadata(subject, m)) m = {};
    m.count = static_cast<std::uint32_t>(static_cast<std::int64_t>(m.count) + delta);
    table.setMetadata(subject, m);
}

// One key from the old image to the new. Error 40 leaves this key untouched.
Status maintainKey(Table& table, std::size_t key, RecordImage oldImage, RecordImage newImage,
                   RecordNumber record, KeyUpdate update) {
    EntryPair& entries = scratchPair();
    entries.build(table, key, oldImage, newImage, record);
    if (entries.same()) return Status::success();
    if (updatedByBuildsOnly(table, key, update)) {
        lowerBuildMark(table, key, record);
        return Status::success();
    }
    Tree tree(table.keyData(key));
    int delta = 0;
    if (entries.hasAfter) {
        const KeyEntry& after = entries.after;
        if (!table.layout(key).allowsDuplicates() && tree.find(after.key)) {
            return Status::error(ErrorCode::kCreatesDuplicateKey, "key " + std::to_string(key));
        }
        QUILLERY_RETURN_IF_ERROR(tree.insert(after.key, after.data));
        ++delta;
    }
    if (entries.hasBefore) {
        Bytes data;
        if (tree.find(entries.before.key, &data) && recordOfKeyEntry(data) == record) {
            QUILLERY_RETURN_IF_ERROR(tree.erase(entries.before.key));
            --delta;
        }
    }
    adjustCount(table, key, delta);
    return Status::success();
}

}  // namespace

Status checkDuplicates(Table& table, RecordImage oldImage, RecordImage newImage,
                       RecordNumber record) {
    EntryPair& entries = scratchPair();
    for (std::size_t key = 0; key < table.keyCount(); ++key) {
        if (table.runtimeKey(key) || table.layout(key).allowsDuplicates()) continue;
        if ((table.keyFlags(key) & KeyFlag::kIndex) != 0) continue;
        entries.build(table, key, oldImage, newImage, record);
        if (!entries.hasAfter || entries.same()) continue;
        Bytes data;
        if (Tree(table.keyData(key)).find(entries.after.key, &data) &&
            recordOfKeyEntry(data) != record)
            return Status::error(ErrorCode::kCreatesDuplicateKey, "key " + std::to_string(key));
    }
    return Status::success();
}

Status maintainKeys(Table& table, RecordImage oldImage, RecordImage newImage, RecordNumber record,
                    KeyUpdate update) {
    for (std::size_t key = 0; key < table.keyCount(); ++key) {
        if (table.runtimeKey(key)) continue;
        Status s = maintainKey(table, key, oldImage, newImage, record, update);
        if (s.ok()) continue;
        // Put back the keys already handled: the same steps with the images swapped. A step that
        // cannot be undone leaves keys that disagree with the records, which nothing may commit.
        for (std::size_t done = 0; done < key; ++done) {
            if (table.runtimeKey(done)) continue;
            if (!maintainKey(table, done, newImage, oldImage, record, update).ok())
                storageFault(FaultCheck::kKeyUndo);
        }
        return s;
    }
    return Status::success();
}

}  // namespace quillery::storage
