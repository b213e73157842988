// The check, the key build with its mended counts, and the figures of a declared file.
#include "storage/file_maintenance.h"

#include "runtime/errors.h"
#include "storage/checker.h"
#include "storage/file_operations.h"
#include "storage/table_checker.h"

namespace quillery {

namespace {

using storage::FileControlBlock;
using storage::OpenTable;
using storage::Status;

// A check lets others read the file but not write it, so it sees one committed state.
constexpr int kCheckMode = storage::AccessMode::kDenyWrite;

void take(const storage::TableCheckReport& table, FileCheckReport& report) {
    report.findings.insert(report.findings.end(), table.findings.begin(), table.findings.end());
    report.structureSound = table.structureSound;
    report.recordsSound = table.recordsSound;
}

std::string withFindings(std::string text, const std::vector<std::string>& findings) {
    for (const std::string& finding : findings)
        text += "\n  " + finding;
    return text;
}

Status checkOpenTable(OpenTable& open, const std::vector<std::string>& keyNames,
                      storage::TableCheckReport& report) {
    return storage::runBracketed(open, false, [&] {
        report = storage::checkTable(*open.table, keyNames);
        return Status::success();
    });
}

// The structural walk of the file a closed block names, made before anything reads its tree.
Status walkPages(const FileControlBlock& block, storage::CheckReport& structure) {
    storage::FileName name;
    QUILLERY_RETURN_IF_ERROR(storage::parseFileName(block.name(), name));
    storage::PageFileOptions options;
    options.mode = kCheckMode;
    options.ownerPassword = std::string(block.declaration().owner);
    std::unique_ptr<storage::PageFile> pageFile;
    QUILLERY_RETURN_IF_ERROR(storage::PageFile::open(name.path, options, pageFile));
    // An empty file holds no table; its check would only find the root it is about to be given.
    if (pageFile->data().fileSize() == 0)
        return Status::error(ErrorCode::kFileNotFound, "the file is empty");
    QUILLERY_RETURN_IF_ERROR(pageFile->begin(false));
    structure = storage::checkDataFile(pageFile->data());
    return pageFile->end(Status::success(), false);
}

Status checkClosedFile(FileControlBlock& block, const std::vector<std::string>& keyNames,
                       FileCheckReport& report) {
    storage::CheckReport structure;
    QUILLERY_RETURN_IF_ERROR(walkPages(block, structure));
    std::vector<std::string> damage;
    for (const std::string& finding : structure.findings)
        if (storage::isStructuralFinding(finding)) damage.push_back(finding);
    if (!damage.empty()) {
        report.findings = std::move(damage);
        report.findings.push_back(
            "key entries and counts were not checked: the file's structure is damaged");
        report.structureSound = false;
        return Status::success();
    }
    QUILLERY_RETURN_IF_ERROR(storage::openFile(block, kCheckMode));
    // The walk above stands for this open's: nobody may write the file while a check has it.
    storage::TableCheckReport table;
    OpenTable& open = *block.open;
    Status checked = storage::runBracketed(open, false, [&] {
        table = storage::checkTable(*open.table, keyNames, structure);
        return Status::success();
    });
    take(table, report);
    Status closed = storage::closeFile(block);
    return checked.ok() ? closed : checked;
}

// A build counts on from the stored entry count, so a wrong count would outlive it: the counts
// are set to what a fresh check finds, and the file must then check sound.
Status mendCounts(OpenTable& open, const std::vector<std::string>& keyNames) {
    storage::TableCheckReport report;
    QUILLERY_RETURN_IF_ERROR(checkOpenTable(open, keyNames, report));
    if (!report.clean()) {
        QUILLERY_RETURN_IF_ERROR(storage::runBracketed(open, true, [&] {
            storage::mendCounts(*open.table, report);
            return Status::success();
        }));
        QUILLERY_RETURN_IF_ERROR(checkOpenTable(open, keyNames, report));
    }
    if (report.clean()) return Status::success();
    return Status::error(
        ErrorCode::kInvalidKeyFile,
        withFindings("the keys are still not sound after the build", report.findings));
}

}  // namespace

Status checkFile(const FileDeclaration& file, const std::vector<std::string>& keyNames,
                 FileCheckReport& report) {
    report = {};
    FileControlBlock& block = storage::controlBlockOf(file);
    if (!block.isOpen()) return checkClosedFile(block, keyNames, report);
    storage::TableCheckReport table;
    QUILLERY_RETURN_IF_ERROR(checkOpenTable(*block.open, keyNames, table));
    take(table, report);
    return Status::success();
}

Status rebuildFileKeys(const FileDeclaration& file, const std::vector<std::string>& keyNames) {
    FileControlBlock& block = storage::controlBlockOf(file);
    QUILLERY_RETURN_IF_ERROR(storage::requireOpen(block));
    // A build reads the records and rewrites the keys; it cannot mend a damaged tree or record,
    // and must not write over one.
    storage::TableCheckReport before;
    QUILLERY_RETURN_IF_ERROR(checkOpenTable(*block.open, keyNames, before));
    if (!before.structureSound || !before.recordsSound) {
        return Status::error(ErrorCode::kInvalidDataFile,
                             withFindings("the file's pages or records are damaged, which a key "
                                          "build cannot mend; nothing was written",
                                          before.findings));
    }
    // Every key from the first record, not only from its build mark, so that stray and missing
    // entries are mended too.
    const bool fullBuild = block.fullBuild;
    block.fullBuild = true;
    const Status built = storage::buildAllKeys(block, false);
    block.fullBuild = fullBuild;
    QUILLERY_RETURN_IF_ERROR(built);
    return mendCounts(*block.open, keyNames);
}

Status fileFigures(const FileDeclaration& file, FileFigures& figures) {
    figures = {};
    FileControlBlock& block = storage::controlBlockOf(file);
    QUILLERY_RETURN_IF_ERROR(storage::requireOpen(block));
    std::uint32_t count = 0;
    QUILLERY_RETURN_IF_ERROR(storage::recordCount(block, count));
    figures.records = count;
    for (std::size_t key = 0; key < block.open->table->keyCount(); ++key) {
        QUILLERY_RETURN_IF_ERROR(storage::keyEntryCount(block, key, count));
        figures.keyEntries.push_back(count);
    }
    OpenTable& open = *block.open;
    return storage::runBracketed(open, false, [&] {
        storage::DataFile& data = open.file->data();
        const storage::FileHeader& header = data.header();
        for (int sizeClass = 1; sizeClass <= storage::kSizeClasses; ++sizeClass) {
            const auto start = header.zoneStart[static_cast<std::size_t>(sizeClass)];
            const auto end = header.zoneEnd[static_cast<std::size_t>(sizeClass)];
            if (end <= start) continue;
            // Page numbers count 256-byte units, and a page of class n takes n of them.
            figures.pagesBySize.push_back(
                {static_cast<std::uint32_t>(sizeClass * storage::kPageUnit),
                 (end - start) / static_cast<std::uint32_t>(sizeClass)});
        }
        figures.fileBytes = data.fileSize();
        return Status::success();
    });
}

}  // namespace quillery
