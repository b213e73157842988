// Reading the save loop's catalogue back and judging it.
#include "tests/durability/save_ledger.h"

#include <algorithm>
#include <map>

#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "runtime/errors.h"
#include "storage/file_statements.h"

namespace quillery::durability {
namespace {

struct Version {
    std::uint32_t record = 0;
    bool superseded = false;
};

// A book's versions must be superseded, then current once, in save order.
void judgeBook(int book, const std::map<std::int64_t, Version>& versions, SaveLedger& ledger) {
    for (auto it = versions.begin(); it != versions.end(); ++it) {
        const bool latest = std::next(it) == versions.end();
        const std::string save =
            "book " + std::to_string(book) + ": save " + std::to_string(it->first);
        if (latest && it->second.superseded)
            ledger.faults.push_back(save + " is superseded, but no later version is there");
        if (!latest && !it->second.superseded)
            ledger.faults.push_back(save + " is still current beside a later version");
        if (latest && !it->second.superseded) ledger.currentVersion[book] = it->second.record;
    }
}

}  // namespace

SaveLedger readSaveLedger() {
    SaveLedger ledger;
    std::array<std::map<std::int64_t, Version>, kBooks> books;
    bool header = true;
    SET(QUILLERY);
    for (;;) {
        NEXT(QUILLERY);
        if (errorCode() == ErrorCode::kRecordNotAvailable) break;
        if (errorCode() != 0) {
            ledger.faults.push_back("reading in file order: " + errorText());
            return ledger;
        }
        if (header) {  // the catalogue's blank first record is no save
            header = false;
            continue;
        }
        ++ledger.records;
        const std::uint32_t record = POSITION(QUILLERY);
        const std::optional<std::int64_t> save = saveNumberOf(QLY);
        if (!save || !isWholeSave(QLY, *save)) {
            ledger.faults.push_back("record " + std::to_string(record) +
                                    " is not a whole save (ISBN \"" + QLY.ISBN.str() + "\")");
            continue;
        }
        const Version version{record, QLY.DELETED != 0};
        if (!books[bookOf(*save)].emplace(*save, version).second)
            ledger.faults.push_back("save " + std::to_string(*save) + " is there twice");
        ledger.lastSave = std::max(ledger.lastSave, *save);
    }
    std::uint64_t saves = 0;
    for (int book = 0; book < kBooks; ++book) {
        judgeBook(book, books[book], ledger);
        saves += books[book].size();
    }
    // Numbers are unique, so saves 1 to lastSave are all there exactly when they count up to it.
    if (saves != static_cast<std::uint64_t>(ledger.lastSave))
        ledger.faults.push_back(std::to_string(ledger.lastSave - static_cast<std::int64_t>(saves)) +
                                " of saves 1 to " + std::to_string(ledger.lastSave) +
                                " are missing");
    return ledger;
}

}  // namespace quillery::durability
