// Exact bytes of the on-disk layouts: a fresh file's header and root page, a page whose entries
// share prefixes, and the compression edge cases.
#include <gtest/gtest.h>

#include <random>

#include "storage/page_codec.h"
#include "storage/page_compression.h"
#include "tests/storage/storage_test_support.h"

namespace quillery::storage {
namespace {

Bytes fromHex(std::string_view hex) {
    Bytes out;
    int nibble = -1;
    for (char c : hex) {
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else
            continue;
        if (nibble < 0) {
            nibble = v;
        } else {
            out.push_back(static_cast<std::uint8_t>(nibble * 16 + v));
            nibble = -1;
        }
    }
    return out;
}

Bytes slice(const Bytes& b, std::size_t from, std::size_t length) {
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from),
                 b.begin() + static_cast<std::ptrdiff_t>(from + length));
}

TEST(FormatBytes, FreshFileAfterFirstCommit) {
    auto disk = std::make_shared<MemoryDisk>();
    auto file = testing::openOn(disk);
    EXPECT_TRUE(disk->bytes.empty()) << "nothing is written before the first commit";
    EXPECT_EQ(file->root(), -1);
    ASSERT_TRUE(file->commit().ok());
    const Bytes& b = disk->bytes;
    ASSERT_GE(b.size(), 0x300u);
    EXPECT_EQ(slice(b, 0, 0x20), fromHex("00000000 0002 00030000 00030000 76456C54 0000 00000000"
                                         "01000000 00000000"));
    // Zone 1 holds the root leaf at page 0; every other zone is empty at page 1.
    for (int n = 0; n < 60; ++n) {
        const std::uint32_t start = n >= 2 ? 1 : 0;
        const std::uint32_t end = n >= 1 ? 1 : 0;
        EXPECT_EQ(loadLe32(&b[0x20 + 4 * n]), start) << n;
        EXPECT_EQ(loadLe32(&b[0x110 + 4 * n]), end) << n;
    }
    Bytes root = fromHex("00020000 0D00 0D00 0D00 0000 00");
    root.resize(0x100, 0xB0);
    EXPECT_EQ(slice(b, 0x200, 0x100), root);
    // The log of the first commit (the header copy) lies past the end until the file is closed.
    EXPECT_EQ(b.size(), 0x500u);
    ASSERT_TRUE(file->close().ok());
    EXPECT_EQ(disk->bytes.size(), 0x300u);
}

TEST(FormatBytes, IssuedNumbersCountBigEndianFromOne) {
    auto disk = std::make_shared<MemoryDisk>();
    auto file = testing::openOn(disk);
    EXPECT_EQ(file->issueNumber(), 1u);
    EXPECT_EQ(file->issueNumber(), 2u);
    ASSERT_TRUE(file->commit().ok());
    EXPECT_EQ(slice(disk->bytes, 0x14, 4), fromHex("00000002"));
}

TEST(FormatBytes, EntriesSharePrefixesWithThePreviousEntry) {
    PageContent page;
    page.entries.push_back(makeEntry(testing::bytesOf("abc"), testing::bytesOf("12")));
    page.entries.push_back(makeEntry(testing::bytesOf("abd"), testing::bytesOf("12")));
    page.entries.push_back(makeEntry(testing::bytesOf("abdx"), {}));
    Bytes image = buildPageImage(page);
    patchPageImage(image, 0x1200, {});
    Bytes expected = fromHex(
        "00120000 2100 2100 2A00 0300 00"  // offset, stored 33, uncompressed 33, fill 42, 3, leaf
        "C0 0500 0300 616263 3132"         // both lengths, nothing shared, "abc" "12"
        "02 643132"                        // same lengths, 2 shared, "d12"
        "C3 0400 0400 78");                // new lengths, 3 shared, "x"
    expected.resize(0x100, 0xB0);
    EXPECT_EQ(image, expected);

    PageContent decoded;
    ASSERT_EQ(parsePageImage(image, 0x1200, decoded), PageDefect::kNone);
    ASSERT_EQ(decoded.entries.size(), 3u);
    EXPECT_EQ(Bytes(decoded.entries[2].bytes().begin(), decoded.entries[2].bytes().end()),
              testing::bytesOf("abdx"));
    EXPECT_EQ(decoded.entries[1].keyLength(), 3);
}

