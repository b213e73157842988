// Damaged and hostile files: truncations, flipped bytes in the header and in pages, absurd lengths
// and zone values. Each ends in error 36 or the fatal report, never a crash, a hang or an access
// out of bounds (this suite also runs under the sanitizers).
#include <gtest/gtest.h>

#include "storage/entry_kinds.h"
#include "storage/storage_fault.h"
#include "tests/common/fatal_capture.h"
#include "tests/storage/storage_test_support.h"

namespace quillery::storage {
namespace {

using quillery::testing::FatalCapture;

enum class Outcome { kReadable, kInvalid, kFatal };

// Opens `image`, reads every entry and runs the checker. Anything else than a clean result, error
// 36 or the fatal report fails the test (a crash ends it).
Outcome openAndWalk(const Bytes& image, std::string* report = nullptr) {
    FatalCapture capture;
    try {
        auto disk = std::make_shared<MemoryDisk>();
        disk->bytes = image;
        std::unique_ptr<DataFile> file;
        const Status s = DataFile::open(std::make_unique<MemoryFile>(disk), {}, file);
        if (!s.ok()) {
            EXPECT_EQ(s.code(), 36);
            return Outcome::kInvalid;
        }
        testing::contentsOf(*file);
        checkDataFile(*file);
        TreeCursor cursor(*file);
        for (bool more = cursor.seekLast(); more; more = cursor.previous()) {
        }
        return Outcome::kReadable;
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.exitCode, 2);
        EXPECT_EQ(capture.reports().size(), 1u);
        if (!capture.reports().empty()) {
            EXPECT_EQ(capture.reports()[0].rfind("Internal error : vltbt line ", 0), 0u)
                << capture.reports()[0];
            if (report != nullptr) *report = capture.reports()[0];
        }
        return Outcome::kFatal;
    }
}

Bytes sampleFile() {
    auto disk = std::make_shared<MemoryDisk>();
    auto file = testing::openOn(disk);
    Tree tree(*file);
    std::mt19937 rng(21);
    for (int i = 0; i < 400; ++i) {
        Bytes key = {
            0, 0, 0, 1, 0xF3, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
        Bytes data = (i % 5 == 0) ? Bytes(300, ' ') : testing::randomBytes(rng, 20 + i % 200);
        EXPECT_TRUE(tree.insert(key, data).ok());
    }
    EXPECT_TRUE(file->close().ok());
    return disk->bytes;
}

TEST(HostileInput, IntactSampleIsReadable) {
    EXPECT_EQ(openAndWalk(sampleFile()), Outcome::kReadable);
}

TEST(HostileInput, ShortOrForeignHeaderIsError36) {
    std::unique_ptr<DataFile> file;
    auto disk = std::make_shared<MemoryDisk>();
    disk->bytes = Bytes(100, 0);
    Status s = DataFile::open(std::make_unique<MemoryFile>(disk), {}, file);
    EXPECT_EQ(s.code(), 36);
    disk->bytes = sampleFile();
    disk->bytes[0x0E] = 'V';  // the magic
    s = DataFile::open(std::make_unique<MemoryFile>(disk), {}, file);
    EXPECT_EQ(s.code(), 36);
}

TEST(HostileInput, EveryTruncation) {
    const Bytes image = sampleFile();
    int invalid = 0, fatal = 0;
    for (std::size_t length = 1; length < image.size(); length += (length < 0x400 ? 1 : 97)) {
        const Outcome o =
            openAndWalk(Bytes(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(length)));
        invalid += o == Outcome::kInvalid;
        fatal += o == Outcome::kFatal;
        EXPECT_NE(o, Outcome::kReadable) << "truncated to " << length;
    }
    EXPECT_GT(invalid, 0);
}

TEST(HostileInput, FlippedHeaderBytes) {
    const Bytes image = sampleFile();
    for (std::size_t at = 0; at < kHeaderSize; ++at) {
        for (std::uint8_t mask : {0x01, 0x80, 0xFF}) {
            Bytes damaged = image;
            damaged[at] ^= mask;
            openAndWalk(damaged);  // any of the three outcomes, never a crash
        }
    }
}

TEST(HostileInput, FlippedPageBytes) {
    const Bytes image = sampleFile();
    std::mt19937 rng(99);
    int fatal = 0;
    for (int i = 0; i < 1500; ++i) {
        Bytes damaged = image;
        const std::size_t at =
            std::uniform_int_distribution<std::size_t>(kHeaderSize, image.size() - 1)(rng);
        damaged[at] ^= static_cast<std::uint8_t>(std::uniform_int_distribution<int>(1, 255)(rng));
        fatal += openAndWalk(damaged) == Outcome::kFatal;
    }
    EXPECT_GT(fatal, 0);
}

TEST(HostileInput, AbsurdLengthsAndZoneValues) {
    const Bytes image = sampleFile();
    struct Poke {
        const char* what;
        std::size_t offset;
        std::uint32_t value;
        Outcome expected;
    };
    const Poke pokes[] = {
        {"log end past the file", 0x0A, 0xFFFFFF00, Outcome::kInvalid},
        {"log start past log end", 0x06, 0x7FFFFFFF, Outcome::kInvalid},
        {"zone 1 ends past 4 GiB", 0x110 + 4, 0xFFFFFFFF, Outcome::kInvalid},
        {"zone 2 starts below zone 1", 0x20 + 8, 0, Outcome::kInvalid},
        {"zone 3 not whole pages", 0x110 + 12, 0, Outcome::kInvalid},
        {"root outside every zone", 0x1C, 0x00FFFFFF, Outcome::kInvalid},
        {"issued number past the limit", 0x14, 0xFFFFFFFF, Outcome::kInvalid},
        {"root page stored length huge", 0, 0, Outcome::kFatal},
        {"root page entry count huge", 0, 0, Outcome::kFatal},
    };
    FileHeader h;
    ASSERT_TRUE(decodeHeader(image, h).ok());
    const std::size_t rootAt = static_cast<std::size_t>(pageOffset(h.root));
    for (const Poke& p : pokes) {
        Bytes damaged = image;
        if (std::string_view(p.what) == "root page stored length huge") {
            storeLe16(&damaged[rootAt + 4], 0xFFFF);
        } else if (std::string_view(p.what) == "root page entry count huge") {
            storeLe16(&damaged[rootAt + 0x0A], 0xFFFF);
        } else {
            storeLe32(&damaged[p.offset], p.value);
        }
        EXPECT_EQ(openAndWalk(damaged), p.expected) << p.what;
    }
}

TEST(HostileInput, AbsurdPendingLog) {
    // A header naming a log whose blocks are garbage: the fatal report, not a loop.
    Bytes image = sampleFile();
    const std::uint32_t end = static_cast<std::uint32_t>(image.size());
    image.resize(image.size() + 0x400, 0xEE);
    storeLe32(&image[0x06], end);
    storeLe32(&image[0x0A], end + 0x400);
    std::string report;
    EXPECT_EQ(openAndWalk(image, &report), Outcome::kFatal);
    EXPECT_EQ(report, "Internal error : vltbt line 150");
}

TEST(HostileInput, OversizedEntryIsFatal) {
    auto file = testing::openOn(std::make_shared<MemoryDisk>());
    Tree tree(*file);
    FatalCapture capture;
    const Bytes key = {1, 2, 3};
    EXPECT_TRUE(tree.insert(key, Bytes(kMaxEntryLength - 3, 'x')).ok());
    EXPECT_THROW(tree.insert(Bytes{1, 2, 4}, Bytes(kMaxEntryLength - 2, 'x')).ok(), ProgramEnded);
    ASSERT_EQ(capture.reports().size(), 1u);
    EXPECT_EQ(capture.reports()[0], "Internal error : vltbt line 130");
}

TEST(HostileInput, IssuedNumbersStopAtTheLimit) {
    Bytes image = sampleFile();
    storeBe32(&image[0x14], kLargestIssuedNumber - 1);
    auto file = testing::openImage(image);
    EXPECT_EQ(file->issueNumber(), kLargestIssuedNumber);
    FatalCapture capture;
    EXPECT_THROW(file->issueNumber(), ProgramEnded);
    ASSERT_EQ(capture.reports().size(), 1u);
    EXPECT_EQ(capture.reports()[0], "Internal error : vltbt line 140");
}

}  // namespace
}  // namespace quillery::storage
