// Rebuilding a key from the table's records: from its build mark (or from the first record with
// the full-build option, or afresh for a run-time key), in batches sorted in a scratch tree and
// merged into the key, writing progress so that an interrupted build resumes from its mark.
#pragma once

#include <cstddef>

#include "storage/table.h"

namespace quillery::storage {

// Changed pages that make a build write its progress and commit.
inline constexpr std::size_t kBuildProgressPages = 40;

// The records one batch sorts: 1,000,000 / (key entry length + 38).
std::size_t buildBatchSize(const KeyLayout& layout);

// Brings `key` up to date. Error 40 "Creates Duplicate Key" when a key without duplicates met
// a value twice; the rest is still built and the key stays incomplete from the lowest such
// record. `commitProgress` allows the build to commit at its progress points.
// Requires: the caller's changing operation bracket on the table's file.
Status buildKey(Table& table, std::size_t key, bool fullBuild, bool commitProgress);

}  // namespace quillery::storage
