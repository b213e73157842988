// One table of a data file as an open file control block sees it: its number, its stored
// definition, the layouts of its keys, and access to its records, metadata and memos. Keys with
// flag 0x40 live in temporary page files of their own.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "storage/btree.h"
#include "storage/page_file.h"
#include "storage/table_definition.h"
#include "storage/table_definition_declaration.h"

namespace quillery::storage {

// The name a table goes by when the file name does not give one.
inline constexpr std::string_view kUnnamedTable = "UNNAMED";

class Table {
  public:
    // Finds the table's name entry in `file` (error 2 when missing and not creating), or with
    // `create` adds the name entry, the definition blocks and the metadata entries. Then checks
    // the stored definition against `definition` (error 47, or 36 for damaged blocks) and sets
    // up the temporary page files of keys with flag 0x40.
    // Requires: the caller's operation bracket on `file` (a changing one when creating).
    static Status open(PageFile& file, const std::string& name, const TableDefinition& definition,
                       const TableDeclaration& declaration, bool create,
                       std::unique_ptr<Table>& out);

    PageFile& pageFile() { return file_; }
    DataFile& data() { return file_.data(); }
    TableNumber number() const { return number_; }
    const TableDefinition& definition() const { return definition_; }
    std::size_t recordLength() const { return definition_.recordLength; }

    std::size_t keyCount() const { return layouts_.size(); }
    const KeyLayout& layout(std::size_t key) const { return layouts_[key]; }
    std::uint8_t keyFlags(std::size_t key) const { return layouts_[key].flags; }
    bool runtimeKey(std::size_t key) const;
    // The data file a key's entries live in: the table's own, or the key's temporary file.
    DataFile& keyData(std::size_t key);
    PageFile& keyPageFile(std::size_t key);
    // Starts the key's temporary page file afresh, with an empty metadata entry.
    Status resetRuntimeKey(std::size_t key);

    // Records.
    bool readRecord(RecordNumber record, Bytes& image);
    bool recordExists(RecordNumber record);
    void writeRecord(RecordNumber record, ByteView image);
    Status eraseRecord(RecordNumber record);

    // Metadata: subject EntryKind::kRecord for the record count, a key number for a key.
    // False when the entry is missing or damaged.
    bool metadata(std::uint8_t subject, Metadata& out);
    void setMetadata(std::uint8_t subject, const Metadata& m);

    // Memo values, one per declared memo, by record.
    Status writeMemos(RecordNumber record, const std::vector<Bytes>& values);
    Status eraseMemos(RecordNumber record);
    void readMemos(RecordNumber record, std::vector<Bytes>& values);

  private:
    Table(PageFile& file, TableNumber number, TableDefinition definition)
        : file_(file), number_(number), definition_(std::move(definition)) {}

    const Bytes& metadataKeyOf(std::uint8_t subject);

    PageFile& file_;
    TableNumber number_;
    // The metadata entries' keys, made on first use: counts are read and written on every change.
    std::array<Bytes, 256> metadataKeys_;
    TableDefinition definition_;
    std::vector<KeyLayout> layouts_;
    std::vector<std::unique_ptr<PageFile>> runtimeKeys_;  // null for keys in the data file
};

// The scope of a table's records, or of one key's entries.
Scope recordScope(TableNumber table);
Scope keyScope(TableNumber table, std::uint8_t key);

// The record number a key entry's data names; 0 when the data is not 4 bytes.
RecordNumber recordOfKeyEntry(ByteView data);
// The record number in a record entry's key.
RecordNumber recordOfRecordKey(ByteView key);

}  // namespace quillery::storage
