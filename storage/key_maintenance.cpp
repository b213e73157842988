// Key maintenance on add, change and delete.
#include "storage/key_maintenance.h"

#include "runtime/errors.h"

namespace quillery::storage {
namespace {

// The entry `image` gives in `key`; none for no image, an optional key's empty components, or
// an image too short for the key.
std::optional<KeyEntry> entryOf(Table& table, std::size_t key, RecordImage image,
                                RecordNumber record) {
    if (!image) return std::nullopt;
    KeyEntry entry;
    if (buildKeyEntry(table.number(), static_cast<std::uint8_t>(key), table.layout(key), *image,
                      record, entry) != KeyEntryResult::kBuilt)
        return std::nullopt;
    return entry;
}

bool sameEntry(const std::optional<KeyEntry>& a, const std::optional<KeyEntry>& b) {
    if (!a || !b) return !a && !b;
    return a->key == b->key && a->data == b->data;
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
    const std::optional<KeyEntry> before = entryOf(table, key, oldImage, record);
    const std::optional<KeyEntry> after = entryOf(table, key, newImage, record);
    if (sameEntry(before, after)) return Status::success();
    if (updatedByBuildsOnly(table, key, update)) {
        lowerBuildMark(table, key, record);
        return Status::success();
    }
    Tree tree(table.keyData(key));
    int delta = 0;
    if (after) {
        if (!table.layout(key).allowsDuplicates() && tree.find(after->key)) {
            return Status::error(ErrorCode::kCreatesDuplicateKey, "key " + std::to_string(key));
        }
        QUILLERY_RETURN_IF_ERROR(tree.insert(after->key, after->data));
        ++delta;
    }
    if (before) {
        Bytes data;
        if (tree.find(before->key, &data) && recordOfKeyEntry(data) == record) {
            (void)tree.erase(before->key);
            --delta;
        }
    }
    adjustCount(table, key, delta);
    return Status::success();
}

}  // namespace

Status checkDuplicates(Table& table, RecordImage oldImage, RecordImage newImage,
                       RecordNumber record) {
    for (std::size_t key = 0; key < table.keyCount(); ++key) {
        if (table.runtimeKey(key) || table.layout(key).allowsDuplicates()) continue;
        if ((table.keyFlags(key) & KeyFlag::kIndex) != 0) continue;
        const std::optional<KeyEntry> before = entryOf(table, key, oldImage, record);
        const std::optional<KeyEntry> after = entryOf(table, key, newImage, record);
        if (!after || sameEntry(before, after)) continue;
        Bytes data;
        if (Tree(table.keyData(key)).find(after->key, &data) && recordOfKeyEntry(data) != record)
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
        // Put back the keys already handled: the same steps with the images swapped.
        for (std::size_t done = 0; done < key; ++done) {
            if (table.runtimeKey(done)) continue;
            (void)maintainKey(table, done, newImage, oldImage, record, update);
        }
        return s;
    }
    return Status::success();
}

}  // namespace quillery::storage
