// The build operations of the entry point: every key, one key, and build-then-cut; a closed
// file is opened for the length of the build.
#include "runtime/errors.h"
#include "storage/access_mode.h"
#include "storage/file_operations.h"
#include "storage/key_build.h"

namespace quillery::storage {
namespace {

constexpr int kBuildMode = AccessMode::kReadWrite | AccessMode::kDenyWrite;

// Runs `build` on the open table, opening a closed file around it.
template <class Build>
Status withOpenFile(FileControlBlock& file, Build&& build) {
    if (file.isOpen()) return build(*file.open);
    QUILLERY_RETURN_IF_ERROR(openFile(file, kBuildMode));
    Status result = build(*file.open);
    Status closed = closeFile(file);
    return result.ok() ? closed : result;
}

Status buildInBracket(FileControlBlock& file, OpenTable& open, std::size_t key) {
    return runBracketed(open, true, [&] {
        return buildKey(*open.table, key, file.fullBuild, !open.file->heldBack());
    });
}

}  // namespace

Status buildAllKeys(FileControlBlock& file, bool cutFile) {
    return withOpenFile(file, [&](OpenTable& open) {
        Status result = Status::success();
        // Each key's build would otherwise end in a commit of its own; deferred, the keys share
        // the commits, and what waits is committed when the mark is taken off again.
        PageFile& pageFile = *open.file;
        const CommitMode before = pageFile.commitMode();
        if (before == CommitMode::kEveryOperation)
            (void)pageFile.setCommitMode(CommitMode::kDeferred);
        for (std::size_t key = 0; key < open.table->keyCount(); ++key) {
            if ((open.table->keyFlags(key) & KeyFlag::kIndex) != 0) continue;
            Status s = buildInBracket(file, open, key);
            if (result.ok() && !s.ok()) result = s;
        }
        Status restored = pageFile.setCommitMode(before);
        if (result.ok() && !restored.ok()) result = restored;
        if (cutFile && !open.file->heldBack()) {
            Status cut = runBracketed(open, true, [&] { return open.file->data().close(); });
            if (result.ok() && !cut.ok()) result = cut;
        }
        return result;
    });
}

Status buildOneKey(FileControlBlock& file, std::size_t key) {
    return withOpenFile(file, [&](OpenTable& open) -> Status {
        if (key >= open.table->keyCount())
            return Status::error(ErrorCode::kInvalidKeyFile, "no such key");
        return buildInBracket(file, open, key);
    });
}

}  // namespace quillery::storage
