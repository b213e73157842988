// The records the save loop writes: save number N is a new version of book N % kBooks whose
// every byte follows from N, so a reader can tell a whole record from a torn one without any
// other knowledge.
#pragma once

#include <cstdint>
#include <optional>

#include "app/quillery_record.h"

namespace quillery::durability {

inline constexpr int kBooks = 5;

int bookOf(std::int64_t save);
// The current version written by save `save` (DELETED 0).
QuilleryRecord savedBook(std::int64_t save);
// The save number a record claims to come from (in its ISBN); none for a record the loop
// never writes.
std::optional<std::int64_t> saveNumberOf(const QuilleryRecord& record);
// Whether `record` is exactly what save `save` wrote, leaving aside DELETED, which a later
// save sets.
bool isWholeSave(const QuilleryRecord& record, std::int64_t save);

}  // namespace quillery::durability
