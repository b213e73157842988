// Sequential reading: where the next NEXT or PREVIOUS continues, and the search that finds its
// record. A set only records the starting point; the read does the search.
//
//   state             set by                 NEXT / PREVIOUS reads              state after
//   file start        set to file order      first / last record of the table   file continue
//   file from number  set from a number      that record, else the one after    file continue
//                                            (before) it
//   file continue     a read in file order   the record after / before the      file continue
//                                            current record number
//   key start         set to key order       first / last entry of the key      key continue
//   key continue      a read in key order    the entry after / before the       key continue
//                                            search entry
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "storage/table.h"

namespace quillery::storage {

enum class SequenceKind { kNone, kFileStart, kFileFrom, kFileContinue, kKeyStart, kKeyContinue };
enum class Direction { kNext, kPrevious };

struct SequenceState {
    SequenceKind kind = SequenceKind::kNone;
    std::uint8_t key = 0;   // key order
    RecordNumber from = 0;  // file from number
    Bytes searchEntry;      // key continue: the key of the entry last read
    // The cursor of the last search, left on the entry it found, so that reading on steps from
    // it instead of searching again from the root. Used only while its file has not changed
    // since (same generation) and it still stands on the entry the next search starts from.
    // Shared so that the state stays copyable.
    std::shared_ptr<TreeCursor> cursor;
    const DataFile* cursorFile = nullptr;
    std::uint64_t cursorGeneration = 0;
};

// What a read in sequence found: the record, and in key order the entry that led to it.
struct SequenceHit {
    RecordNumber record = 0;
    Bytes keyEntry;
    // In file order, the record's stored image as the cursor found it; valid until the tree
    // changes or the state's cursor moves. Empty in key order.
    std::optional<ByteView> image;
};

// Finds the record the read in `direction` would take, without reading or moving the sequence
// (only the state's cursor moves). False when the search leaves the table or the key (or
// nothing was set).
bool locateInSequence(Table& table, SequenceState& state, RecordNumber current, Direction direction,
                      SequenceHit& hit);

// The state after a read that took `hit`.
void advanceSequence(SequenceState& state, const SequenceHit& hit);

}  // namespace quillery::storage
