// Helpers for the tests of the file layer: a declaration shaped like the catalogue's (1569-byte
// record, sixteen keys), a small declaration with unique and descending keys, scratch
// directories, and a look at a data file from outside.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/errors.h"
#include "storage/access_mode.h"
#include "storage/checker.h"
#include "storage/driver.h"
#include "storage/file_control_block.h"
#include "storage/file_statements.h"
#include "storage/posix_file.h"
#include "storage/table_definition_declaration.h"

namespace quillery::storage::testing {

namespace T = FieldType;

// A scratch directory removed with everything in it.
class ScratchDir {
  public:
    // Memory-backed when the system has it: commits flush three times each.
    ScratchDir() {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "quillery-files-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(std::string_view name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Offsets of the catalogue-shaped record.
namespace Book {
inline constexpr std::size_t kLength = 1569;
inline constexpr std::size_t DELETED = 0, ISBN = 1, CONDITION = 14, LOCATION = 29, BUYDATE = 47,
                             EDITION = 62, PRINTDATE = 77, VALUE = 92, OTHER = 107, PUBDATE = 127,
                             RATING = 142, CREATEDDATE = 143, CREATEDTIME = 147, CHANGEDDATE = 151,
                             CHANGEDTIME = 155, NAMEKEY = 159, TITLEKEY = 209, LASTNAME = 259,
                             FIRSTNAME = 279, TITLE = 299, LISTBYTITLE = 344, PHONES = 345,
                             CATEGORY = 545, CONTENTS = 569;
}  // namespace Book

inline constexpr std::array<FieldDeclaration, 26> kBookFields{{
    {T::kUnsignedByte, 1, "BK:DELETED"},
    {T::kFixedString, 13, "BK:ISBN"},
    {T::kFixedString, 15, "BK:CONDITION"},
    {T::kFixedString, 18, "BK:LOCATION"},
    {T::kFixedString, 15, "BK:BUYDATE"},
    {T::kFixedString, 15, "BK:EDITION"},
    {T::kFixedString, 15, "BK:PRINTDATE"},
    {T::kFixedString, 15, "BK:VALUE"},
    {T::kFixedString, 20, "BK:OTHER"},
    {T::kFixedString, 15, "BK:PUBDATE"},
    {T::kFixedString, 1, "BK:RATING"},
    {T::kGroup, 8, "BK:CREATED"},
    {T::kSigned32, 4, "BK:CREATEDDATE"},
    {T::kSigned32, 4, "BK:CREATEDTIME"},
    {T::kGroup, 8, "BK:CHANGED"},
    {T::kSigned32, 4, "BK:CHANGEDDATE"},
    {T::kSigned32, 4, "BK:CHANGEDTIME"},
    {T::kFixedString, 50, "BK:NAMEKEY"},
    {T::kFixedString, 50, "BK:TITLEKEY"},
    {T::kFixedString, 20, "BK:LASTNAME"},
    {T::kFixedString, 20, "BK:FIRSTNAME"},
    {T::kFixedString, 45, "BK:TITLE"},
    {T::kUnsignedByte, 1, "BK:LISTBYTITLE"},
    {T::kFixedString, 200, "BK:PHONES"},
    {T::kFixedString, 24, "BK:CATEGORY"},
    {T::kFixedString, 1000, "BK:CONTENTS"},
}};

inline constexpr std::int16_t kCreatedKey[] = {13, 14, 1};
inline constexpr std::int16_t kDeleteKey[] = {1};
inline constexpr std::int16_t kTitleKey[] = {22};
inline constexpr std::int16_t kAuthorKey[] = {20};
inline constexpr std::int16_t kPubDateKey[] = {10};
inline constexpr std::int16_t kCategoryKey[] = {25};
inline constexpr std::int16_t kRatingKey[] = {11};
inline constexpr std::int16_t kOtherKey[] = {9};
inline constexpr std::int16_t kIsbnKey[] = {2};
inline constexpr std::int16_t kConditionKey[] = {3};
inline constexpr std::int16_t kLocationKey[] = {4};
inline constexpr std::int16_t kBuyDateKey[] = {5};
inline constexpr std::int16_t kEditionKey[] = {6};
inline constexpr std::int16_t kPrintDateKey[] = {7};
inline constexpr std::int16_t kValueKey[] = {8};
inline constexpr std::uint16_t kDup = KeyAttribute::kDuplicates;
inline constexpr std::uint16_t kDupOptNoCase =
    KeyAttribute::kDuplicates | KeyAttribute::kOptional | KeyAttribute::kCaseInsensitive;

inline constexpr std::array<KeyDeclaration, 16> kBookKeys{{
    {"BK:CREATEDKEY", kDup, kCreatedKey},
    {"BK:DELETEKEY", kDupOptNoCase, kDeleteKey},
    {"BK:TITLEKEYKEY", kDupOptNoCase, kTitleKey},
    {"BK:AUTHORKEY", kDupOptNoCase, kAuthorKey},
    {"BK:DATEKEY", kDupOptNoCase, kPubDateKey},
    {"BK:CATEGORYKEY", kDupOptNoCase, kCategoryKey},
    {"BK:RATINGKEY", kDupOptNoCase, kRatingKey},
    {"BK:OTHERKEY", kDupOptNoCase, kOtherKey},
    {"BK:ISBNKEY", kDupOptNoCase, kIsbnKey},
    {"BK:PUBDATEKEY", kDupOptNoCase, kPubDateKey},
    {"BK:CONDITIONKEY", kDupOptNoCase, kConditionKey},
    {"BK:LOCATIONKEY", kDupOptNoCase, kLocationKey},
    {"BK:BUYDATEKEY", kDupOptNoCase, kBuyDateKey},
    {"BK:EDITIONKEY", kDupOptNoCase, kEditionKey},
    {"BK:PRINTDATEKEY", kDupOptNoCase, kPrintDateKey},
    {"BK:VALUEKEY", kDupOptNoCase, kValueKey},
}};

// A small record: a unique code, a descending signed count, a name, and an index (0x4000).
//   0 CODE   string 6    key 0 unique
//   6 COUNT  signed 32   key 1 duplicates, descending
//  10 NAME   string 10   key 2 duplicates, optional, case-insensitive; key 3 index on NAME
namespace Small {
inline constexpr std::size_t kLength = 20;
inline constexpr std::size_t CODE = 0, COUNT = 6, NAME = 10;
}  // namespace Small
inline constexpr std::array<FieldDeclaration, 3> kSmallFields{{
    {T::kFixedString, 6, "SM:CODE"},
    {T::kSigned32, 4, "SM:COUNT"},
    {T::kFixedString, 10, "SM:NAME"},
}};
inline constexpr std::int16_t kCodeKey[] = {1};
inline constexpr std::int16_t kCountKey[] = {-2};
inline constexpr std::int16_t kNameKey[] = {3};
inline constexpr std::array<KeyDeclaration, 4> kSmallKeys{{
    {"SM:CODEKEY", 0, kCodeKey},
    {"SM:COUNTKEY", kDup, kCountKey},
    {"SM:NAMEKEY", kDupOptNoCase, kNameKey},
    {"SM:NAMEINDEX", KeyAttribute::kDuplicates | KeyAttribute::kIndex, kNameKey},
}};

// A file declaration with its own name variable and record buffer, and the driver state that
// serves it. Forgotten (and closed) when it goes.
class DeclaredFile {
  public:
    DeclaredFile(std::span<const FieldDeclaration> fields, std::span<const KeyDeclaration> keys,
                 std::size_t recordLength, bool create = true)
        : buffer_(recordLength, 0) {
        name_.fill(' ');
        declaration_.label = "TESTFILE";
        declaration_.prefix = "TF";
        declaration_.driver = "VELTRANE";
        declaration_.nameVariable = name_;
        declaration_.recordBuffer = buffer_.data();
        declaration_.recordLength = static_cast<std::uint32_t>(recordLength);
        declaration_.fields = fields;
        declaration_.keys = keys;
        declaration_.create = create;
    }
    // A test that left the file unable to close has said so in its own checks.
    ~DeclaredFile() { (void)releaseControlBlock(declaration_); }
    DeclaredFile(const DeclaredFile&) = delete;
    DeclaredFile& operator=(const DeclaredFile&) = delete;

    const TableDeclaration& operator*() const { return declaration_; }
    TableDeclaration& declaration() { return declaration_; }
    FileControlBlock& block() { return controlBlockOf(declaration_); }
    std::vector<std::uint8_t>& buffer() { return buffer_; }

    void setName(std::string_view name) {
        name_.fill(' ');
        std::memcpy(name_.data(), name.data(), std::min(name.size(), name_.size()));
    }
    void setText(std::size_t offset, std::size_t width, std::string_view text) {
        std::memset(buffer_.data() + offset, ' ', width);
        std::memcpy(buffer_.data() + offset, text.data(), std::min(width, text.size()));
    }
    std::string text(std::size_t offset, std::size_t width) const {
        std::string s(reinterpret_cast<const char*>(buffer_.data() + offset), width);
        s.erase(s.find_last_not_of(' ') + 1);
        return s;
    }
    void setInt32(std::size_t offset, std::int32_t v) { std::memcpy(&buffer_[offset], &v, 4); }
    std::int32_t int32(std::size_t offset) const {
        std::int32_t v;
        std::memcpy(&v, &buffer_[offset], 4);
        return v;
    }

    // Calls the entry point directly.
    int call(int operation, std::int64_t number = 0, std::size_t key = 0) {
        DriverCall c;
        c.operation = operation;
        c.file = &block();
        c.number = number;
        c.key = key;
        const int code = VELTRANE(c);
        lastAnswer = c.answer;
        lastReply = c.reply;
        return code;
    }
    std::int64_t lastAnswer = 0;
    std::string lastReply;

  private:
    std::array<char, 100> name_{};
    std::vector<std::uint8_t> buffer_;
    TableDeclaration declaration_{};
};

// The access modes the tests open with: read or read/write, and what others may do meanwhile.
inline constexpr int kReadWriteDenyWrite = AccessMode::kReadWrite | AccessMode::kDenyWrite;
inline constexpr int kReadWriteDenyNone = AccessMode::kReadWrite | AccessMode::kDenyNone;
inline constexpr int kReadWriteDenyAll = AccessMode::kReadWrite | AccessMode::kDenyAll;
inline constexpr int kReadWriteCompatible = AccessMode::kReadWrite | AccessMode::kCompatibility;
inline constexpr int kReadOnlyDenyWrite = AccessMode::kDenyWrite;
inline constexpr int kReadOnlyDenyNone = AccessMode::kDenyNone;

inline void createAndOpen(DeclaredFile& file, const std::string& path,
                          int mode = kReadWriteDenyWrite) {
    file.setName(path);
    ASSERT_EQ(file.call(Operation::kCreate), 0) << lastDriverDetail();
    ASSERT_EQ(file.call(Operation::kOpen, mode), 0) << lastDriverDetail();
}

// The structural check of a file on disk, opened apart from any open of the tests.
inline CheckReport checkFileOnDisk(const std::string& path) {
    std::unique_ptr<File> file;
    EXPECT_TRUE(PosixFile::open(path, PosixOpenMode::kReadOnly, file).ok());
    DataFileOptions options;
    options.exclusive = false;
    std::unique_ptr<DataFile> data;
    const Status s = DataFile::open(std::move(file), options, data);
    EXPECT_TRUE(s.ok()) << s.message();
    if (!s.ok()) return CheckReport{{"cannot open"}};
    return checkDataFile(*data);
}

}  // namespace quillery::storage::testing
