// The catalogue store over the storage engine: the file statements on `QUILLERY` with
// `QUILLERYFILE` naming the file, and the engine's whole-file check, key build and figures.
#include <filesystem>
#include <string>

#include "app/catalogue_access.h"
#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "app/tools/catalogue_store.h"
#include "runtime/errors.h"
#include "storage/driver.h"
#include "storage/file_maintenance.h"
#include "storage/file_statements.h"

namespace quillery::tools {

namespace {

namespace Mode = storage::AccessMode;

// Writers keep the file to themselves; readers let nobody write under them, so a check or an
// export sees one committed state throughout.
constexpr int kReadWriteMode = Mode::kReadWrite | Mode::kDenyAll;
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

// The outcome of an engine call: its code's text, with the engine's own words where they say
// more than the code does.
StoreStatus engineStatus(const storage::Status& status) {
    if (status.ok()) return {};
    std::string text = errorTextOf(status.code());
    if (status.code() == ErrorCode::kInvalidDataFile || status.code() == ErrorCode::kInvalidKeyFile)
        text = status.message().empty() ? text : status.message();
    return {status.code(), text};
}

std::vector<std::string> keyNames() {
    std::vector<std::string> names;
    for (const storage::KeyDeclaration& key : QUILLERY.keys)
        names.emplace_back(key.name);
    return names;
}

void appendFindings(const FileCheckReport& report, std::vector<std::string>& faults) {
    faults.insert(faults.end(), report.findings.begin(), report.findings.end());
}

// What the engine's answers to opening an existing file mean for a catalogue: "File Not Found"
// for a file that is there says it holds no catalogue, and the walk of its pages tells whether
// it is damaged or was never one.
StoreStatus openFailure(const std::string& path, int code, const std::string& detail) {
    std::error_code ec;
    const bool isFile = std::filesystem::is_regular_file(path, ec);
    if (code == ErrorCode::kInvalidDataFile) {
        const bool notDataFile = detail.starts_with("not a data file");
        return {code, notDataFile ? "it is not a catalogue (it does not begin with a catalogue's "
                                    "header)"
                                  : "Invalid Data File (" + detail + ")"};
    }
    if (code == ErrorCode::kAccessDenied && isFile && canOnlyBeRead(path))
        return {code, errorTextOf(code) + ": the catalogue can only be read"};
    if (code != ErrorCode::kFileNotFound || !isFile) return {code, errorTextOf(code)};
    if (std::filesystem::file_size(path, ec) == 0)
        return {code, "the file is empty, so it is not a catalogue"};
    FileCheckReport report;
    const storage::Status checked = checkFile(QUILLERY, keyNames(), report);
    if (checked.ok() && !report.structureSound)
        return {ErrorCode::kInvalidDataFile,
                "its pages are damaged (" + report.findings.front() + ")"};
    return {code, "it holds no catalogue, so it is not one"};
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
        open_ = errorCode() == 0;
        if (open_) return {};
        return openFailure(path, errorCode(), storage::lastDriverDetail());
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
        if (!open_) return notOpen();
        FileCheckReport report;
        if (StoreStatus status = engineStatus(quillery::checkFile(QUILLERY, keyNames(), report));
            !status.ok())
            return status;
        appendFindings(report, faults);
        return {};
    }

    StoreStatus checkFile(const std::string& path, std::vector<std::string>& faults) override {
        close();
        if (StoreStatus status = checkPath(path); !status.ok()) return status;
        QUILLERYFILE = path;
        FileCheckReport report;
        const storage::Status checked = quillery::checkFile(QUILLERY, keyNames(), report);
        if (!checked.ok()) return openFailure(path, checked.code(), checked.message());
        appendFindings(report, faults);
        return {};
    }

    StoreStatus rebuildKeys() override {
        if (!open_) return notOpen();
        return engineStatus(rebuildFileKeys(QUILLERY, keyNames()));
    }

    StoreStatus info(CatalogueInfo& info) override {
        FileFigures figures;
        if (StoreStatus status = engineStatus(fileFigures(QUILLERY, figures)); !status.ok())
            return status;
        info.records = figures.records;
        for (std::size_t key = 0; key < kQuilleryKeyCount && key < figures.keyEntries.size(); ++key)
            info.keyEntries[key] = figures.keyEntries[key];
        info.pagesBySize.clear();
        for (const PageSizeCount& size : figures.pagesBySize)
            info.pagesBySize.push_back({size.pageBytes, size.pages});
        info.fileBytes = figures.fileBytes;
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
