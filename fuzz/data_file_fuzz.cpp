// libFuzzer target: arbitrary bytes opened as a data file, then read completely and checked.
// The fatal report is turned into an exception so that a structural fault ends one input, not
// the fuzzing run; anything else that goes wrong is a crash the sanitizers report.
// Seeded with real catalogues (fuzz/corpus/data_file), so inputs get past the header.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "runtime/fatal.h"
#include "runtime/runtime_options.h"
#include "storage/btree.h"
#include "storage/checker.h"
#include "storage/data_file.h"
#include "storage/memory_file.h"

namespace {

using namespace quillery;
using namespace quillery::storage;

void installCatchableFatalReport() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    RuntimeOptions options;
    options.fatalReporter = [](const std::string&) {};
    options.programEnd = [](int code) { throw ProgramEnded{code}; };
    setRuntimeOptions(options);
}

void walk(DataFile& file) {
    TreeCursor cursor(file);
    std::size_t forwards = 0;
    for (bool more = cursor.seekFirst(); more; more = cursor.next())
        ++forwards;
    std::size_t backwards = 0;
    for (bool more = cursor.seekLast(); more; more = cursor.previous())
        ++backwards;
    if (forwards != backwards) std::abort();
    checkDataFile(file);
    // A change and a commit over whatever was read must not go wrong either.
    Tree tree(file);
    const std::uint8_t key[] = {0, 0, 0, 1, 0xF3, 0, 0, 0, 1};
    tree.put(key, key);
    if (file.commit().ok()) checkDataFile(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    installCatchableFatalReport();
    // The first byte chooses an owner password, so enciphered files are explored too.
    const bool enciphered = size > 0 && (data[0] & 1) != 0;
    auto disk = std::make_shared<MemoryDisk>();
    if (size > 1) disk->bytes.assign(data + 1, data + size);
    DataFileOptions options;
    if (enciphered) options.ownerPassword = "fuzz";
    options.transactionProbe = [](const std::string&, std::uint32_t t) { return (t & 1) != 0; };
    try {
        std::unique_ptr<DataFile> file;
        if (!DataFile::open(std::make_unique<MemoryFile>(disk), options, file).ok()) return 0;
        walk(*file);
    } catch (const ProgramEnded&) {
    }
    return 0;
}
