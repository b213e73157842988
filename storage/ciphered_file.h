// A file seen through the owner-password cipher: whole 64-byte blocks are enciphered on the way
// out and deciphered on the way in. Transfers of any other shape are an internal fault.
#pragma once

#include <memory>

#include "storage/cipher.h"
#include "storage/file_interface.h"

namespace quillery::storage {

class CipheredFile final : public File {
  public:
    CipheredFile(std::unique_ptr<File> inner, std::string_view password)
        : inner_(std::move(inner)), cipher_(password) {}

    Status read(std::uint64_t offset, std::span<std::uint8_t> out,
                std::size_t& transferred) override;
    Status write(std::uint64_t offset, std::span<const std::uint8_t> data) override;
    Status flush() override { return inner_->flush(); }
    Status size(std::uint64_t& out) override { return inner_->size(out); }
    Status truncate(std::uint64_t length) override { return inner_->truncate(length); }
    Status lock(std::uint64_t offset, std::uint64_t length, LockKind kind) override {
        return inner_->lock(offset, length, kind);
    }
    Status unlock(std::uint64_t offset, std::uint64_t length) override {
        return inner_->unlock(offset, length);
    }
    bool readOnly() const override { return inner_->readOnly(); }
    Status lockedByOthers(std::uint64_t offset, std::uint64_t length, bool& locked) override {
        return inner_->lockedByOthers(offset, length, locked);
    }

  private:
    std::unique_ptr<File> inner_;
    Cipher cipher_;
};

}  // namespace quillery::storage
