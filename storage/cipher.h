// The owner-password cipher: a keyed permutation of 64-byte blocks, applied to every block of a
// file opened with an owner password, just before writing and just after reading.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace quillery::storage {

inline constexpr std::size_t kCipherBlockSize = 64;

class Cipher {
  public:
    // Requires: a non-empty password (without one, nothing is enciphered).
    explicit Cipher(std::string_view password);

    // Requires: data.size() is a multiple of 64. Each block is sixteen little-endian words.
    void encipher(std::span<std::uint8_t> data) const;
    void decipher(std::span<std::uint8_t> data) const;

    const std::array<std::uint32_t, 16>& key() const { return key_; }

  private:
    std::array<std::uint32_t, 16> key_{};
};

}  // namespace quillery::storage
