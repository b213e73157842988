// The catalogue store over the storage engine: the file statements on `QUILLERY` with
// `QUILLERYFILE` naming the file, and the table-level check on the open table behind them.
#include <filesystem>
#include <string>

#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "app/tools/catalogue_store.h"
#include "runtime/errors.h"
#include "storage/file_control_block.h"
#include "storage/file_locks.h"
#include "storage/file_operations.h"
#include "storage/file_statements.h"
#include "storage/table_checker.h"

namespace quillery::tools {

namespace {

namespace Mode = storage::AccessMode;

// Writers keep the file to themselves; readers let nobody write under them, so a check or an
// export sees one committed state throughout.
constexpr int kReadWriteMode = 0x02 | Mode::kDenyAll;
constexpr int kReadOnlyMode = Mode::kDenyWrite;
// How long a transaction waits for the file's lock.
constexpr int kLockWaitSeconds = 1;

// The file name variable holds this much; a longer path would name another file.
StoreStatus checkPath(const std::string& path) {
    if (path.size() <= kQuilleryFileNameLength) return {};
    return {ErrorCode::kInvalidFilename,
            "the path is longer than " + std::to_string(kQuilleryFileNameLength) + " characters"};
}

// The outcome of the statement just run, from the current error.
StoreStatus statementStatus() {
    if (errorCode() == 0) return {};
    return {errorCode(), errorText()};
}

std::vector<std::string> keyNames() {
    std::vector<std::string> names;
    for (const storage::KeyDeclaration& key : QUILLERY.keys)
        names.emplace_back(key.name);
    return names;
}

class FileCatalogueStore final : public CatalogueStore {
  public:
    ~FileCatalogueStore() override { close(); }

    StoreStatus create(const std::string& path) override {
        if (StoreStatus status = checkPath(path); !status.ok()) return status;
        std::error_code error;
        if (std::filesystem::exists(path, error))
            return {ErrorCode::kAccessDenied, "the file exists already"};
        QUILLERYFILE = path;
        CREATE(QUILLERY);
        if (StoreStatus status = statementStatus(); !status.ok()) return status;
        return open(path, StoreAccess::kReadWrite);
    }

    StoreStatus open(const std::string& path, StoreAccess access) override {
        close();
        if (StoreStatus status = checkPath(path); !status.ok()) return status;
        QUILLERYFILE = path;
        OPEN(QUILLERY, access == StoreAccess::kReadWrite ? kReadWriteMode : kReadOnlyMode);
        StoreStatus status = statementStatus();
        open_ = status.ok();
        return status;
    }

    void close() override {
        if (!open_) return;
        if (inTransaction_) rollback();
        CLOSE(QUILLERY);
        open_ = false;
    }

    StoreStatus begin() override {
        LOGOUT(kLockWaitSeconds, QUILLERY);
        StoreStatus status = statementStatus();
        inTransaction_ = status.ok();
        return status;
    }
    StoreStatus commit() override {
        COMMIT();
        inTransaction_ = false;
        return statementStatus();
    }
    void rollback() override {
        ROLLBACK();
        inTransaction_ = false;
    }

    StoreStatus add(const QuilleryRecord& record) override {
        QLY = record;
        ADD(QUILLERY);
        return statementStatus();
    }

    StoreStatus forEachInFileOrder(const RecordVisitor& visit) override {
        SET(QUILLERY);
        return readOn(visit);
    }
    StoreStatus forEachByKey(QuilleryKey key, const RecordVisitor& visit) override {
        SET(keyOf(QUILLERY, key));
        return readOn(visit);
    }

    StoreStatus check(std::vector<std::string>& faults) override {
        storage::Table* table = openTable();
        if (table == nullptr) return notOpen();
        const storage::TableCheckReport report = storage::checkTable(*table, keyNames());
        faults.insert(faults.end(), report.findings.begin(), report.findings.end());
        return {};
    }

