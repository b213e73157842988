// Key values encoded so that a plain unsigned byte comparison sorts them in value order, and the
// key entries the tree stores for a record. Pure functions over a record image and a key layout.
//
// Key entry (key bytes, then data):
//   offset 0   4 bytes  table number, big-endian
//   offset 4   1 byte   key number (position in the table's key list, from 0)
//   offset 5   n bytes  encoded key value: the components' encodings, no separators
//   offset 5+n 4 bytes  record number, big-endian (only keys that allow duplicates)
//   data       4 bytes  record number, big-endian
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "runtime/char_tables.h"
#include "storage/byte_order.h"
#include "storage/entry_kinds.h"

namespace quillery::storage {

// Field type codes of field descriptions. Types without a code here key by their raw bytes.
namespace FieldType {
inline constexpr std::uint8_t kUnsignedByte = 0x01;
inline constexpr std::uint8_t kSigned16 = 0x02;
inline constexpr std::uint8_t kUnsigned16 = 0x03;
inline constexpr std::uint8_t kSigned32 = 0x06;
inline constexpr std::uint8_t kUnsigned32 = 0x07;
inline constexpr std::uint8_t kFloat32 = 0x08;
inline constexpr std::uint8_t kFloat64 = 0x09;
inline constexpr std::uint8_t kPackedDecimal = 0x0A;
// A second decimal type: described with digits and places like 0x0A, keyed by its raw bytes.
inline constexpr std::uint8_t kDecimal = 0x0B;
inline constexpr std::uint8_t kFixedString = 0x12;
inline constexpr std::uint8_t kZeroTerminatedString = 0x13;
inline constexpr std::uint8_t kLengthPrefixedString = 0x14;
inline constexpr std::uint8_t kGroup = 0x16;
}  // namespace FieldType

// Flags of a key description.
namespace KeyFlag {
inline constexpr std::uint8_t kDuplicates = 0x01;
inline constexpr std::uint8_t kOptional = 0x02;
inline constexpr std::uint8_t kCaseInsensitive = 0x04;
inline constexpr std::uint8_t kDeclared08 = 0x08;  // carried over, no meaning to the engine
inline constexpr std::uint8_t kDeclared10 = 0x10;  // carried over, ignored by the declaration check
inline constexpr std::uint8_t kIndex = 0x20;       // kept up to date only by builds
inline constexpr std::uint8_t kRuntimeIndex = 0x40;  // lives in a temporary page file
}  // namespace KeyFlag

// Kind bytes and lengths of key entries.
inline constexpr std::size_t kKeyPrefixLength = 5;  // table number and key number
inline constexpr std::size_t kRecordNumberLength = 4;

// One component of a key, resolved to where its field lies in the record.
struct KeySegment {
    std::uint8_t type = FieldType::kFixedString;
    std::uint16_t offset = 0;
    std::uint16_t size = 0;
    bool descending = false;
    // The table stores its text in code page 437: strings collate as their Windows-1252 forms.
    bool oemText = false;
};

// What the encoder needs of a key: its flags and its components in order.
struct KeyLayout {
    std::uint8_t flags = 0;
    std::vector<KeySegment> segments;

    bool allowsDuplicates() const { return (flags & KeyFlag::kDuplicates) != 0; }
    bool optional() const { return (flags & KeyFlag::kOptional) != 0; }
    bool caseInsensitive() const { return (flags & KeyFlag::kCaseInsensitive) != 0; }
    // Length of the encoded value: the sum of the components' sizes.
    std::size_t valueLength() const;
    // Length of the whole entry key: prefix, value and, with duplicates, the record number.
    std::size_t entryKeyLength() const;
    // Whether every component lies inside a record of `recordLength` bytes.
    bool fitsRecord(std::size_t recordLength) const;
};

// Marks every component of a key over a table whose text is stored in code page 437.
void useOemCollation(KeyLayout& layout);

// Encodes one component's field bytes into `out` (the same size as `field`).
void encodeKeySegment(const KeySegment& segment, bool caseInsensitive,
                      std::span<const std::uint8_t> field, std::span<std::uint8_t> out,
                      const CharTables& tables);

// Whether a field counts as empty for an optional key: a fixed string or a group all spaces,
// a zero-terminated or length-prefixed string starting with a zero byte, anything else all
// zero bytes.
bool isEmptyKeyField(std::uint8_t type, std::span<const std::uint8_t> field);

// Whether `record` gets no entry in the key: the key is optional and every component is empty.
// False when a component lies outside `record`.
bool hasNoKeyEntry(const KeyLayout& layout, std::span<const std::uint8_t> record);

// Appends the encoded value of every component to `out`. False (and `out` unchanged) when a
// component lies outside `record`.
[[nodiscard]] bool encodeKeyValue(const KeyLayout& layout, std::span<const std::uint8_t> record,
                                  std::vector<std::uint8_t>& out,
                                  const CharTables& tables = charTables());

struct KeyEntry {
    std::vector<std::uint8_t> key;
    std::array<std::uint8_t, kRecordNumberLength> data{};
};

enum class KeyEntryResult {
    kBuilt,           // the entry is in the output
    kNoEntry,         // optional key, every component empty: the record has no entry
    kRecordTooShort,  // a component lies outside the record image
};

// Builds the entry of `record` (numbered `recordNumber`) in key `keyNumber`.
[[nodiscard]] KeyEntryResult buildKeyEntry(std::uint32_t tableNumber, std::uint8_t keyNumber,
                                           const KeyLayout& layout,
                                           std::span<const std::uint8_t> record,
                                           std::uint32_t recordNumber, KeyEntry& out,
                                           const CharTables& tables = charTables());

// Where a search by value starts among equal values of a key that allows duplicates.
enum class EqualValues { kFromStart, kFromEnd };

// The key to search for `record`'s value: prefix and value and, for keys that allow
// duplicates, record number 0 (from the start of equal values) or 0xFFFFFFFF (from their end).
// Built even when an optional key's components are all empty. False when a component lies
// outside the record image.
[[nodiscard]] bool buildKeySearchKey(std::uint32_t tableNumber, std::uint8_t keyNumber,
                                     const KeyLayout& layout, std::span<const std::uint8_t> record,
                                     EqualValues from, std::vector<std::uint8_t>& out,
                                     const CharTables& tables = charTables());

// Compares two keys as the tree does: unsigned bytes over the shorter length, then the shorter
// first. Returns <0, 0 or >0.
int compareKeys(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b);

}  // namespace quillery::storage
