// Catalogue files spoilt on purpose: their bytes read and written whole, and a page of their
// tree found and damaged, for the tests of what meets damage.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "storage/data_file.h"
#include "storage/posix_file.h"

namespace quillery::testing {

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The root page of a file's tree and the pages right below it.
struct TreeTop {
    std::int64_t root = -1;
    std::vector<std::int64_t> children;
};

inline TreeTop treeTopOf(const std::string& file) {
    std::unique_ptr<storage::File> raw;
    EXPECT_TRUE(storage::PosixFile::open(file, storage::PosixOpenMode::kReadOnly, raw).ok());
    storage::DataFileOptions options;
    options.exclusive = false;
    std::unique_ptr<storage::DataFile> data;
    EXPECT_TRUE(storage::DataFile::open(std::move(raw), options, data).ok());
    TreeTop top;
    top.root = data->root();
    const storage::CachedPage& root = data->page(top.root);
    top.children.assign(root.content.children.begin(), root.content.children.end());
    return top;
}

// Spoils `page` in the file's `bytes` where every read of it looks first: its own offset field.
inline void spoilPage(std::string& bytes, std::int64_t page) {
    const std::size_t at = static_cast<std::size_t>(storage::pageOffset(page));
    for (std::size_t i = at; i < at + 4; ++i)
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
}

}  // namespace quillery::testing
