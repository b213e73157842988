// The save loop of the crash runs: saves book after book as the main window does (the shown
// version superseded, the edited one added, in one transaction), and writes "saved N" to
// standard output once the commit of save N has returned, until it is killed. Also the
// verifier the crash runs call after each kill.
//
//   durability_save_loop save FILE     FILE must be a catalogue; saves go on from its last
//   durability_save_loop verify FILE   "last N records R" and exit 0 when every save is whole,
//                                      else the faults and exit 1
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <string>

#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "runtime/errors.h"
#include "storage/file_statements.h"
#include "tests/durability/catalogue_access.h"
#include "tests/durability/save_ledger.h"

namespace quillery::durability {
namespace {

constexpr std::string_view kProgram = "durability_save_loop";
// How long a save waits for the catalogue's lock, as the main window does.
constexpr int kLockWaitSeconds = 1;

// Straight to the descriptor: a line still in a stream's buffer when the kill comes was never
// acknowledged.
bool acknowledge(std::int64_t save) {
    const std::string line = "saved " + std::to_string(save) + "\n";
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// One save: supersede the book's current version (if it has one) and add the new one.
bool save(std::int64_t number, SaveLedger& ledger) {
    const int book = bookOf(number);
    LOGOUT(kLockWaitSeconds, QUILLERY);
    if (statementFailed(kProgram, "cannot begin save " + std::to_string(number))) return false;
    if (ledger.currentVersion[book] != 0) {
        GET(QUILLERY, ledger.currentVersion[book]);
        if (errorCode() == 0) {
            QLY.DELETED = 1;
            PUT(QUILLERY);
        }
        if (statementFailed(kProgram, "cannot supersede book " + std::to_string(book))) {
            ROLLBACK();
            return false;
        }
    }
    QLY = savedBook(number);
    ADD(QUILLERY);
    if (statementFailed(kProgram, "cannot add save " + std::to_string(number))) {
        ROLLBACK();
        return false;
    }
    const std::uint32_t added = POSITION(QUILLERY);
    COMMIT();
    if (statementFailed(kProgram, "cannot commit save " + std::to_string(number))) return false;
    ledger.currentVersion[book] = added;
    ledger.lastSave = number;
    return true;
}

int runSaves(const std::string& path) {
    if (!openCatalogue(kProgram, path, kOpenAlone)) return 3;
    SaveLedger ledger = readSaveLedger();
    for (const std::string& fault : ledger.faults)
        std::cerr << kProgram << ": " << path << ": " << fault << "\n";
    if (!ledger.faults.empty()) return 1;
    for (std::int64_t number = ledger.lastSave + 1;; ++number) {
        if (!save(number, ledger)) return 3;
        if (!acknowledge(number)) return 3;
    }
}

int runVerify(const std::string& path) {
    if (!openCatalogue(kProgram, path, kOpenToRead)) return 3;
    const SaveLedger ledger = readSaveLedger();
    CLOSE(QUILLERY);
    std::cout << "last " << ledger.lastSave << " records " << ledger.records << "\n";
    for (const std::string& fault : ledger.faults)
        std::cout << "  " << fault << "\n";
    return ledger.faults.empty() ? 0 : 1;
}

}  // namespace
}  // namespace quillery::durability

int main(int argc, char** argv) {
    using namespace quillery::durability;
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode == "save") return runSaves(argv[2]);
    if (mode == "verify") return runVerify(argv[2]);
    std::cerr << "usage: " << kProgram << " save|verify CATALOGUE\n";
    return 2;
}
