// Keys and data of the entry kinds, and the issued-number counter.
#include "storage/entry_kinds.h"

#include <algorithm>

namespace quillery::storage {
namespace {

void appendBe32(Bytes& out, std::uint32_t v) {
    std::uint8_t b[4];
    storeBe32(b, v);
    out.insert(out.end(), b, b + 4);
}

void appendLe32(Bytes& out, std::uint32_t v) {
    std::uint8_t b[4];
    storeLe32(b, v);
    out.insert(out.end(), b, b + 4);
}

Bytes tableKind(TableNumber table, std::uint8_t kind) {
    Bytes key;
    appendBe32(key, table);
    key.push_back(kind);
    return key;
}

}  // namespace

bool incrementIssuedNumber(std::array<std::uint8_t, 4>& number) {
    std::array<std::uint8_t, 4> next = number;
    for (int i = 3; i >= 0; --i)
        if (++next[i] != 0) break;  // carry towards the first byte
    if (loadBe32(next.data()) > kLargestIssuedNumber || loadBe32(next.data()) == 0) return false;
    number = next;
    return true;
}

std::array<std::uint8_t, 5> kindPrefix(TableNumber table, std::uint8_t kind) {
    std::array<std::uint8_t, 5> p{};
    storeBe32(p.data(), table);
    p[4] = kind;
    return p;
}

Bytes recordKey(TableNumber table, RecordNumber record) {
    Bytes key = tableKind(table, EntryKind::kRecord);
    appendBe32(key, record);
    return key;
}

Bytes metadataKey(TableNumber table, std::uint8_t subject) {
    Bytes key = tableKind(table, EntryKind::kMetadata);
    key.push_back(subject);
    return key;
}

Bytes definitionBlockKey(TableNumber table, std::uint16_t block) {
    Bytes key = tableKind(table, EntryKind::kDefinitionBlock);
    key.push_back(static_cast<std::uint8_t>(block));
    key.push_back(static_cast<std::uint8_t>(block >> 8));
    return key;
}

Bytes memoSegmentKey(TableNumber table, RecordNumber record, std::uint8_t memo,
                     std::uint16_t segment) {
    Bytes key = tableKind(table, EntryKind::kMemoSegment);
    appendBe32(key, record);
    key.push_back(memo);
    key.push_back(static_cast<std::uint8_t>(segment >> 8));
    key.push_back(static_cast<std::uint8_t>(segment));
    return key;
}

Bytes tableNameKey(std::string_view name) {
    Bytes key(1 + name.size());
    key[0] = EntryKind::kTableName;
    std::copy(name.begin(), name.end(), key.begin() + 1);
    return key;
}

Bytes pendingLinkKey() {
    return Bytes{EntryKind::kPendingLink};
}

Bytes transactionKey(std::uint32_t transaction) {
    Bytes key;
    appendBe32(key, transaction);
    return key;
}

Bytes encodeMetadata(const Metadata& m) {
    Bytes data;
    appendLe32(data, m.count);
    appendLe32(data, m.buildMark);
    return data;
}

bool decodeMetadata(ByteView data, Metadata& out) {
    if (data.size() != 8) return false;
    out.count = loadLe32(&data[0]);
    out.buildMark = loadLe32(&data[4]);
    return true;
}

Bytes encodePendingLink(const PendingLink& link) {
    Bytes data;
    appendLe32(data, link.transaction);
    data.insert(data.end(), link.controlFile.begin(), link.controlFile.end());
    data.push_back(0);
    return data;
}

bool decodePendingLink(ByteView data, PendingLink& out) {
    if (data.size() < 5) return false;
    const auto end = std::find(data.begin() + 4, data.end(), std::uint8_t{0});
    if (end == data.end()) return false;
    out.transaction = loadLe32(&data[0]);
    out.controlFile.assign(data.begin() + 4, end);
    return true;
}

std::vector<Bytes> splitMemo(ByteView value, bool blob) {
    Bytes content;
    if (blob) {
        appendLe32(content, static_cast<std::uint32_t>(value.size()));
        content.insert(content.end(), value.begin(), value.end());
    } else {
        std::size_t length = value.size();
        while (length > 0 && value[length - 1] == ' ')
            --length;
        content.assign(value.begin(), value.begin() + static_cast<std::ptrdiff_t>(length));
    }
    std::vector<Bytes> segments;
    for (std::size_t at = 0; at < content.size(); at += kMemoSegmentSize) {
        const std::size_t n = std::min(kMemoSegmentSize, content.size() - at);
        segments.emplace_back(content.begin() + static_cast<std::ptrdiff_t>(at),
                              content.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    return segments;
}

bool joinMemo(const std::vector<Bytes>& segments, bool blob, Bytes& out) {
    out.clear();
    for (const Bytes& s : segments)
        out.insert(out.end(), s.begin(), s.end());
    if (!blob) return true;
    if (out.empty()) return true;
    if (out.size() < 4) return false;
    const std::uint32_t length = loadLe32(out.data());
    if (length > out.size() - 4) return false;
    out.erase(out.begin(), out.begin() + 4);
    out.resize(length);
    return true;
}

std::vector<Bytes> splitDefinition(ByteView stream) {
    std::vector<Bytes> blocks;
    for (std::size_t at = 0; at < stream.size(); at += kDefinitionBlockSize) {
        const std::size_t n = std::min(kDefinitionBlockSize, stream.size() - at);
        blocks.emplace_back(stream.begin() + static_cast<std::ptrdiff_t>(at),
                            stream.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    return blocks;
}

}  // namespace quillery::storage
