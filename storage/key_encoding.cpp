// Key value encoding by field type, and key entries built from record images.
#include "storage/key_encoding.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "runtime/codepage.h"

namespace quillery::storage {

namespace {

constexpr std::uint8_t kSpace = 0x20;

void complement(std::span<std::uint8_t> bytes) {
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(0xFF - b);
}

// Little-endian field bytes reversed, so the most significant byte comes first.
void copyReversed(std::span<const std::uint8_t> field, std::span<std::uint8_t> out) {
    std::reverse_copy(field.begin(), field.end(), out.begin());
}

bool isStringType(std::uint8_t type) {
    return type == FieldType::kFixedString || type == FieldType::kZeroTerminatedString ||
           type == FieldType::kLengthPrefixedString;
}

// Brings string bytes to the fixed-string form: the text left-justified in the width.
void copyStringText(std::uint8_t type, std::span<const std::uint8_t> field,
                    std::span<std::uint8_t> out) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    if (field.empty()) return;
    if (type == FieldType::kZeroTerminatedString) {
        // The terminator and everything after it become zero bytes.
        const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
        std::copy(field.begin(), end, out.begin());
    } else if (type == FieldType::kLengthPrefixedString) {
        // The length byte comes from the record and may claim more than the field holds.
        const std::size_t n = std::min<std::size_t>(field[0], field.size() - 1);
        std::copy_n(field.begin() + 1, n, out.begin());
    } else {
        std::copy(field.begin(), field.end(), out.begin());
    }
}

void collate(std::span<std::uint8_t> bytes, bool caseInsensitive, const CharTables& tables,
             bool oemText) {
    for (auto& b : bytes) {
        if (oemText) b = cp437ToCp1252(b);
        if (caseInsensitive) b = tables.upper[b];
        b = tables.collation[b];
    }
}

}  // namespace

void useOemCollation(KeyLayout& layout) {
    for (auto& s : layout.segments)
        s.oemText = true;
}

std::size_t KeyLayout::valueLength() const {
    std::size_t length = 0;
    for (const auto& s : segments)
        length += s.size;
    return length;
}

std::size_t KeyLayout::entryKeyLength() const {
    return kKeyPrefixLength + valueLength() + (allowsDuplicates() ? kRecordNumberLength : 0);
}

bool KeyLayout::fitsRecord(std::size_t recordLength) const {
    return std::all_of(segments.begin(), segments.end(), [&](const KeySegment& s) {
        return std::size_t{s.offset} + s.size <= recordLength;
    });
}

void encodeKeySegment(const KeySegment& segment, bool caseInsensitive,
                      std::span<const std::uint8_t> field, std::span<std::uint8_t> out,
                      const CharTables& tables) {
    bool complemented = segment.descending;
    switch (segment.type) {
        case FieldType::kSigned16:
        case FieldType::kSigned32:
            copyReversed(field, out);
            if (!out.empty()) out[0] ^= 0x80;
            break;
        case FieldType::kUnsigned16:
        case FieldType::kUnsigned32:
            copyReversed(field, out);
            break;
        case FieldType::kFloat32:
        case FieldType::kFloat64:
            copyReversed(field, out);
            if (!out.empty()) {
                // Negative values run the wrong way in their magnitude bits: complementing
                // them (or not, in a descending component) puts them below the positives.
                if (out[0] & 0x80) {
                    complemented = !complemented;
                } else {
                    out[0] |= 0x80;
                }
            }
            break;
        case FieldType::kPackedDecimal:
            std::copy(field.begin(), field.end(), out.begin());
            if (!out.empty()) {
                if (out[0] & 0xF0) {
                    out[0] &= 0x0F;
                    complemented = !complemented;
                }
                out[0] ^= 0x80;
            }
            break;
        default:
            if (isStringType(segment.type)) {
                copyStringText(segment.type, field, out);
                collate(out, caseInsensitive, tables, segment.oemText);
            } else {
                std::copy(field.begin(), field.end(), out.begin());
            }
            break;
    }
    if (complemented) complement(out);
}

