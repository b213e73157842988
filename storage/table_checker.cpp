// The table-level check over the structural checker: records against key entries, entries
// against records, and the stored counts against what the walk finds.
#include "storage/table_checker.h"

#include <algorithm>
#include <unordered_set>

#include "storage/btree.h"
#include "storage/checker.h"
#include "storage/key_encoding.h"

namespace quillery::storage {

namespace {

std::string keyLabel(const std::vector<std::string>& names, std::size_t key) {
    std::string label = "key " + std::to_string(key);
    if (key < names.size() && !names[key].empty()) label += " (" + names[key] + ")";
    return label;
}

bool sameBytes(ByteView a, ByteView b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

struct KeyState {
    bool checked = false;        // a key of the data file, not a temporary one
    RecordNumber buildMark = 0;  // 0: complete
    std::size_t expected = 0;    // entries the records call for
};

class Checker {
  public:
    Checker(Table& table, const std::vector<std::string>& names, TableCheckReport& report)
        : table_(table), names_(names), report_(report), keys_(table.keyCount()) {}

    void run() {
        readMarks();
        walkRecords();
        for (std::size_t key = 0; key < keys_.size(); ++key)
            if (keys_[key].checked) walkKey(key);
        compareCounts();
    }

  private:
    void fault(std::string text) { report_.findings.push_back(std::move(text)); }

    void readMarks() {
        for (std::size_t key = 0; key < keys_.size(); ++key) {
            keys_[key].checked = !table_.runtimeKey(key);
            if (!keys_[key].checked) continue;
            Metadata m;
            if (table_.metadata(static_cast<std::uint8_t>(key), m))
                keys_[key].buildMark = m.buildMark;
            if (keys_[key].buildMark != 0) {
                fault(keyLabel(names_, key) + " is incomplete from record " +
                      std::to_string(keys_[key].buildMark) + " on (build mark); rebuild the keys");
            }
        }
    }

    // Entries of records at or past a key's build mark may be missing by design.
    bool expectedComplete(std::size_t key, RecordNumber record) const {
        return keys_[key].buildMark == 0 || record < keys_[key].buildMark;
    }

    void walkRecords() {
        TreeCursor cursor(table_.data());
        const Scope scope = recordScope(table_.number());
        for (bool more = firstInScope(cursor, scope); more && inScope(cursor.key(), scope);
             more = cursor.next()) {
            const RecordNumber record = recordOfRecordKey(cursor.key());
            const Bytes image(cursor.data().begin(), cursor.data().end());
            records_.insert(record);
            ++report_.records;
            if (image.size() != table_.recordLength()) {
                report_.recordsSound = false;
                fault("record " + std::to_string(record) + " holds " +
                      std::to_string(image.size()) + " bytes; its records hold " +
                      std::to_string(table_.recordLength()));
                continue;
            }
            for (std::size_t key = 0; key < keys_.size(); ++key)
                if (keys_[key].checked) checkEntryOf(record, image, key);
        }
    }

    void checkEntryOf(RecordNumber record, const Bytes& image, std::size_t key) {
        KeyEntry wanted;
        const KeyEntryResult built = buildKeyEntry(table_.number(), static_cast<std::uint8_t>(key),
                                                   table_.layout(key), image, record, wanted);
        if (built == KeyEntryResult::kNoEntry) return;
        if (built == KeyEntryResult::kRecordTooShort) {
            report_.recordsSound = false;
            fault("record " + std::to_string(record) + " is too short for " +
                  keyLabel(names_, key));
            return;
        }
        ++keys_[key].expected;
        if (!expectedComplete(key, record)) return;
        Bytes data;
        Tree tree(table_.keyData(key));
        if (!tree.find(wanted.key, &data)) {
            fault("record " + std::to_string(record) + " has no entry in " + keyLabel(names_, key));
        } else if (!sameBytes(data, wanted.data)) {
            fault("the entry of record " + std::to_string(record) + " in " + keyLabel(names_, key) +
                  " names record " + std::to_string(recordOfKeyEntry(data)));
        }
    }

    void walkKey(std::size_t key) {
        TreeCursor cursor(table_.keyData(key));
        const Scope scope = keyScope(table_.number(), static_cast<std::uint8_t>(key));
        std::size_t found = 0;
        Bytes image;
        for (bool more = firstInScope(cursor, scope); more && inScope(cursor.key(), scope);
             more = cursor.next()) {
            ++found;
            const RecordNumber record = recordOfKeyEntry(cursor.data());
            const std::string where = "an entry of " + keyLabel(names_, key);
            if (record == 0) {
                fault(where + " has " + std::to_string(cursor.data().size()) +
                      " bytes of data instead of a record number");
                continue;
            }
            if (!records_.contains(record) || !table_.readRecord(record, image)) {
                fault(where + " names record " + std::to_string(record) + ", which does not exist");
                continue;
            }
            KeyEntry wanted;
            const KeyEntryResult built =
                buildKeyEntry(table_.number(), static_cast<std::uint8_t>(key), table_.layout(key),
                              image, record, wanted);
            if (built != KeyEntryResult::kBuilt) {
                fault(where + " names record " + std::to_string(record) +
                      ", which has no entry in that key");
            } else if (!sameBytes(cursor.key(), wanted.key)) {
                fault(where + " for record " + std::to_string(record) +
                      " does not hold that record's key value");
            }
        }
        report_.keyEntries[key] = found;
    }

    void compareCounts() {
        Metadata m;
        if (!table_.metadata(EntryKind::kRecord, m)) {
            fault("the record count of the table is missing or damaged");
        } else if (m.count != report_.records) {
            fault("the record count says " + std::to_string(m.count) + "; the table holds " +
                  std::to_string(report_.records) + " records");
        }
        for (std::size_t key = 0; key < keys_.size(); ++key) {
            if (!keys_[key].checked) continue;
            const std::size_t found = report_.keyEntries[key];
            if (!table_.metadata(static_cast<std::uint8_t>(key), m)) {
                fault("the entry count of " + keyLabel(names_, key) + " is missing or damaged");
                continue;
            }
            if (m.count != found) {
                fault("the entry count of " + keyLabel(names_, key) + " says " +
                      std::to_string(m.count) + "; the key holds " + std::to_string(found));
            }
            if (keys_[key].buildMark == 0 && found != keys_[key].expected) {
                fault(keyLabel(names_, key) + " holds " + std::to_string(found) +
                      " entries; its records call for " + std::to_string(keys_[key].expected));
            }
        }
    }

    Table& table_;
    const std::vector<std::string>& names_;
    TableCheckReport& report_;
    std::vector<KeyState> keys_;
    std::unordered_set<RecordNumber> records_;
};

}  // namespace

bool isStructuralFinding(const std::string& finding) {
    return !finding.starts_with("table ") ||
           finding.find(": metadata counts ") == std::string::npos;
}

TableCheckReport checkTable(Table& table, const std::vector<std::string>& keyNames) {
    return checkTable(table, keyNames, checkDataFile(table.data()));
}

TableCheckReport checkTable(Table& table, const std::vector<std::string>& keyNames,
                            const CheckReport& structure) {
    TableCheckReport report;
    report.keyEntries.assign(table.keyCount(), 0);
    bool treeSound = true;
    for (const std::string& finding : structure.findings) {
        if (!isStructuralFinding(finding)) continue;
        report.findings.push_back(finding);
        treeSound = false;
    }
    if (!treeSound) {
        report.structureSound = false;
        report.findings.push_back(
            "key entries and counts were not checked: the file's structure is damaged");
        return report;
    }
    Checker(table, keyNames, report).run();
    return report;
}

void mendCounts(Table& table, const TableCheckReport& report) {
    if (!report.structureSound || !report.recordsSound) return;
    const auto mend = [&](std::uint8_t subject, std::size_t found) {
        Metadata m;
        if (!table.metadata(subject, m)) m = {};
        if (m.count == found) return;
        m.count = static_cast<std::uint32_t>(found);
        table.setMetadata(subject, m);
    };
    mend(EntryKind::kRecord, report.records);
    for (std::size_t key = 0; key < table.keyCount() && key < report.keyEntries.size(); ++key) {
        Metadata m;
        if (table.runtimeKey(key)) continue;
        if (table.metadata(static_cast<std::uint8_t>(key), m) && m.buildMark != 0) continue;
        mend(static_cast<std::uint8_t>(key), report.keyEntries[key]);
    }
}

}  // namespace quillery::storage
