// A table's definition as the data file stores it: the field, memo and key descriptions, their
// byte stream, the 512-byte definition blocks it is cut into, and the way back from untrusted
// stored bytes.
//
// Definition stream (u16 little-endian; a string is its bytes and a zero byte, an empty string
// 00 00, a null string 00 01):
//   version u16 (2 with a blob memo, else 1), record length u16, field count u16,
//   memo count u16, key count u16,
//   per field: type u8, offset u16, name, element count u16, size u16, two carried u16,
//              types 0x0A/0x0B: digits u8, places u8;
//              types 0x12/0x13/0x14: carried u16, carried string
//   per memo:  name, second name, size u16, flags u16
//   per key:   name, second name, flags u8, component count u16,
//              per component: field index u16 (from 0), flags u16 (low byte nonzero: descending)
//
// The stream is stored as definition blocks of 512 bytes (the last may be shorter), block 0
// first; entry_kinds.h cuts it and forms the blocks' keys.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "storage/entry_kinds.h"
#include "storage/key_encoding.h"
#include "storage/status.h"

namespace quillery::storage {

// A string of the definition stream; no value is the null string. Texts stop at a zero byte.
using DefinitionString = std::optional<std::string>;

struct FieldDescription {
    std::uint8_t type = 0;
    std::uint16_t offset = 0;
    DefinitionString name = std::string();
    std::uint16_t elements = 1;
    std::uint16_t size = 0;
    std::array<std::uint16_t, 2> carried{};  // carried over from the declaration
    std::uint8_t digits = 0;                 // decimal types only
    std::uint8_t places = 0;                 // decimal types only
    std::uint16_t textNumber = 0;            // string types only, carried over
    DefinitionString text{};                 // string types only, carried over

    friend bool operator==(const FieldDescription&, const FieldDescription&) = default;
};

namespace MemoFlag {
inline constexpr std::uint16_t kBinary = 0x02;  // no character-set conversion
inline constexpr std::uint16_t kBlob = 0x04;    // length-prefixed
}  // namespace MemoFlag

struct MemoDescription {
    DefinitionString name = std::string();
    DefinitionString secondName{};
    std::uint16_t size = 0;
    std::uint16_t flags = 0;

    friend bool operator==(const MemoDescription&, const MemoDescription&) = default;
};

inline constexpr std::uint16_t kDescendingComponent = 0x0001;

struct KeyComponent {
    std::uint16_t field = 0;  // index in the field list, from 0
    std::uint16_t flags = 0;

    bool descending() const { return (flags & 0xFF) != 0; }
    friend bool operator==(const KeyComponent&, const KeyComponent&) = default;
};

struct KeyDescription {
    DefinitionString name = std::string();
    DefinitionString secondName{};
    std::uint8_t flags = 0;
    std::vector<KeyComponent> components;

    friend bool operator==(const KeyDescription&, const KeyDescription&) = default;
};

struct TableDefinition {
    std::uint16_t version = 1;
    std::uint16_t recordLength = 0;
    std::vector<FieldDescription> fields;
    std::vector<MemoDescription> memos;
    std::vector<KeyDescription> keys;

    friend bool operator==(const TableDefinition&, const TableDefinition&) = default;
};

// The version a table with these memos is stored under.
std::uint16_t definitionVersion(std::span<const MemoDescription> memos);

// Whether a field type carries digits and places, or a carried number and string.
bool hasDecimalItems(std::uint8_t type);
bool hasTextItems(std::uint8_t type);

std::vector<std::uint8_t> encodeDefinition(const TableDefinition& definition);

// Reads a definition stream. The bytes come from a file: anything short, malformed or left
// over gives error 36 (Invalid Data File) and may leave `out` partly filled.
Status parseDefinition(std::span<const std::uint8_t> stream, TableDefinition& out);

// Joins stored blocks, read in block order, back into the stream: every block but the last
// must hold 512 bytes and none may be empty (error 36 otherwise).
Status joinDefinitionBlocks(std::span<const std::vector<std::uint8_t>> blocks,
                            std::vector<std::uint8_t>& stream);

// The encoder's view of key `keyIndex`. False when a component names no field of the list,
// or a field that does not lie inside the record.
[[nodiscard]] bool keyLayoutOf(const TableDefinition& definition, std::size_t keyIndex,
                               KeyLayout& out);

}  // namespace quillery::storage
