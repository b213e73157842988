// Helpers shared by the storage engine's tests: data files over in-memory disks, a model of the
// tree's contents, and comparisons against it.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "storage/btree.h"
#include "storage/checker.h"
#include "storage/data_file.h"
#include "storage/memory_file.h"

namespace quillery::storage::testing {

using Model = std::map<Bytes, Bytes>;

inline Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

inline std::unique_ptr<DataFile> openOn(std::shared_ptr<MemoryDisk> disk,
                                        DataFileOptions options = {}) {
    std::unique_ptr<DataFile> file;
    const Status s = DataFile::open(std::make_unique<MemoryFile>(std::move(disk)), options, file);
    EXPECT_TRUE(s.ok()) << s.code() << " " << s.message();
    return file;
}

inline std::unique_ptr<DataFile> openImage(const Bytes& image, DataFileOptions options = {}) {
    auto disk = std::make_shared<MemoryDisk>();
    disk->bytes = image;
    return openOn(disk, options);
}

// Every entry of the tree in order.
inline Model contentsOf(DataFile& file) {
    Model contents;
    TreeCursor cursor(file);
    for (bool more = cursor.seekFirst(); more; more = cursor.next())
        contents.emplace(Bytes(cursor.key().begin(), cursor.key().end()),
                         Bytes(cursor.data().begin(), cursor.data().end()));
    return contents;
}

// Compares contents without printing them whole.
inline ::testing::AssertionResult sameContents(const Model& found, const Model& expected) {
    if (found == expected) return ::testing::AssertionSuccess();
    std::size_t differing = 0;
    for (const auto& [key, data] : expected) {
        const auto it = found.find(key);
        if (it == found.end() || it->second != data) ++differing;
    }
    return ::testing::AssertionFailure()
           << "found " << found.size() << " entries, expected " << expected.size() << "; "
           << differing << " expected entries missing or different";
}

inline void expectClean(DataFile& file) {
    const CheckReport report = checkDataFile(file);
    EXPECT_TRUE(report.clean()) << report.text();
}

inline Bytes randomBytes(std::mt19937& rng, std::size_t length) {
    Bytes b(length);
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto& x : b)
        x = static_cast<std::uint8_t>(byte(rng));
    return b;
}

}  // namespace quillery::storage::testing