TEST(FormatBytes, FirstEntryOfEveryPageCarriesBothLengths) {
    PageContent page;
    page.level = 1;
    page.entries.push_back(makeEntry(testing::bytesOf("k1"), {}));
    page.entries.push_back(makeEntry(testing::bytesOf("k2"), {}));
    page.children = {5, 9};
    Bytes image = buildPageImage(page);
    patchPageImage(image, 0x700, page.children);
    Bytes expected = fromHex(
        "00070000 1E00 1E00 2300 0200 01"  // stored 30, fill 13 + 2 x (2 + 5 + 4)
        "05000000 09000000"                // child array
        "C0 0200 0200 6B31"                // first entry: both lengths, no sharing
        "01 32");                          // second: 1 shared byte
    expected.resize(0x100, 0xB0);
    EXPECT_EQ(image, expected);
}

struct CompressionCase {
    const char* name;
    Bytes body;
    std::optional<Bytes> compressed;
};

std::vector<CompressionCase> compressionCases() {
    Bytes longRun(200, 'z');
    Bytes longRunCompressed = {0x01, 'z', 0xC7, 0x01, 0x00};
    return {
        {"no run at all", testing::bytesOf("abcdefg"), std::nullopt},
        {"a run of three stays literal", testing::bytesOf("xaaab"), std::nullopt},
        {"a run of four is one literal and three repeats", testing::bytesOf("aaaa"),
         Bytes{0x01, 'a', 0x03, 0x00}},
        {"literals before and after a run", testing::bytesOf("xaaaab"),
         Bytes{0x02, 'x', 'a', 0x03, 0x01, 'b'}},
        {"a run at the end still has a final count of zero", testing::bytesOf("xybbbbb"),
         Bytes{0x03, 'x', 'y', 'b', 0x04, 0x00}},
        {"two runs", testing::bytesOf("aaaabcccc"),
         Bytes{0x01, 'a', 0x03, 0x02, 'b', 'c', 0x03, 0x00}},
        {"counts of 128 and more are varints", longRun, longRunCompressed},
    };
}

TEST(FormatBytes, CompressionEdgeCases) {
    for (const CompressionCase& c : compressionCases()) {
        SCOPED_TRACE(c.name);
        const auto packed = compressBody(c.body);
        ASSERT_EQ(packed.has_value(), c.compressed.has_value());
        if (!packed) continue;
        EXPECT_EQ(*packed, *c.compressed);
        Bytes back;
        ASSERT_TRUE(decompressBody(*packed, c.body.size(), back));
        EXPECT_EQ(back, c.body);
    }
}

TEST(FormatBytes, CompressionKeptOnlyWhenItSavesAUnit) {
    // A run of 40 spaces saves 35 bytes but not a 256-byte unit: stored uncompressed.
    PageContent small;
    small.entries.push_back(makeEntry(testing::bytesOf("key"), Bytes(40, ' ')));
    Bytes image = buildPageImage(small);
    EXPECT_EQ(loadLe16(&image[4]), loadLe16(&image[6]));
    EXPECT_EQ(image.size(), 0x100u);
    // 600 spaces fit one unit compressed instead of three.
    PageContent large;
    large.entries.push_back(makeEntry(testing::bytesOf("key"), Bytes(600, ' ')));
    image = buildPageImage(large);
    EXPECT_EQ(loadLe16(&image[6]), 13 + 5 + 3 + 600);
    EXPECT_EQ(image.size(), 0x100u);
    // body C0 5B02 0300 "key" then the run: literals "key " (after the header bytes) ...
    EXPECT_LT(loadLe16(&image[4]), 0x100);
    PageContent decoded;
    Bytes patched = image;
    patchPageImage(patched, 0x200, {});
    ASSERT_EQ(parsePageImage(patched, 0x200, decoded), PageDefect::kNone);
    const ByteView data = decoded.entries[0].data();
    EXPECT_EQ(Bytes(data.begin(), data.end()), Bytes(600, ' '));
}

