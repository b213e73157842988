// Create, open and close of a file control block's table, and how its name leads to a file.
#include <algorithm>

#include "runtime/codepage.h"
#include "runtime/errors.h"
#include "storage/file_operations.h"
#include "storage/transaction.h"

namespace quillery::storage {
namespace {

constexpr std::string_view kTableSeparator = "\\!";
constexpr std::string_view kDefaultExtension = ".VLT";

bool hasExtension(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string_view last = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return last.find('.') != std::string_view::npos;
}

// Builds the table of an open physical file and makes it the block's open table.
Status openTable(FileControlBlock& file, std::unique_ptr<PageFile> pageFile, int mode,
                 const FileName& name, const TableDefinition& definition, bool create) {
    auto open = std::make_unique<OpenTable>();
    open->file = std::move(pageFile);
    open->mode = mode;
    QUILLERY_RETURN_IF_ERROR(runBracketed(*open, create, [&] {
        return Table::open(*open->file, name.table, definition, file.declaration(), create,
                           open->table);
    }));
    file.memos.resize(definition.memos.size());
    file.open = std::move(open);
    return Status::success();
}

PageFileOptions pageFileOptions(const FileControlBlock& file, int mode, bool create) {
    PageFileOptions options;
    options.mode = mode;
    options.create = create;
    options.ownerPassword = std::string(file.declaration().owner);
    return options;
}

}  // namespace

Status parseFileName(std::string_view name, FileName& out) {
    std::string_view path = name;
    std::string table(kUnnamedTable);
    const std::size_t separator = name.rfind(kTableSeparator);
    if (separator != std::string_view::npos) {
        path = name.substr(0, separator);
        table.assign(name.substr(separator + kTableSeparator.size()));
        for (char& c : table)
            c = static_cast<char>(toUpperChar(static_cast<unsigned char>(c)));
    }
    if (path.empty() || table.empty())
        return Status::error(ErrorCode::kInvalidFilename, "empty file name");
    // Names are Windows-1252 text; the file system takes UTF-8.
    out.path = cp1252ToUtf8(path);
    if (!hasExtension(path)) out.path += kDefaultExtension;
    out.table = std::move(table);
    return Status::success();
}

Status requireOpen(FileControlBlock& file) {
    if (!file.isOpen()) return Status::error(ErrorCode::kFileNotOpen, "file not open");
    return Status::success();
}

Status createFile(FileControlBlock& file) {
    if (!file.declaration().create)
        return Status::error(ErrorCode::kNoCreateAttribute, "no create attribute");
    TableDefinition definition;
    QUILLERY_RETURN_IF_ERROR(definitionOf(file.declaration(), definition));
    FileName name;
    QUILLERY_RETURN_IF_ERROR(parseFileName(file.name(), name));
    // The physical file is taken with no sharing: a file in use elsewhere is not created over.
    constexpr int kCreateOpen = AccessMode::kReadWrite | AccessMode::kDenyAll;
    constexpr int kCreateMode =
        AccessMode::kCreate | AccessMode::kDenyNone | AccessMode::kReadWrite;
    std::unique_ptr<PageFile> pageFile;
    QUILLERY_RETURN_IF_ERROR(
        PageFile::open(name.path, pageFileOptions(file, kCreateOpen, true), pageFile));
    FileControlBlock scratch(file.declaration());
    QUILLERY_RETURN_IF_ERROR(
        openTable(scratch, std::move(pageFile), kCreateMode, name, definition, true));
    return scratch.open->file->close();
}

Status openFile(FileControlBlock& file, int mode) {
    if (file.isOpen()) return Status::error(ErrorCode::kFileAlreadyOpen, "already open");
    TableDefinition definition;
    QUILLERY_RETURN_IF_ERROR(definitionOf(file.declaration(), definition));
    FileName name;
    QUILLERY_RETURN_IF_ERROR(parseFileName(file.name(), name));
    std::unique_ptr<PageFile> pageFile;
    QUILLERY_RETURN_IF_ERROR(PageFile::open(
        name.path, pageFileOptions(file, mode & ~AccessMode::kCreate, false), pageFile));
    return openTable(file, std::move(pageFile), mode, name, definition, false);
}

Status closeFile(FileControlBlock& file) {
    QUILLERY_RETURN_IF_ERROR(requireOpen(file));
    leaveTransaction(file);
    releaseHold(*file.open);
    Status s = file.open->file->close();
    // The run-time keys' temporary files go with the table.
    file.open.reset();
    return s;
}

void abandonFile(FileControlBlock& file) {
    if (!file.isOpen()) return;
    abandonTransactionOf(file);
    file.open.reset();  // closes the descriptor, which lets the locks go
}

}  // namespace quillery::storage
