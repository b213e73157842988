// The file control blocks that serve the program's declarations.
#include "storage/file_control_block.h"

#include <map>

#include "storage/file_operations.h"

namespace quillery::storage {

std::string FileControlBlock::name() const {
    std::string text(declaration_.nameVariable.begin(), declaration_.nameVariable.end());
    const std::size_t end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
    const std::size_t zero = text.find('\0');
    if (zero != std::string::npos) text.erase(zero);
    return text;
}

namespace {

std::map<const TableDeclaration*, std::unique_ptr<FileControlBlock>>& blocks() {
    // The blocks live as long as the program, as the declarations they serve do.
    static std::map<const TableDeclaration*, std::unique_ptr<FileControlBlock>> all;
    return all;
}

}  // namespace

FileControlBlock& controlBlockOf(const TableDeclaration& declaration) {
    auto& block = blocks()[&declaration];
    if (!block) block = std::make_unique<FileControlBlock>(declaration);
    return *block;
}

}  // namespace quillery::storage

namespace quillery::storage {

Status releaseControlBlock(const TableDeclaration& declaration) {
    const auto found = blocks().find(&declaration);
    if (found == blocks().end()) return Status::success();
    Status closed = found->second->isOpen() ? closeFile(*found->second) : Status::success();
    blocks().erase(found);
    return closed;
}

}  // namespace quillery::storage
