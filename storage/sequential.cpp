// The searches of sequential reading in file order and in key order.
#include "storage/sequential.h"

namespace quillery::storage {
namespace {

bool recordAt(TreeCursor& cursor, SequenceHit& hit) {
    hit.record = recordOfRecordKey(cursor.key());
    hit.keyEntry.clear();
    return true;
}

bool locateInFile(Table& table, const SequenceState& state, RecordNumber current, bool forward,
                  SequenceHit& hit) {
    TreeCursor cursor(table.data());
    const Scope scope = recordScope(table.number());
    bool found = false;
    switch (state.kind) {
        case SequenceKind::kFileStart:
            found = forward ? firstInScope(cursor, scope) : lastInScope(cursor, scope);
            break;
        case SequenceKind::kFileFrom: {
            const Bytes from = recordKey(table.number(), state.from);
            found = forward ? ceilingInScope(cursor, scope, from)
                            : (exactInScope(cursor, scope, from) ||
                               strictFloorInScope(cursor, scope, from));
            break;
        }
        default: {
            const Bytes at = recordKey(table.number(), current);
            found =
                forward ? afterInScope(cursor, scope, at) : strictFloorInScope(cursor, scope, at);
            break;
        }
    }
    return found && recordAt(cursor, hit);
}

bool locateInKey(Table& table, const SequenceState& state, bool forward, SequenceHit& hit) {
    if (state.key >= table.keyCount()) return false;
    TreeCursor cursor(table.keyData(state.key));
    const Scope scope = keyScope(table.number(), state.key);
    bool found = false;
    if (state.kind == SequenceKind::kKeyStart) {
        found = forward ? firstInScope(cursor, scope) : lastInScope(cursor, scope);
    } else {
        found = forward ? afterInScope(cursor, scope, state.searchEntry)
                        : strictFloorInScope(cursor, scope, state.searchEntry);
    }
    if (!found) return false;
    hit.record = recordOfKeyEntry(cursor.data());
    hit.keyEntry.assign(cursor.key().begin(), cursor.key().end());
    return true;
}

}  // namespace

bool locateInSequence(Table& table, const SequenceState& state, RecordNumber current,
                      Direction direction, SequenceHit& hit) {
    const bool forward = direction == Direction::kNext;
    switch (state.kind) {
        case SequenceKind::kNone:
            return false;
        case SequenceKind::kFileStart:
        case SequenceKind::kFileFrom:
        case SequenceKind::kFileContinue:
            return locateInFile(table, state, current, forward, hit);
        case SequenceKind::kKeyStart:
        case SequenceKind::kKeyContinue:
            return locateInKey(table, state, forward, hit);
    }
    return false;
}

void advanceSequence(SequenceState& state, const SequenceHit& hit) {
    switch (state.kind) {
        case SequenceKind::kFileStart:
        case SequenceKind::kFileFrom:
        case SequenceKind::kFileContinue:
            state.kind = SequenceKind::kFileContinue;
            break;
        case SequenceKind::kKeyStart:
        case SequenceKind::kKeyContinue:
            state.kind = SequenceKind::kKeyContinue;
            state.searchEntry = hit.keyEntry;
            break;
        case SequenceKind::kNone:
            break;
    }
}

}  // namespace quillery::storage
