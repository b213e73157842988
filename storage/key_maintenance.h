// Keeping a table's key entries in step with its records on add, change and delete, and the
// build marks of keys that are brought up to date only by builds.
#pragma once

#include <cstdint>
#include <optional>

#include "storage/table.h"

namespace quillery::storage {

// A record image to maintain the keys for; empty for none (an add has no old image, a delete
// no new one).
using RecordImage = std::optional<ByteView>;

enum class KeyUpdate {
    kEntries,  // insert and delete entries key by key
    kAppend,   // touch no entry: lower every affected key's build mark instead
};

// Error 40 "Creates Duplicate Key" when `newImage` would give a key without duplicates a value
// another record already holds. Changes nothing, so a failing add or change can be refused
// before the file is touched.
Status checkDuplicates(Table& table, RecordImage oldImage, RecordImage newImage,
                       RecordNumber record);

// Brings every key but the run-time ones (flag 0x40) from `oldImage` to `newImage` for
// `record`. Keys with flag 0x20, and every key of an append, only have their build mark
// lowered. A duplicate in a key without duplicates undoes the keys already handled and gives
// error 40.
Status maintainKeys(Table& table, RecordImage oldImage, RecordImage newImage, RecordNumber record,
                    KeyUpdate update = KeyUpdate::kEntries);

}  // namespace quillery::storage
