// A program's file declaration as static data, and the table definition the data file keeps
// for it. The file layer reads the declaration at open and create.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "storage/table_definition.h"

namespace quillery::storage {

// Attribute bits of a declared key.
namespace KeyAttribute {
inline constexpr std::uint16_t kDuplicates = 0x0001;
inline constexpr std::uint16_t kOptional = 0x0002;
inline constexpr std::uint16_t kCaseInsensitive = 0x0004;
inline constexpr std::uint16_t kDeclared08 = 0x0008;
inline constexpr std::uint16_t kDeclared10 = 0x0010;
inline constexpr std::uint16_t kIndex = 0x4000;
}  // namespace KeyAttribute

// Limits a declaration must keep to.
inline constexpr std::uint32_t kMaxRecordLength = 0x3B00;
inline constexpr std::size_t kMaxKeys = 240;
inline constexpr std::size_t kMaxMemos = 255;

// One entry of the field list. A group (type 0x16) is followed by its members, which fill
// its width; it takes no room of its own.
struct FieldDeclaration {
    std::uint8_t type = 0;
    std::uint16_t width = 0;  // bytes, all elements together
    std::string_view name;
    std::uint16_t elements = 1;
    std::uint8_t digits = 0;  // decimal types
    std::uint8_t places = 0;  // decimal types
    std::array<std::uint16_t, 2> carried{};
    std::uint16_t textNumber = 0;            // string types
    std::optional<std::string_view> text{};  // string types; none is the null string
};

struct MemoDeclaration {
    std::string_view name;
    std::optional<std::string_view> secondName{};
    std::uint16_t size = 0;
    std::uint16_t flags = 0;
};

struct KeyDeclaration {
    std::string_view name;
    std::uint16_t attributes = 0;
    // Field numbers counted from 1 over the field list, groups included; a negative number
    // is a descending component on the field numbered by its absolute value.
    std::span<const std::int16_t> components;
    std::optional<std::string_view> secondName{};
};

struct TableDeclaration {
    std::string_view label;
    std::string_view prefix;
    std::string_view driver;
    // The variable naming the file on disk; its clipped text is the path.
    std::span<char> nameVariable;
    // The program's record buffer of `recordLength` bytes.
    void* recordBuffer = nullptr;
    std::uint32_t recordLength = 0;
    std::span<const FieldDeclaration> fields;
    std::span<const MemoDeclaration> memos;
    std::span<const KeyDeclaration> keys;
    std::string_view owner;  // empty: no owner password
    bool encrypted = false;
    bool create = false;  // the file may be created when missing
    // The table's text is stored in code page 437 and converted to and from the buffer's
    // Windows-1252 on every read and write; its string keys collate accordingly.
    bool oem = false;
};

// The key flags stored for declared attributes and a component count.
std::uint8_t keyFlagsOf(std::uint16_t attributes, std::size_t componentCount);

// The definition the data file keeps for `declaration`, offsets laid out from the field list.
// Error 47 for a declaration over a limit or one whose fields, groups or key components do
// not fit together; error 75 for a key component on a field of more than one element.
Status definitionOf(const TableDeclaration& declaration, TableDefinition& out);

}  // namespace quillery::storage
