// Enciphering and deciphering around the transfers of an inner file.
#include "storage/ciphered_file.h"

#include <vector>

#include "storage/storage_fault.h"

namespace quillery::storage {
namespace {

void requireBlocks(std::uint64_t offset, std::size_t length) {
    if (offset % kCipherBlockSize != 0 || length % kCipherBlockSize != 0)
        storageFault(FaultCheck::kTransferNotBlockMultiple);
}

}  // namespace

Status CipheredFile::read(std::uint64_t offset, std::span<std::uint8_t> out,
                          std::size_t& transferred) {
    requireBlocks(offset, out.size());
    QUILLERY_RETURN_IF_ERROR(inner_->read(offset, out, transferred));
    // A partial block at the end of a damaged file is left as read; the caller rejects it.
    cipher_.decipher(out.first(transferred - transferred % kCipherBlockSize));
    return Status::success();
}

Status CipheredFile::write(std::uint64_t offset, std::span<const std::uint8_t> data) {
    requireBlocks(offset, data.size());
    std::vector<std::uint8_t> copy(data.begin(), data.end());
    cipher_.encipher(copy);
    return inner_->write(offset, copy);
}

}  // namespace quillery::storage
