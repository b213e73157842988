// Whole-file work for tools that keep a data file from outside the program: the check of a file
// and its table, the key build that also mends the stored counts, and the figures of a file.
// Each works on a file declaration, as the file statements do, and returns its outcome rather
// than posting it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "storage/file_statements.h"
#include "storage/status.h"

namespace quillery {

struct FileCheckReport {
    std::vector<std::string> findings;  // one readable line each
    // False when the file's pages or tree are damaged (the table was then not checked), or a
    // record is. Faults of keys and counts alone leave both true; a key build mends them.
    bool structureSound = true;
    bool recordsSound = true;

    bool clean() const { return findings.empty(); }
};

// Checks the data file of `file` and its table: header, zones and every page, then each record
// against every key entry and each count against what is there. `keyNames` names the keys in
// findings. An open file is checked inside one reading operation. A closed one is opened
// read-only for the check, letting others read but not write, and closed again; its pages are
// walked before its table is opened, so that damaged pages are findings rather than a storage
// fault. An open that fails is returned (error 36 for a bad header, 2 for a file without the
// table).
storage::Status checkFile(const FileDeclaration& file, const std::vector<std::string>& keyNames,
                          FileCheckReport& report);

// Builds every key of `file` again from all its records and sets the stored counts to what is
// there. Refuses with error 36, writing nothing, when the pages or records are damaged (the
// findings follow the message, one per line); error 37 when the file is not open.
// Requires: open for writing.
storage::Status rebuildFileKeys(const FileDeclaration& file,
                                const std::vector<std::string>& keyNames);

struct PageSizeCount {
    std::uint32_t pageBytes = 0;
    std::uint64_t pages = 0;
};

struct FileFigures {
    std::uint64_t records = 0;               // the table's records
    std::vector<std::uint64_t> keyEntries;   // entries of each key
    std::vector<PageSizeCount> pagesBySize;  // smallest size first
    std::uint64_t fileBytes = 0;
};

// The figures of the open `file`; error 37 when it is not open.
storage::Status fileFigures(const FileDeclaration& file, FileFigures& figures);

}  // namespace quillery
