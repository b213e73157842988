// The owner-password cipher: pinned key and block bytes, round trips, and files that can only be
// read back with their password.
#include <gtest/gtest.h>

#include <random>

#include "storage/cipher.h"
#include "tests/storage/storage_test_support.h"

namespace quillery::storage {
namespace {

std::array<std::uint8_t, 64> countingBlock() {
    std::array<std::uint8_t, 64> block{};
    for (int i = 0; i < 64; ++i)
        block[i] = static_cast<std::uint8_t>(i);
    return block;
}

std::string hexOf(std::span<const std::uint8_t> bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (std::uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

TEST(Cipher, KnownBlockUnderKnownPassword) {
    const Cipher cipher("Quillery");
    auto block = countingBlock();
    cipher.encipher(block);
    EXPECT_EQ(hexOf(block),
              "380643BC2A1A6DA598991454F0893BF67C6B7F508CB07164F4161A9A80189E4C"
              "9C4690CFE254E1FD14085584242DE6E49C7BEAEB2CE96D2E1817E1B208FC0B89");
}

// Key setup starts at the password's second byte, here its terminating zero.
TEST(Cipher, KeyFromAOneLetterPassword) {
    const Cipher cipher("a");
    std::string key;
    for (std::uint32_t w : cipher.key())
        key += std::to_string(w) + " ";
    EXPECT_EQ(key,
              "1884464256 1759320208 4054534304 1222441120 2431540384 569227360 1375261856 "
              "284932848 3765707328 2855102768 1923934496 3237837008 1617833112 3241333072 "
              "3782398432 3510401712 ");
}

TEST(Cipher, DecipherUndoesEncipher) {
    std::mt19937 rng(3);
    for (const char* password : {"a", "Quillery", "a much longer owner password 0123456789"}) {
        const Cipher cipher(password);
        Bytes data = testing::randomBytes(rng, 64 * 9);
        const Bytes original = data;
        cipher.encipher(data);
        EXPECT_NE(data, original) << password;
        cipher.decipher(data);
        EXPECT_EQ(data, original) << password;
    }
}

TEST(Cipher, DifferentPasswordsGiveDifferentBlocks) {
    auto a = countingBlock();
    auto b = countingBlock();
    Cipher("secret").encipher(a);
    Cipher("secreT").encipher(b);
    EXPECT_NE(a, b);
}

TEST(Cipher, EncipheredFileNeedsItsPassword) {
    auto disk = std::make_shared<MemoryDisk>();
    DataFileOptions withPassword;
    withPassword.ownerPassword = "Quillery";
    {
        auto file = testing::openOn(disk, withPassword);
        Tree tree(*file);
        for (int i = 0; i < 300; ++i) {
            Bytes key = {
                0, 0, 0, 1, 0xF3, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
            ASSERT_TRUE(tree.insert(key, Bytes(50, 'q')).ok());
        }
        ASSERT_TRUE(file->close().ok());
    }
    // No plain text and no magic on disk.
    const Bytes magic = testing::bytesOf("vElT");
    EXPECT_EQ(std::search(disk->bytes.begin(), disk->bytes.end(), magic.begin(), magic.end()),
              disk->bytes.end());
    EXPECT_EQ(disk->bytes.size() % 64, 0u);
    {
        std::unique_ptr<DataFile> file;
        const Status s = DataFile::open(std::make_unique<MemoryFile>(disk), {}, file);
        EXPECT_EQ(s.code(), 36);
    }
    {
        DataFileOptions wrong;
        wrong.ownerPassword = "quillery";
        std::unique_ptr<DataFile> file;
        EXPECT_EQ(DataFile::open(std::make_unique<MemoryFile>(disk), wrong, file).code(), 36);
    }
    auto file = testing::openOn(disk, withPassword);
    EXPECT_EQ(testing::contentsOf(*file).size(), 300u);
    testing::expectClean(*file);
}

}  // namespace
}  // namespace quillery::storage
