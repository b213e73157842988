// The file operations the driver's entry point dispatches to, one per operation code. Each works
// on a file control block and returns its error code as a status; none posts anything.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "storage/file_control_block.h"
#include "storage/key_maintenance.h"
#include "storage/sequential.h"

namespace quillery::storage {

// Where a file name leads: the physical file and the table inside it.
struct FileName {
    std::string path;   // with ".VLT" added when it has no extension
    std::string table;  // upper-cased; "UNNAMED" when the name gives none
};
// Splits "path\!table". Error 45 "Invalid Filename" for an empty name or path.
Status parseFileName(std::string_view name, FileName& out);

Status createFile(FileControlBlock& file);
Status openFile(FileControlBlock& file, int mode);
Status closeFile(FileControlBlock& file);
// Drops the open table without a write: changes not yet committed are lost and the file stays
// as it is on disk (a commit cut short is undone at its next open). For a damaged file.
void abandonFile(FileControlBlock& file);

Status addRecord(FileControlBlock& file, KeyUpdate update);
Status putRecord(FileControlBlock& file);
Status deleteRecord(FileControlBlock& file);
Status getByNumber(FileControlBlock& file, std::int64_t record);
Status getByKey(FileControlBlock& file, std::size_t key);

Status setFileOrder(FileControlBlock& file);
Status setFromNumber(FileControlBlock& file, std::int64_t record);
Status setKeyOrder(FileControlBlock& file, std::size_t key);
Status readInSequence(FileControlBlock& file, Direction direction);
// Whether a read in `direction` would find no further record.
Status sequenceEnds(FileControlBlock& file, Direction direction, bool& ends);

Status recordCount(FileControlBlock& file, std::uint32_t& count);
Status keyEntryCount(FileControlBlock& file, std::size_t key, std::uint32_t& count);
Status currentPosition(FileControlBlock& file, std::uint32_t& record);

// Key builds; on a closed file the file is opened for the build (read/write, deny write).
Status buildAllKeys(FileControlBlock& file, bool cutFile);
Status buildOneKey(FileControlBlock& file, std::size_t key);

Status sendOption(FileControlBlock& file, std::string_view option, std::string& reply);

// Reads `record` into the buffer and makes it current: error 35 when it is missing, 43 when
// holds are asked for and another open holds it. `image`, when given, is the record's stored
// image already found by the caller's search, which saves searching for it again.
Status readIntoBuffer(FileControlBlock& file, RecordNumber record,
                      std::optional<ByteView> image = std::nullopt);

// Releases the record hold the file has, if any.
void releaseHold(OpenTable& table);

// Runs `work` inside the file's operation bracket (locks, refresh, commit or discard).
template <class Work>
Status runBracketed(OpenTable& table, bool changing, Work&& work) {
    QUILLERY_RETURN_IF_ERROR(table.file->begin(changing));
    Status result = work();
    return table.file->end(std::move(result), changing);
}

// Error 37 "File Not Open" when the block has no open table.
Status requireOpen(FileControlBlock& file);

}  // namespace quillery::storage
