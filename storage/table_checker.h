// The table-level check: the structural check of the whole data file, then every key entry of
// one table against the record it names and every count against what is stored. Findings are
// readable lines, never a stop at the first fault.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "storage/checker.h"
#include "storage/table.h"

namespace quillery::storage {

struct TableCheckReport {
    std::vector<std::string> findings;
    std::size_t records = 0;              // data records found
    std::vector<std::size_t> keyEntries;  // entries found per key
    // False when the tree itself is damaged (then nothing else was checked) or a record is;
    // faults of keys and counts alone leave both true, and a key build mends them.
    bool structureSound = true;
    bool recordsSound = true;

    bool clean() const { return findings.empty(); }
};

// Checks `table` and the file it lives in: the file's structure first (when that is damaged the
// entries are not walked, since the tree cannot be trusted); then each record's entry in every
// key it belongs to (present, data naming the record), each key entry's record (present, and
// giving exactly that entry), the record count and each key's entry count against their
// metadata, and build marks (a key that is incomplete from some record on). Keys living in
// temporary files are skipped. `keyNames` names the keys in findings; missing names are numbers.
// Requires: no uncommitted changes in the table's file.
TableCheckReport checkTable(Table& table, const std::vector<std::string>& keyNames = {});
// The same with the structural check of the table's file already made.
TableCheckReport checkTable(Table& table, const std::vector<std::string>& keyNames,
                            const CheckReport& structure);

// Whether a finding of the structural check says the tree itself cannot be trusted. Its count
// findings ("table N subject S: metadata counts ...") do not; the table-level check says them
// again with key names.
bool isStructuralFinding(const std::string& finding);

// Sets the record count and the entry count of every complete key to what `report` found, so a
// key build that started from a wrong count leaves a right one. Does nothing when the report
// found the structure or a record damaged.
// Requires: `report` is from checkTable on `table` with nothing changed since, and the caller's
// changing operation bracket on the table's file.
void mendCounts(Table& table, const TableCheckReport& report);

}  // namespace quillery::storage
