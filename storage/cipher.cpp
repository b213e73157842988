// Key setup, encipher and decipher of the owner-password cipher.
#include "storage/cipher.h"

#include <string>

#include "storage/byte_order.h"

namespace quillery::storage {
namespace {

using Words = std::array<std::uint32_t, 16>;

// The key and the block may be the same array: key setup enciphers a block with itself, and each
// step must then see the words the steps before it changed.
void encipherWords(const std::uint32_t* key, std::uint32_t* block) {
    for (int i = 0; i < 16; ++i) {
        const std::uint32_t k = key[i];
        const std::uint32_t j = k & 15;
        const std::uint32_t a = block[i];
        const std::uint32_t b = block[j];
        block[j] = ((b & k) | (a & ~k)) + k;
        block[i] = ((a & k) | (b & ~k)) + k;
    }
}

void decipherWords(const Words& key, std::uint32_t* block) {
    for (int i = 15; i >= 0; --i) {
        const std::uint32_t k = key[i];
        const std::uint32_t j = k & 15;
        const std::uint32_t x = block[i] - k;
        const std::uint32_t y = block[j] - k;
        block[i] = (x & k) | (y & ~k);
        block[j] = (y & k) | (x & ~k);
    }
}

void loadWords(const std::uint8_t* bytes, std::uint32_t* words) {
    for (int i = 0; i < 16; ++i)
        words[i] = loadLe32(bytes + 4 * i);
}

void storeWords(const std::uint32_t* words, std::uint8_t* bytes) {
    for (int i = 0; i < 16; ++i)
        storeLe32(bytes + 4 * i, words[i]);
}

}  // namespace

Cipher::Cipher(std::string_view password) {
    // The password's bytes with their terminating zero, taken cyclically from the second byte.
    std::string cycle(password);
    cycle.push_back('\0');
    std::array<std::uint8_t, 64> seed{};
    std::size_t c = cycle.size() > 1 ? 1 : 0;
    for (int i = 0; i < 64; ++i) {
        seed[(17 * i) % 64] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(cycle[c]) + i);
        c = (c + 1) % cycle.size();
    }
    Words words{};
    loadWords(seed.data(), words.data());
    encipherWords(words.data(), words.data());
    encipherWords(words.data(), words.data());
    key_ = words;
}

void Cipher::encipher(std::span<std::uint8_t> data) const {
    Words block{};
    for (std::size_t at = 0; at + kCipherBlockSize <= data.size(); at += kCipherBlockSize) {
        loadWords(data.data() + at, block.data());
        encipherWords(key_.data(), block.data());
        storeWords(block.data(), data.data() + at);
    }
}

void Cipher::decipher(std::span<std::uint8_t> data) const {
    Words block{};
    for (std::size_t at = 0; at + kCipherBlockSize <= data.size(); at += kCipherBlockSize) {
        loadWords(data.data() + at, block.data());
        decipherWords(key_, block.data());
        storeWords(block.data(), data.data() + at);
    }
}

}  // namespace quillery::storage