bool isEmptyKeyField(std::uint8_t type, std::span<const std::uint8_t> field) {
    switch (type) {
        case FieldType::kFixedString:
        case FieldType::kGroup:
            return std::all_of(field.begin(), field.end(),
                               [](std::uint8_t b) { return b == kSpace; });
        case FieldType::kZeroTerminatedString:
        case FieldType::kLengthPrefixedString:
            return field.empty() || field[0] == 0;
        default:
            return std::all_of(field.begin(), field.end(), [](std::uint8_t b) { return b == 0; });
    }
}

bool hasNoKeyEntry(const KeyLayout& layout, std::span<const std::uint8_t> record) {
    if (!layout.optional() || !layout.fitsRecord(record.size())) return false;
    return std::all_of(layout.segments.begin(), layout.segments.end(), [&](const KeySegment& s) {
        return isEmptyKeyField(s.type, record.subspan(s.offset, s.size));
    });
}

bool encodeKeyValue(const KeyLayout& layout, std::span<const std::uint8_t> record,
                    std::vector<std::uint8_t>& out, const CharTables& tables) {
    if (!layout.fitsRecord(record.size())) return false;
    const std::size_t start = out.size();
    out.resize(start + layout.valueLength());
    std::size_t at = start;
    for (const auto& s : layout.segments) {
        encodeKeySegment(s, layout.caseInsensitive(), record.subspan(s.offset, s.size),
                         std::span<std::uint8_t>(out).subspan(at, s.size), tables);
        at += s.size;
    }
    return true;
}

namespace {

bool buildKey(std::uint32_t tableNumber, std::uint8_t keyNumber, const KeyLayout& layout,
              std::span<const std::uint8_t> record, std::uint32_t recordNumber,
              std::vector<std::uint8_t>& out, const CharTables& tables) {
    std::vector<std::uint8_t> key;
    key.reserve(layout.entryKeyLength());
    const auto prefix = kindPrefix(tableNumber, keyNumber);
    key.insert(key.end(), prefix.begin(), prefix.end());
    if (!encodeKeyValue(layout, record, key, tables)) return false;
    if (layout.allowsDuplicates()) {
        key.resize(key.size() + kRecordNumberLength);
        storeBe32(key.data() + key.size() - kRecordNumberLength, recordNumber);
    }
    out = std::move(key);
    return true;
}

}  // namespace

KeyEntryResult buildKeyEntry(std::uint32_t tableNumber, std::uint8_t keyNumber,
                             const KeyLayout& layout, std::span<const std::uint8_t> record,
                             std::uint32_t recordNumber, KeyEntry& out, const CharTables& tables) {
    if (!layout.fitsRecord(record.size())) return KeyEntryResult::kRecordTooShort;
    if (hasNoKeyEntry(layout, record)) return KeyEntryResult::kNoEntry;
    if (!buildKey(tableNumber, keyNumber, layout, record, recordNumber, out.key, tables)) {
        return KeyEntryResult::kRecordTooShort;
    }
    storeBe32(out.data.data(), recordNumber);
    return KeyEntryResult::kBuilt;
}

bool buildKeySearchKey(std::uint32_t tableNumber, std::uint8_t keyNumber, const KeyLayout& layout,
                       std::span<const std::uint8_t> record, EqualValues from,
                       std::vector<std::uint8_t>& out, const CharTables& tables) {
    const std::uint32_t recordNumber = from == EqualValues::kFromStart ? 0 : 0xFFFFFFFFu;
    return buildKey(tableNumber, keyNumber, layout, record, recordNumber, out, tables);
}

int compareKeys(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    const std::size_t common = std::min(a.size(), b.size());
    if (common > 0) {
        const int c = std::memcmp(a.data(), b.data(), common);
        if (c != 0) return c < 0 ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace quillery::storage
