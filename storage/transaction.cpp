// Beginning, committing and rolling back transactions; the commit over several files through
// the transaction control file.
#include "storage/transaction.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <vector>

#include "runtime/errors.h"
#include "storage/btree.h"
#include "storage/storage_options.h"

namespace quillery::storage {
namespace {

constexpr int kLogoutAlreadyActive = 56;

struct TransactionState {
    bool active = false;
    std::vector<FileControlBlock*> files;
};

TransactionState& state() {
    static TransactionState s;
    return s;
}

void reachStep(CommitStep step) {
    if (const auto& hook = storageOptions().commitStepHook) hook(step);
}

void endTransaction() {
    for (FileControlBlock* f : state().files)
        if (f->isOpen()) f->open->file->stopHoldingBack();
    state() = {};
}

// Writes the transaction's entry into the control file under a number of its own: the time in
// seconds, counted up past numbers in use.
Status recordTransaction(PageFile& control, std::uint32_t& number) {
    QUILLERY_RETURN_IF_ERROR(control.begin(true));
    Tree tree(control.data());
    number = static_cast<std::uint32_t>(std::time(nullptr));
    while (tree.find(transactionKey(number)))
        ++number;
    Status s = tree.insert(transactionKey(number), {});
    return control.end(std::move(s), true);
}

Status forgetTransaction(PageFile& control, std::uint32_t number) {
    QUILLERY_RETURN_IF_ERROR(control.begin(true));
    Status s = Tree(control.data()).erase(transactionKey(number));
    return control.end(std::move(s), true);
}

Status openControlFile(std::unique_ptr<PageFile>& control) {
    const std::string& path = transactionControlFile();
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    PageFileOptions options;
    options.mode = AccessMode::kCreate | AccessMode::kDenyNone | AccessMode::kReadWrite;
    options.create = true;
    return PageFile::open(path, options, control);
}

Status commitSeveral(const std::vector<DataFile*>& changed) {
    std::unique_ptr<PageFile> control;
    QUILLERY_RETURN_IF_ERROR(openControlFile(control));
    std::uint32_t number = 0;
    QUILLERY_RETURN_IF_ERROR(recordTransaction(*control, number));
    reachStep(CommitStep::kControlEntryWritten);

    // Each file's log is written and named; a file's next opener consults the control file
    // about it for as long as the entry stands.
    const PendingLink link{number, transactionControlFile()};
    std::vector<DataFile*> prepared;
    Status failure = Status::success();
    for (DataFile* file : changed) {
        Tree(*file).put(pendingLinkKey(), encodePendingLink(link));
        failure = file->prepareCommit();
        if (!failure.ok()) break;
        prepared.push_back(file);
        reachStep(CommitStep::kFilePrepared);
    }
    if (failure.ok()) failure = forgetTransaction(*control, number);
    if (!failure.ok()) {
        for (DataFile* file : prepared)
            (void)file->abandonPreparedCommit();
        for (DataFile* file : changed)
            (void)file->discardChanges();
        return failure;
    }
    reachStep(CommitStep::kControlEntryRemoved);
    // Done: each file's log now stands as committed, whatever happens to the rest of this.
    Status result = Status::success();
    for (DataFile* file : changed) {
        Status s = file->finishCommit();
        if (result.ok() && !s.ok()) result = s;
        reachStep(CommitStep::kFileFinished);
    }
    (void)control->close();
    return result;
}

}  // namespace

std::string defaultTransactionControlFile() {
    namespace fs = std::filesystem;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state)
        return (fs::path(state) / "quillery" / "quillery.tcf").string();
    if (const char* home = std::getenv("HOME"); home && *home)
        return (fs::path(home) / ".local" / "state" / "quillery" / "quillery.tcf").string();
    std::error_code ec;
    return (fs::temp_directory_path(ec) / "quillery.tcf").string();
}

std::string transactionControlFile() {
    if (!storageOptions().transactionControlFile.empty())
        return storageOptions().transactionControlFile;
    static const std::string path = defaultTransactionControlFile();
    return path;
}

bool transactionActive() {
    return state().active;
}

Status beginTransaction(std::span<FileControlBlock* const> files,
                        std::chrono::milliseconds lockWait) {
    if (state().active) return Status::error(kLogoutAlreadyActive, "transaction active");
    for (FileControlBlock* f : files)
        if (!f || !f->isOpen()) return Status::error(ErrorCode::kFileNotOpen, "not open");
    const auto deadline = Clock::now() + lockWait;
    std::vector<FileControlBlock*> taken;
    for (FileControlBlock* f : files) {
        if (std::find(taken.begin(), taken.end(), f) != taken.end()) continue;
        Status s = f->open->file->holdBack(deadline);
        if (!s.ok()) {
            for (FileControlBlock* t : taken)
                t->open->file->stopHoldingBack();
            return s;
        }
        taken.push_back(f);
    }
    state().active = true;
    state().files = std::move(taken);
    return Status::success();
}

Status commitTransaction() {
    if (!state().active) return Status::success();
    std::vector<DataFile*> changed;
    for (FileControlBlock* f : state().files)
        if (f->isOpen() && f->open->file->data().hasChanges())
            changed.push_back(&f->open->file->data());
    Status result = Status::success();
    if (changed.size() == 1) {
        result = changed.front()->commit();
    } else if (changed.size() > 1) {
        result = commitSeveral(changed);
    }
    endTransaction();
    return result;
}

Status rollbackTransaction() {
    if (!state().active) return Status::success();
    Status result = Status::success();
    for (FileControlBlock* f : state().files) {
        if (!f->isOpen()) continue;
        Status s = f->open->file->data().discardChanges();
        if (result.ok() && !s.ok()) result = s;
    }
    endTransaction();
    return result;
}

void abandonTransactionOf(FileControlBlock& file) {
    leaveTransaction(file);
    if (state().files.empty()) state() = {};
}

void leaveTransaction(FileControlBlock& file) {
    auto& files = state().files;
    files.erase(std::remove(files.begin(), files.end(), &file), files.end());
}

}  // namespace quillery::storage
