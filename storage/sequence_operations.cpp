// Positioning, sequential reading, the beginning and end tests and the counts of an open table.
#include "runtime/errors.h"
#include "storage/file_operations.h"

namespace quillery::storage {
namespace {

Status checkKey(OpenTable& open, std::size_t key) {
    if (key >= open.table->keyCount())
        return Status::error(ErrorCode::kInvalidKeyFile, "no such key");
    return Status::success();
}

}  // namespace

Status setFileOrder(FileControlBlock& file) {
    QUILLERY_RETURN_IF_ERROR(requireOpen(file));
    file.open->sequence = SequenceState{};
    file.open->sequence.kind = SequenceKind::kFileStart;
    return Status::success();
}

Status setFromNumber(FileControlBlock& file, std::int64_t record) {
    QUILLERY_RETURN_IF_ERROR(requireOpen(file));
    if (record <= 0) return setFileOrder(file);
    SequenceState state;
    state.kind = SequenceKind::kFileFrom;
    state.from = static_cast<RecordNumber>(std::min<std::int64_t>(record, 0xFFFFFFFF));
    file.open->sequence = state;
    return Status::success();
}

Status setKeyOrder(FileControlBlock& file, std::size_t key) {
    QUILLERY_RETURN_IF_ERROR(requireOpen(file));
    QUILLERY_RETURN_IF_ERROR(checkKey(*file.open, key));
    SequenceState state;
    state.kind = SequenceKind::kKeyStart;
    state.key = static_cast<std::uint8_t>(key);
    file.open->sequence = state;
    return Status::success();
}

Status readInSequence(FileControlBlock& file, Direction direction) {
    QUILLERY_RETURN_IF_ERROR(requireOpen(file));
    OpenTable& open = *file.open;
    return runBracketed(open, false, [&]() -> Status {
        SequenceHit hit;
        if (!locateInSequence(*open.table, open.sequence, open.current, direction, hit))
            return Status::error(ErrorCode::kRecordNotAvailable, "end of sequence");
        QUILLERY_RETURN_IF_ERROR(readIntoBuffer(file, hit.record, hit.image));
        advanceSequence(open.sequence, hit);
        return Status::success();
    });
}

Status sequenceEnds(FileControlBlock& file, Direction direction, bool& ends) {
    QUILLERY_RETURN_IF_ERROR(requireOpen(file));
    OpenTable& open = *file.open;
    return runBracketed(open, false, [&] {
        SequenceHit hit;
        ends = !locateInSequence(*open.table, open.sequence, open.current, direction, hit);
        return Status::success();
    });
}

Status recordCount(FileControlBlock& file, std::uint32_t& count) {
    QUILLERY_RETURN_IF_ERROR(requireOpen(file));
    OpenTable& open = *file.open;
    return runBracketed(open, false, [&] {
        Metadata m;
        count = open.table->metadata(EntryKind::kRecord, m) ? m.count : 0;
        return Status::success();
    });
}

Status keyEntryCount(FileControlBlock& file, std::size_t key, std::uint32_t& count) {
    QUILLERY_RETURN_IF_ERROR(requireOpen(file));
    OpenTable& open = *file.open;
    QUILLERY_RETURN_IF_ERROR(checkKey(open, key));
    return runBracketed(open, false, [&] {
        Metadata m;
        count = open.table->metadata(static_cast<std::uint8_t>(key), m) ? m.count : 0;
        return Status::success();
    });
}

Status currentPosition(FileControlBlock& file, std::uint32_t& record) {
    QUILLERY_RETURN_IF_ERROR(requireOpen(file));
    record = file.open->current;
    return Status::success();
}

}  // namespace quillery::storage