    StoreStatus rebuildKeys() override {
        storage::Table* table = openTable();
        if (table == nullptr) return notOpen();
        // A build reads the records and rewrites the keys; it cannot mend a damaged tree or
        // record, and must not write over one.
        const storage::TableCheckReport report = storage::checkTable(*table, keyNames());
        if (!report.structureSound || !report.recordsSound) {
            std::string text =
                "the file's pages or records are damaged, which a key build cannot mend; "
                "nothing was written";
            for (const std::string& finding : report.findings)
                text += "\n  " + finding;
            return {ErrorCode::kInvalidDataFile, text};
        }
        // Every key from the first record, not only from its build mark, so that stray and
        // missing entries are mended too.
        const std::string before = SEND(QUILLERY, "FULLBUILD");
        (void)SEND(QUILLERY, "FULLBUILD=ON");
        BUILD(QUILLERY);
        StoreStatus status = statementStatus();
        (void)SEND(QUILLERY, "FULLBUILD=" + before);
        if (!status.ok()) return status;
        return mendCounts(*table);
    }

    StoreStatus info(CatalogueInfo& info) override {
        storage::Table* table = openTable();
        if (table == nullptr) return notOpen();
        info.records = RECORDS(QUILLERY);
        for (std::size_t key = 0; key < kQuilleryKeyCount; ++key)
            info.keyEntries[key] = RECORDS(keyOf(QUILLERY, key));
        storage::DataFile& data = table->data();
        const storage::FileHeader& header = data.header();
        info.pagesBySize.clear();
        for (int sizeClass = 1; sizeClass <= storage::kSizeClasses; ++sizeClass) {
            const auto start = header.zoneStart[static_cast<std::size_t>(sizeClass)];
            const auto end = header.zoneEnd[static_cast<std::size_t>(sizeClass)];
            if (end <= start) continue;
            // Page numbers count 256-byte units, and a page of class n takes n of them.
            info.pagesBySize.push_back({static_cast<std::uint32_t>(sizeClass * storage::kPageUnit),
                                        (end - start) / static_cast<std::uint32_t>(sizeClass)});
        }
        info.fileBytes = data.fileSize();
        return {};
    }

  private:
    // Reads on from the sequence just set until it leaves the file or the key.
    StoreStatus readOn(const RecordVisitor& visit) {
        for (;;) {
            NEXT(QUILLERY);
            if (errorCode() == ErrorCode::kRecordNotAvailable) return {};
            if (StoreStatus status = statementStatus(); !status.ok()) return status;
            const QuilleryRecord record = QLY;
            if (!visit(static_cast<std::int32_t>(POSITION(QUILLERY)), record)) return {};
        }
    }

    // A build counts on from the stored entry count, so a wrong count would outlive it: the
    // counts are set to what a fresh check finds, and the file must then check sound.
    static StoreStatus mendCounts(storage::Table& table) {
        storage::TableCheckReport report = storage::checkTable(table, keyNames());
        if (!report.clean()) {
            storage::OpenTable& open = *storage::controlBlockOf(QUILLERY).open;
            const storage::Status mended = storage::runBracketed(open, true, [&] {
                storage::mendCounts(table, report);
                return storage::Status::success();
            });
            if (!mended.ok()) return {mended.code(), errorTextOf(mended.code())};
            report = storage::checkTable(table, keyNames());
        }
        if (report.clean()) return {};
        std::string text = "the keys are still not sound after the build";
        for (const std::string& finding : report.findings)
            text += "\n  " + finding;
        return {ErrorCode::kInvalidKeyFile, text};
    }

    static storage::Table* openTable() {
        storage::FileControlBlock& block = storage::controlBlockOf(QUILLERY);
        return block.isOpen() ? block.open->table.get() : nullptr;
    }
    static StoreStatus notOpen() {
        return {ErrorCode::kFileNotOpen, errorTextOf(ErrorCode::kFileNotOpen)};
    }

    bool open_ = false;
    bool inTransaction_ = false;
};

}  // namespace

std::unique_ptr<CatalogueStore> makeCatalogueStore() {
    return std::make_unique<FileCatalogueStore>();
}

}  // namespace quillery::tools
