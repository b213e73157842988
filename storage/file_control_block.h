// The file control block: a program's file declaration (static data) and the run-time state of
// its open table. The driver's entry point works on it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "storage/page_file.h"
#include "storage/sequential.h"
#include "storage/table.h"
#include "storage/table_definition_declaration.h"

namespace quillery::storage {

// The state of an open table.
struct OpenTable {
    std::unique_ptr<PageFile> file;
    std::unique_ptr<Table> table;
    int mode = 0;
    RecordNumber current = 0;  // 0: none
    Bytes savedImage;          // the record as last read, for the change check
    Bytes spareImage;          // a buffer for the next read, kept to save allocations
    SequenceState sequence;
    RecordNumber held = 0;  // the record whose hold this file has; 0: none
    bool watched = false;
};

class FileControlBlock {
  public:
    explicit FileControlBlock(const TableDeclaration& declaration) : declaration_(declaration) {}
    FileControlBlock(const FileControlBlock&) = delete;
    FileControlBlock& operator=(const FileControlBlock&) = delete;

    const TableDeclaration& declaration() const { return declaration_; }
    // The program's record buffer.
    std::span<std::uint8_t> record() const {
        return {static_cast<std::uint8_t*>(declaration_.recordBuffer), declaration_.recordLength};
    }
    // The name variable's text without trailing blanks, as the program set it.
    std::string name() const;

    bool isOpen() const { return open != nullptr; }

    std::unique_ptr<OpenTable> open;
    // What the program asked for; kept across opens.
    bool holdRequested = false;
    int holdTimeout = 0;  // seconds a read of a held record is repeated; -1: no limit
    bool watchRequested = false;
    bool fullBuild = false;
    // One value per declared memo, read and written with the record.
    std::vector<Bytes> memos;

  private:
    const TableDeclaration& declaration_;
};

// The run-time state that serves a declaration; one per declaration for the program's life.
FileControlBlock& controlBlockOf(const TableDeclaration& declaration);
// Closes and forgets the state of a declaration that is about to go away (tests and tools that
// declare files at run time). Returns what the close answered: it commits what waits, and that
// may fail.
Status releaseControlBlock(const TableDeclaration& declaration);

}  // namespace quillery::storage