TEST(FormatBytes, MalformedCompressedBodiesAreRejected) {
    Bytes out;
    EXPECT_FALSE(decompressBody(Bytes{0x00, 0x05}, 5, out)) << "a repeat with nothing before it";
    out.clear();
    EXPECT_FALSE(decompressBody(Bytes{0x09, 'a'}, 9, out)) << "literals past the end";
    out.clear();
    EXPECT_FALSE(decompressBody(Bytes{0x01, 'a', 0x20}, 4, out)) << "repeats past the length";
    out.clear();
    EXPECT_FALSE(decompressBody(Bytes{0x81, 0x81, 0x81, 0x81, 0x81, 0x01}, 4, out))
        << "a varint longer than 32 bits";
}

// The compressor against the rule written out step by step, on bodies with runs of every length
// at every alignment; and every compressed body expands back.
std::optional<Bytes> referenceCompress(const Bytes& body) {
    Bytes out;
    std::size_t lastRunEnd = 0;
    bool anyRun = false;
    std::size_t i = 0;
    while (i < body.size()) {
        std::size_t r = 1;
        while (i + r < body.size() && body[i + r] == body[i])
            ++r;
        if (r < 4) {
            i += r;
            continue;
        }
        anyRun = true;
        appendVarint(out, static_cast<std::uint32_t>(i + 1 - lastRunEnd));
        out.insert(out.end(), body.begin() + static_cast<std::ptrdiff_t>(lastRunEnd),
                   body.begin() + static_cast<std::ptrdiff_t>(i + 1));
        appendVarint(out, static_cast<std::uint32_t>(r - 1));
        i += r;
        lastRunEnd = i;
    }
    if (!anyRun) return std::nullopt;
    appendVarint(out, static_cast<std::uint32_t>(body.size() - lastRunEnd));
    out.insert(out.end(), body.begin() + static_cast<std::ptrdiff_t>(lastRunEnd), body.end());
    return out;
}

TEST(FormatBytes, CompressionMatchesTheRuleOnRandomBodies) {
    std::mt19937 rng(17);
    for (int round = 0; round < 3000; ++round) {
        const std::size_t length = std::uniform_int_distribution<std::size_t>(0, 300)(rng);
        const int alphabet = std::uniform_int_distribution<int>(1, 6)(rng);
        Bytes body(length);
        for (auto& b : body)
            b = static_cast<std::uint8_t>(rng() % alphabet);
        const auto expected = referenceCompress(body);
        const auto packed = compressBody(body);
        ASSERT_EQ(packed.has_value(), expected.has_value()) << round;
        if (!packed) continue;
        ASSERT_EQ(*packed, *expected) << round;
        Bytes back;
        ASSERT_TRUE(decompressBody(*packed, body.size(), back));
        ASSERT_EQ(back, body);
    }
}

// Text-like bodies hold few runs, so the search for the next run skips most of the body; a run
// planted at every offset and of every short length must still be found where it starts.
TEST(FormatBytes, CompressionFindsARunPlantedAnywhereInText) {
    Bytes text(90);
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<std::uint8_t>('A' + (i * 7) % 26);  // no two neighbours equal
    ASSERT_FALSE(compressBody(text).has_value());
    for (std::size_t at = 0; at < text.size(); ++at) {
        for (std::size_t length = 3; length <= 6 && at + length <= text.size(); ++length) {
            Bytes body = text;
            std::fill_n(body.begin() + static_cast<std::ptrdiff_t>(at), length, '#');
            SCOPED_TRACE(::testing::Message() << "run of " << length << " at " << at);
            const auto packed = compressBody(body);
            const auto expected = referenceCompress(body);
            ASSERT_EQ(packed.has_value(), expected.has_value());
            if (packed) {
                EXPECT_EQ(*packed, *expected);
            }
            EXPECT_EQ(packed.has_value(), length >= 4);
        }
    }
}

}  // namespace
}  // namespace quillery::storage
