// The searches of sequential reading in file order and in key order.
#include "storage/sequential.h"

namespace quillery::storage {
namespace {

bool recordAt(TreeCursor& cursor, SequenceHit& hit) {
    hit.record = recordOfRecordKey(cursor.key());
    hit.keyEntry.clear();
    hit.image = cursor.data();
    return true;
}

// The state's cursor when it can step on from `anchor`: made on `file`, nothing changed in the
// file since it was left, and still standing on `anchor`. Null otherwise.
TreeCursor* cursorOn(SequenceState& state, DataFile& file, ByteView anchor) {
    if (!state.cursor || state.cursorFile != &file) return nullptr;
    if (file.generation() != state.cursorGeneration || !state.cursor->valid()) return nullptr;
    if (compareBytes(state.cursor->key(), anchor) != 0) return nullptr;
    return state.cursor.get();
}

// A cursor on `file` for a fresh search: the state's own, so that it can be stepped from later.
TreeCursor& searchCursor(SequenceState& state, DataFile& file) {
    if (!state.cursor || state.cursorFile != &file) {
        state.cursor = std::make_shared<TreeCursor>(file);
        state.cursorFile = &file;
    }
    return *state.cursor;
}

// One step from a cursor on the last entry read; false when it leaves `scope`.
bool step(TreeCursor& cursor, const Scope& scope, bool forward) {
    const bool moved = forward ? cursor.next() : cursor.previous();
    return moved && inScope(cursor.key(), scope);
}

bool locateInFile(Table& table, SequenceState& state, RecordNumber current, bool forward,
                  SequenceHit& hit) {
    DataFile& file = table.data();
    const Scope scope = recordScope(table.number());
    bool found = false;
    if (state.kind == SequenceKind::kFileContinue) {
        const Bytes at = recordKey(table.number(), current);
        if (TreeCursor* cursor = cursorOn(state, file, at)) {
            found = step(*cursor, scope, forward);
        } else {
            TreeCursor& fresh = searchCursor(state, file);
            found = forward ? afterInScope(fresh, scope, at) : strictFloorInScope(fresh, scope, at);
        }
    } else {
        TreeCursor& cursor = searchCursor(state, file);
        if (state.kind == SequenceKind::kFileStart) {
            found = forward ? firstInScope(cursor, scope) : lastInScope(cursor, scope);
        } else {
            const Bytes from = recordKey(table.number(), state.from);
            found = forward ? ceilingInScope(cursor, scope, from)
                            : (exactInScope(cursor, scope, from) ||
                               strictFloorInScope(cursor, scope, from));
        }
    }
    state.cursorGeneration = file.generation();
    return found && recordAt(*state.cursor, hit);
}

bool locateInKey(Table& table, SequenceState& state, bool forward, SequenceHit& hit) {
    if (state.key >= table.keyCount()) return false;
    const Scope scope = keyScope(table.number(), state.key);
    DataFile& file = table.keyData(state.key);
    // A run-time key's file is replaced by each build, so a cursor kept on it could outlive it.
    std::unique_ptr<TreeCursor> local;
    TreeCursor* cursor = nullptr;
    bool found = false;
    bool stepped = false;
    if (table.runtimeKey(state.key)) {
        local = std::make_unique<TreeCursor>(file);
        cursor = local.get();
    } else if (state.kind == SequenceKind::kKeyContinue &&
               (cursor = cursorOn(state, file, state.searchEntry)) != nullptr) {
        found = step(*cursor, scope, forward);
        stepped = true;
    } else {
        cursor = &searchCursor(state, file);
    }
    if (!stepped) {
        if (state.kind == SequenceKind::kKeyStart) {
            found = forward ? firstInScope(*cursor, scope) : lastInScope(*cursor, scope);
        } else {
            found = forward ? afterInScope(*cursor, scope, state.searchEntry)
                            : strictFloorInScope(*cursor, scope, state.searchEntry);
        }
    }
    if (!local) state.cursorGeneration = file.generation();
    if (!found) return false;
    hit.record = recordOfKeyEntry(cursor->data());
    hit.image.reset();
    hit.keyEntry.assign(cursor->key().begin(), cursor->key().end());
    return true;
}

}  // namespace

bool locateInSequence(Table& table, SequenceState& state, RecordNumber current, Direction direction,
                      SequenceHit& hit) {
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
